#ifndef MINITOOLBARS_ITEMVIEW_H
#define MINITOOLBARS_ITEMVIEW_H

#include "Core/ItemPart.h"
#include "Core/Rect.h"
#include "MiniToolbars/MiniToolbarsGlobal.h"
#include "MiniToolbars/MTBxString.h"

#include <memory>
#include <vector>

namespace MiniToolbars {

class MTBxImage;
class MTBxItem;
class MTBxRender;
class Style;
class Text;
class ToolbarWindow;

enum ItemViewState {
    Normal = 0,
    Disabled = 1,
    Pressed = 2
};

// The on-screen counterpart of one item while its toolbar is shown: measured
// parts, a rectangle in layout space, hover and press state.
class ItemView
{
public:
    // index < 0 makes the grip view.
    ItemView(int index, MTBxItem* item, ToolbarWindow* window, MTBxItem* previousItem,
             MTBxItem* nextItem);
    virtual ~ItemView();
    ItemView(const ItemView&) = delete;
    ItemView& operator=(const ItemView&) = delete;

    // Rebuilds parts and size when dirty.
    void measure();
    void moveTo(float x, float y);
    void draw(MTBxRender* renderer);
    // Edges inclusive; onSubArea is only written on a hit when a sub-area exists.
    bool hitTest(float x, float y, bool& onSubArea) const;
    void getBounds(float& top, float& left, float& bottom, float& right) const;
    void topLeft(float& x, float& y) const;

    float width() const { return m_rect.width(); }
    float height() const { return m_rect.height(); }
    float left() const { return m_rect.left(); }
    float top() const { return m_rect.top(); }
    float right() const { return m_rect.right(); }
    float bottom() const { return m_rect.bottom(); }
    const Rect& rect() const { return m_rect; }

    ItemViewState state() const { return m_state; }
    // Ignored for the current state and for values outside Normal..Pressed.
    void setState(int state);
    void setHovered(bool hovered);
    bool isHovered() const { return m_hovered; }
    void setHoverSubArea(bool hoverSubArea) { m_hoverSubArea = hoverSubArea; }
    bool hoverSubArea() const { return m_hoverSubArea; }
    void setPressedSubArea(bool pressedSubArea) { m_pressedSubArea = pressedSubArea; }
    bool pressedSubArea() const { return m_pressedSubArea; }
    bool isGrip() const { return m_isGrip; }
    bool isVisible() const { return m_visible; }
    bool isDirty() const { return m_dirty; }
    int index() const { return m_index; }

    MTBxItem* item() const { return m_item; }
    ToolbarWindow* window() const { return m_window; }
    // The window went without its view's knowing (an overlay's host window was destroyed).
    void forgetWindow() { m_window = nullptr; }
    Text* caption() const { return m_caption.get(); }
    Text* shortcutText() const { return m_shortcutText.get(); }
    MTBxImage* image() const { return m_image.get(); }
    // Item-local, y running down from the item's top; null without a sub-area.
    const Rect* subAreaRect() const { return m_subAreaRect.get(); }
    const std::vector<ItemPart>& parts() const { return m_parts; }
    MTBxItem* previousItem() const { return m_previousItem; }
    MTBxItem* nextItem() const { return m_nextItem; }

    // True when a view built now for item between previous and next would
    // measure and place exactly as this one did: same item, neighbours, texts,
    // icon source, flags and style metrics, and no caption or icon replaced since.
    bool builtFrom(const MTBxItem* item, const MTBxItem* previous, const MTBxItem* next) const;

    // Drops the item link when item is the attached one or null.
    void detach(MTBxItem* item);
    void replaceCaption();
    void setIconByName(const MTBxString& name);
    void setIconFromHandle(HICON handle);
    // Name first, then encoded bytes, then the icon handle.
    void setIconFrom(const MTBxItem& source);

    bool startsGroup() const;
    bool endsGroup() const;
    bool previousAutoHides() const;
    bool nextAutoHides() const;

    bool isSeparator() const;
    bool isCheckable() const;
    bool isChecked() const;
    bool hasSplitter() const;
    bool hasOptionBox() const;
    bool isActive() const;
    // An auto-hiding item while its window draws such items at opacity 0.
    bool isFadedAway() const;

private:
    // What measuring reads besides the caption, shortcut and icon objects.
    struct MeasuredFrom
    {
        MTBxString widthString;
        const unsigned char* iconData = nullptr;
        unsigned int iconDataLength = 0;
        HICON iconHandle = nullptr;
        int width = 0;
        int type = 0;
        unsigned flags = 0;
        int theme = 0;
        float scaling = 0.0f;
        int xHeight = 0;
        int itemHeight = 0;
        int fontPointSize = 0;
    };

    void addPart(ItemPartKind kind, int width, bool atFront = false);
    void renderImage();
    MeasuredFrom measuredFrom(const MTBxItem* item) const;
    static const MTBxItem* iconSource(const MTBxItem* item);

    Style* m_style;
    std::vector<ItemPart> m_parts;
    int m_index;
    ItemViewState m_state;
    bool m_dirty;
    bool m_visible;
    std::unique_ptr<Text> m_caption;
    std::unique_ptr<Text> m_shortcutText;
    std::unique_ptr<MTBxImage> m_image;
    MTBxItem* m_item;
    Rect m_rect;
    std::unique_ptr<Rect> m_subAreaRect;
    bool m_pressedSubArea;
    bool m_hovered;
    bool m_hoverSubArea;
    MTBxItem* m_previousItem;
    MTBxItem* m_nextItem;
    bool m_isGrip;
    ToolbarWindow* m_window;
    MeasuredFrom m_measuredFrom;
    // Set when the caption or icon is replaced in place; the parts are stale then.
    bool m_replacedSinceBuilt = false;
};

} // namespace MiniToolbars

#endif
