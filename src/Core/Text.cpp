#include "Core/Text.h"

#include "Core/MTBxRender.h"
#include "Core/Style.h"

namespace MiniToolbars {

Text::Text(const MTBxString& text, int kind)
    : m_xHeight(-1)
    , m_text(text)
    , m_offsetX(0.0f)
    , m_offsetY(0.0f)
    , m_kind(kind)
    , m_style(Style::instance())
{
}

Text::~Text() = default;

void Text::draw(MTBxRender* renderer)
{
    if (renderer && m_rect)
        renderer->drawText(this, m_rect->left() + m_offsetX, m_rect->top() + m_offsetY);
}

float Text::width() const
{
    return m_rect ? m_rect->width() : -1.0f;
}

float Text::height() const
{
    return m_rect ? m_rect->height() : -1.0f;
}

float Text::left() const
{
    return m_rect ? m_rect->left() : -1.0f;
}

float Text::top() const
{
    return m_rect ? m_rect->top() : -1.0f;
}

void Text::setOffset(float x, float y)
{
    m_offsetX = x;
    m_offsetY = y;
}

} // namespace MiniToolbars
