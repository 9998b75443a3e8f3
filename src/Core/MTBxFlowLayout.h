#ifndef MINITOOLBARS_MTBXFLOWLAYOUT_H
#define MINITOOLBARS_MTBXFLOWLAYOUT_H

#include "Core/MTBxGrip.h"
#include "Core/MTBxView.h"
#include "Core/Rect.h"

namespace MiniToolbars {

// Places a toolbar's items in rows behind a grip and implements the pointer
// protocol on their views.
class MTBxFlowLayout : public MTBxView
{
public:
    MTBxFlowLayout(MiniToolbar* toolbar, ControllerObserver* observer);
    ~MTBxFlowLayout() override;

    MiniToolbar* toolbar() const override;
    ItemView* mouseMove(float x, float y) override;
    ItemView* mousePress(float x, float y) override;
    ItemView* mouseRelease(float x, float y, bool moved, int buttons) override;
    void mouseWheel(float x, float y, int delta) override;
    void keyDown(unsigned long wParam, long lParam) override;
    void keyUp(unsigned long wParam, long lParam) override;
    void draw(MTBxRender* renderer, bool flag) override;
    void rebuild(bool force) override;
    void notifyFaded() override;
    void getBounds(float& top, float& left, float& bottom, float& right) const override;
    void getNoFadeBounds(float& top, float& left, float& bottom, float& right) const override;
    void arrange(bool force) override;

    const Rect& bounds() const { return m_bounds; }
    const Rect& noFadeBounds() const { return m_noFadeBounds; }
    ItemView* gripView() const override { return m_gripView.get(); }

private:
    std::unique_ptr<std::vector<ItemView*>> m_pendingItemViews;
    Rect m_bounds;
    Rect m_noFadeBounds;
    std::unique_ptr<ItemView> m_gripView;
    MTBxGrip m_grip;
};

} // namespace MiniToolbars

#endif
