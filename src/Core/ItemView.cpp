#include "Core/ItemView.h"

#include "Core/Backend.h"
#include "Core/MTBxImage.h"
#include "Core/MTBxRender.h"
#include "Core/MTBxView.h"
#include "Core/Style.h"
#include "Core/Text.h"
#include "Core/ToolbarWindow.h"
#include "MiniToolbars/MTBxItem.h"
#include "MiniToolbars/MTBxListType.h"

#include <algorithm>

namespace MiniToolbars {

namespace {

// Truncation toward zero, with NaN and out-of-range values mapped to 0 so a
// broken measurement never turns into undefined behaviour.
int truncated(float value)
{
    if (!(value > -2147483648.0f && value < 2147483648.0f))
        return 0;
    return static_cast<int>(value);
}

// A host may give an item any width. Far beyond any screen, this bound keeps
// the sums of parts and the renderer's coordinates well inside int.
constexpr int maxWidth = 1 << 20;

} // namespace

ItemView::ItemView(int index, MTBxItem* item, ToolbarWindow* window, MTBxItem* previousItem,
                   MTBxItem* nextItem)
    : m_style(Style::instance())
    , m_index(index)
    , m_state(Normal)
    , m_dirty(true)
    , m_visible(true)
    , m_item(item)
    , m_pressedSubArea(false)
    , m_hovered(false)
    , m_hoverSubArea(false)
    , m_previousItem(previousItem)
    , m_nextItem(nextItem)
    , m_isGrip(index < 0)
    , m_window(window)
{
    Style::addUse();
    if (!m_item)
        return;

    // Before anything is measured: a synchronized list shows its current
    // child, which must be one that can be shown.
    if (m_item->isSynchronizedWithCurrentItem()) {
        if (auto* list = dynamic_cast<MTBxListType*>(m_item))
            list->validateCurrentItem();
    }
    m_measuredFrom = measuredFrom(m_item);
    m_caption.reset(Backend::instance().createText(m_item->widestText(), 0));
    m_shortcutText.reset(Backend::instance().createText(m_item->shortcut(), 1));

    if (!m_item->isEnabled())
        m_state = Disabled;

    setIconFrom(*iconSource(m_item));
    m_replacedSinceBuilt = false;
}

ItemView::~ItemView()
{
    m_caption.reset();
    m_shortcutText.reset();
    m_image.reset();
    m_subAreaRect.reset();
    if (m_item)
        m_item->cleanup(this);
    Style::releaseUse();
}

void ItemView::addPart(ItemPartKind kind, int width, bool atFront)
{
    ItemPart part;
    part.kind = kind;
    // -1 asks for the style's default; a theme image that failed to load
    // reports -1 itself, which must not shrink the item.
    part.width = std::clamp(width == -1 ? m_style->partWidth(kind) : width, 0, maxWidth);
    if (atFront)
        m_parts.insert(m_parts.begin(), part);
    else
        m_parts.push_back(part);
}

void ItemView::renderImage()
{
    if (m_image)
        m_image->render(static_cast<float>(m_style->iconSize()), 0.0f, false);
}

void ItemView::measure()
{
    if (!m_dirty)
        return;
    m_dirty = false;
    if (!m_item || m_item->isSeparatorType())
        return;

    const MTBxItem::MTBItemType type = m_item->itemType();
    m_parts.clear();
    // The most any item has: margins, check box, icon, caption, field, splitters, arrow or option box.
    m_parts.reserve(10);

    if (m_image)
        addPart(Icon, truncated(m_image->width()));

    if (m_item->showText()) {
        int w = m_item->width();
        if (w < 1 || type == MTBxItem::DropDownEntry) {
            w = m_caption ? truncated(m_caption->width()) : 0;
            if (!m_item->widthString().empty()) {
                std::unique_ptr<Text> sample(Backend::instance().createText(m_item->widthString(), 0));
                w = sample ? truncated(sample->width()) : 0;
            }
        }
        w = std::min(w, m_style->maxTextWidth());
        if (w < 1)
            addPart(EmptyCaption, 0);
        else
            addPart(Caption, w);
    }

    if (m_item->isCheckable())
        addPart(CheckBox, -1, true);

    if (type == MTBxItem::DropDownEntry)
        addPart(EntryField, std::max(0, truncated(std::min(m_item->width(), maxWidth) * m_style->scalingFactor())));

    if (m_item->hasSplitter() || type == MTBxItem::Combobox)
        addPart(Splitter, -1);

    if (m_item->hasDropDown()) {
        addPart(type == MTBxItem::DropDownEntry ? EntryArrow : DropDownArrow, -1);
    } else if (m_item->hasOptionBox()) {
        addPart(Splitter, -1);
        addPart(OptionBox, -1);
    }

    if (m_isGrip)
        addPart(Grip, m_style->gripPartWidth(), true);

    if (m_parts.empty())
        return;

    const int border = m_style->borderWidth();
    addPart(LeadingMargin, border, true);
    addPart(TrailingMargin, border);

    m_parts.front().x = 0;
    for (size_t i = 1; i < m_parts.size(); ++i) {
        ItemPart& previous = m_parts[i - 1];
        ItemPart& part = m_parts[i];
        const int gap = m_style->gapBetween(previous.kind, part.kind);
        previous.gapAfter = gap;
        part.gapBefore = gap;
        part.x = previous.x + previous.width + gap;
    }

    const int total = m_parts.back().x + m_parts.back().width;
    // The grip's width is a design figure that grows with the item height.
    int desired = m_item->width() > 0 ? std::min(m_item->width(), maxWidth) : m_style->minItemWidth();
    if (m_isGrip)
        desired = m_style->gripWidth();
    const int step = truncated(m_style->widthStep());
    int width = desired;
    if (total > desired) {
        // A step under 1 px (tiny fonts) cannot quantise: take the exact width.
        if (step < 1)
            width = total;
        else
            width = desired + (total - desired + step - 1) / step * step;
    }
    const int height = m_style->itemHeight();
    m_rect.resize(static_cast<float>(width), static_cast<float>(height));

    if (m_item->hasSplitter() || m_item->hasOptionBox()) {
        const int dw = m_style->dropAreaWidth() + border;
        const float x = static_cast<float>(width - dw);
        if (m_subAreaRect)
            m_subAreaRect->set(x, static_cast<float>(height), static_cast<float>(dw),
                               static_cast<float>(height));
        else
            m_subAreaRect.reset(new Rect(x, static_cast<float>(height), static_cast<float>(dw),
                                         static_cast<float>(height)));
    }
}

void ItemView::moveTo(float x, float y)
{
    m_rect.set(x, y, m_rect.width(), m_rect.height());
}

void ItemView::draw(MTBxRender* renderer)
{
    if (!renderer || !m_item || m_item->isSeparatorType())
        return;
    double opacity = 1.0;
    if (m_item->autoHide() && m_window)
        opacity = m_window->currentOpacity();
    float x = 0.0f;
    float y = 0.0f;
    topLeft(x, y);
    renderer->drawItem(this, x, y, opacity);
    if (m_item && m_item->itemType() == MTBxItem::DropDownEntry)
        m_item->draw(this, x, y, opacity);
}

bool ItemView::hitTest(float x, float y, bool& onSubArea) const
{
    if (!m_rect.contains(x, y))
        return false;
    if (m_subAreaRect)
        onSubArea = m_subAreaRect->contains(x - m_rect.left(), m_rect.top() - y);
    return true;
}

void ItemView::getBounds(float& top, float& left, float& bottom, float& right) const
{
    top = m_rect.top();
    left = m_rect.left();
    bottom = m_rect.bottom();
    right = m_rect.right();
}

void ItemView::topLeft(float& x, float& y) const
{
    x = m_rect.left();
    y = m_rect.top();
}

void ItemView::setState(int state)
{
    if (state < Normal || state > Pressed || state == m_state)
        return;
    m_state = static_cast<ItemViewState>(state);
}

void ItemView::setHovered(bool hovered)
{
    m_hovered = hovered;
    if (!hovered)
        m_hoverSubArea = false;
    if (m_item)
        m_item->setHovered(hovered);
}

void ItemView::detach(MTBxItem* item)
{
    if (!m_item || (item && item != m_item))
        return;
    MTBxItem* const old = m_item;
    m_item = nullptr;
    old->disconnectView();

    // The neighbours' renderer queries read the item; it may be deleted before
    // the next relayout replaces these views, so they must forget it now.
    MTBxView* const view = m_window ? m_window->view() : nullptr;
    if (!view)
        return;
    const int count = view->itemViewCount();
    for (int i = 0; i < count; ++i) {
        ItemView* const other = view->itemViewAt(i);
        if (!other)
            continue;
        if (other->m_previousItem == old)
            other->m_previousItem = nullptr;
        if (other->m_nextItem == old)
            other->m_nextItem = nullptr;
    }
}

ItemView::MeasuredFrom ItemView::measuredFrom(const MTBxItem* item) const
{
    MeasuredFrom from;
    from.widthString = item->widthString();
    const MTBxItem* const icon = iconSource(item);
    from.iconData = icon->iconData();
    from.iconDataLength = icon->iconDataLength();
    from.iconHandle = item->iconHandle();
    from.width = item->width();
    from.type = item->itemType();
    const bool flags[] = {item->showText(), item->isCheckable(), item->hasSplitter(),
                          item->hasDropDown(), item->hasOptionBox(), item->isSeparatorType(),
                          item->isSeparator(), item->isNewLine(), item->autoHide()};
    for (unsigned i = 0; i < sizeof flags / sizeof flags[0]; ++i)
        from.flags |= flags[i] ? 1u << i : 0u;
    from.theme = m_style->palette().theme();
    from.scaling = m_style->scalingFactor();
    from.xHeight = m_style->xHeight();
    from.itemHeight = m_style->itemHeight();
    from.fontPointSize = m_style->fontPointSize();
    return from;
}

bool ItemView::builtFrom(const MTBxItem* item, const MTBxItem* previous, const MTBxItem* next) const
{
    if (!m_item || m_item != item || m_previousItem != previous || m_nextItem != next
        || m_replacedSinceBuilt || m_isGrip)
        return false;
    const MeasuredFrom now = measuredFrom(item);
    const MeasuredFrom& then = m_measuredFrom;
    if (now.iconData != then.iconData || now.iconDataLength != then.iconDataLength
        || now.iconHandle != then.iconHandle || now.width != then.width || now.type != then.type
        || now.flags != then.flags || now.theme != then.theme || now.scaling != then.scaling
        || now.xHeight != then.xHeight || now.itemHeight != then.itemHeight
        || now.fontPointSize != then.fontPointSize || now.widthString != then.widthString)
        return false;
    static const MTBxString none;
    return m_caption && m_caption->text() == item->widestText() && m_shortcutText
        && m_shortcutText->text() == item->shortcut()
        && (m_image ? m_image->reference() : none) == item->icon();
}

void ItemView::replaceCaption()
{
    m_replacedSinceBuilt = true;
    m_caption.reset();
    if (m_item)
        m_caption.reset(Backend::instance().createText(m_item->widestText(), 0));
}

void ItemView::setIconByName(const MTBxString& name)
{
    m_replacedSinceBuilt = true;
    m_image.reset();
    if (!name.empty())
        m_image.reset(Backend::instance().createImage(name));
    renderImage();
}

// A synchronized list shows its current child's icon, whichever form it takes.
const MTBxItem* ItemView::iconSource(const MTBxItem* item)
{
    if (!item->isSynchronizedWithCurrentItem())
        return item;
    const auto* list = dynamic_cast<const MTBxListType*>(item);
    return list ? list->currentItem() : item;
}

void ItemView::setIconFrom(const MTBxItem& source)
{
    if (!source.icon().empty()) {
        setIconByName(source.icon());
    } else if (source.iconData()) {
        m_replacedSinceBuilt = true;
        m_image.reset(Backend::instance().createImageFromData(
            source.iconData(), static_cast<int>(std::min<unsigned int>(source.iconDataLength(), 0x7fffffffu))));
        renderImage();
    } else {
        setIconFromHandle(source.iconHandle());
    }
}

void ItemView::setIconFromHandle(HICON handle)
{
    m_replacedSinceBuilt = true;
    m_image.reset();
    if (handle)
        m_image.reset(Backend::instance().createImageFromIcon(handle));
    renderImage();
}

bool ItemView::startsGroup() const
{
    return !m_previousItem || m_previousItem->isSeparatorType();
}

bool ItemView::endsGroup() const
{
    return !m_nextItem || m_nextItem->isSeparatorType();
}

bool ItemView::previousAutoHides() const
{
    return !m_previousItem || m_previousItem->autoHide();
}

bool ItemView::nextAutoHides() const
{
    return !m_nextItem || m_nextItem->autoHide();
}

bool ItemView::isSeparator() const
{
    return m_item && m_item->isSeparator();
}

bool ItemView::isCheckable() const
{
    return m_item && m_item->isCheckable();
}

bool ItemView::isChecked() const
{
    return m_item && m_item->isChecked();
}

bool ItemView::hasSplitter() const
{
    return m_item && m_item->hasSplitter();
}

bool ItemView::hasOptionBox() const
{
    return m_item && m_item->hasOptionBox();
}

bool ItemView::isActive() const
{
    return m_item && m_item->isActive();
}

bool ItemView::isFadedAway() const
{
    return m_item && m_item->autoHide() && m_window && m_window->autoHidingItemsHidden();
}

} // namespace MiniToolbars
