#ifndef MINITOOLBARS_TEXT_H
#define MINITOOLBARS_TEXT_H

#include "Core/Rect.h"
#include "MiniToolbars/MTBxString.h"

#include <memory>

namespace MiniToolbars {

class MTBxRender;
class Style;

// A string measured in the toolbar font. Kind 0 is a caption, 1 a shortcut.
class Text
{
public:
    Text(const MTBxString& text, int kind);
    virtual ~Text();
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;

    virtual void measure() = 0;
    // Hands itself to renderer.drawText at (left + offsetX, top + offsetY) when measured.
    virtual void draw(MTBxRender* renderer);

    // -1 while not measured.
    float width() const;
    float height() const;
    float left() const;
    float top() const;
    void setOffset(float x, float y);
    float offsetX() const { return m_offsetX; }
    float offsetY() const { return m_offsetY; }

    int xHeight() const { return m_xHeight; }
    const MTBxString& text() const { return m_text; }
    int kind() const { return m_kind; }
    const Rect* rect() const { return m_rect.get(); }

protected:
    int m_xHeight;
    MTBxString m_text;
    std::unique_ptr<Rect> m_rect;
    float m_offsetX;
    float m_offsetY;
    int m_kind;
    Style* m_style;
};

} // namespace MiniToolbars

#endif
