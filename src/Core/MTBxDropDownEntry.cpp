#include "MiniToolbars/MTBxDropDownEntry.h"

#include "Core/Backend.h"
#include "Core/EntryFieldPopup.h"
#include "Core/ItemView.h"
#include "Core/Style.h"
#include "Core/ToolbarWindow.h"

#include <cmath>

namespace MiniToolbars {

namespace {

unsigned int opaqueColor(int r, int g, int b)
{
    const auto channel = [](int v) { return static_cast<unsigned int>(v) & 0xFFu; };
    return 0xFF000000u | channel(r) << 16 | channel(g) << 8 | channel(b);
}

int truncatedPixels(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::fmax(-1e7, std::fmin(1e7, value)));
}

} // namespace

MTBxDropDownEntry::MTBxDropDownEntry(const MTBxString& id, const MTBxString& value, void* hostContext)
    : MTBxDropDownButton(id, hostContext)
    , m_savedSelectionStart(-1)
    , m_savedSelectionLength(-1)
    , m_cachedSelectionStart(-1)
    , m_cachedSelectionLength(-1)
    , m_pendingFocus(false)
    , m_pendingSelectAll(false)
    , m_textColor(opaqueColor(0, 0, 0))
    , m_textErrorColor(opaqueColor(255, 0, 0))
{
    setItemType(DropDownEntry);
    setHasDropDown(false);
    setValue(value);
}

MTBxDropDownEntry::~MTBxDropDownEntry()
{
    m_field.reset();
}

// The first child brings the arrow, which needs a new layout.
void MTBxDropDownEntry::addItem(MTBxItem* item, MTBxItem* before)
{
    const bool hadArrow = hasDropDown();
    setHasDropDown(true);
    MTBxDropDownButton::addItem(item, before);
    if (!hadArrow)
        markLayoutDirty();
}

void MTBxDropDownEntry::getDropDownLocation(ItemView* view, float& x, float& y)
{
    x = view->right();
    y = view->top();
}

// Presses on the text belong to the field; only the arrow opens the menu.
void MTBxDropDownEntry::itemClicked(ItemView* view)
{
    ItemView* const own = itemView();
    if (view && own && hasSplitter() && own->pressedSubArea())
        MTBxDropDownButton::itemClicked(view);
}

void MTBxDropDownEntry::setValue(const MTBxString& value)
{
    m_savedSelectionStart = -1;
    if (m_field && !(m_field->fieldText() == value))
        m_field->setFieldText(value);
    MTBxDropDownButton::setValue(value);
}

void MTBxDropDownEntry::setEnabled(bool enabled)
{
    MTBxDropDownButton::setEnabled(enabled);
    if (m_field && m_field->isFieldEnabled() != enabled)
        m_field->setFieldEnabled(enabled);
}

void MTBxDropDownEntry::selectAll()
{
    m_savedSelectionStart = -1;
    if (m_field)
        m_field->selectWhole();
    else
        m_pendingSelectAll = true;
}

void MTBxDropDownEntry::setSelection(int start, int length)
{
    m_savedSelectionStart = -1;
    if (m_field)
        m_field->selectRange(start, length);
    else
        m_pendingSelectAll = false;
}

void MTBxDropDownEntry::getSelection(int& start, int& end)
{
    if (!m_field)
        return;
    int length = 0;
    if (m_field->selection(start, length)) {
        end = start + length;
        return;
    }
    // Without a selection both ends are the cursor, -1 when there is none.
    start = end = m_field->cursorAt();
}

void MTBxDropDownEntry::setFocus(bool focus)
{
    if (!m_field) {
        m_pendingFocus = focus;
        return;
    }
    if (!focus) {
        clearFocus(false);
        return;
    }
    // A field faded out with its toolbar cannot take the keyboard: the
    // toolbar fades in, and the field takes it once it shows again.
    if (!m_field->isFieldShown()) {
        m_pendingFocus = true;
        if (ToolbarWindow* window = itemView() ? itemView()->window() : nullptr)
            window->fadeIn();
        return;
    }
    m_field->takeFocus(false, false, m_savedSelectionStart, m_savedSelectionLength);
}

void MTBxDropDownEntry::clearFocus(bool simulateFocusOut)
{
    if (!m_field) {
        m_pendingFocus = false;
        return;
    }
    int start = 0;
    int length = 0;
    if (m_field->selection(start, length)) {
        m_savedSelectionStart = start;
        m_savedSelectionLength = length;
    }
    m_field->dropFocus(simulateFocusOut);
}

bool MTBxDropDownEntry::hasFocus()
{
    return m_field && m_field->holdsFocus();
}

int MTBxDropDownEntry::cursorPosition() const
{
    return m_field ? m_field->cursorAt() : -1;
}

void MTBxDropDownEntry::setCursorPosition(int position)
{
    if (m_field)
        m_field->setCursorAt(position);
}

void MTBxDropDownEntry::setTextColor(int r, int g, int b)
{
    m_textColor = opaqueColor(r, g, b);
}

void MTBxDropDownEntry::setTextErrorColor(int r, int g, int b)
{
    m_textErrorColor = opaqueColor(r, g, b);
}

// The field normally outlives relayouts: it keeps its text, focus, selection
// and undo history, and the keyboard does not leave it. What it holds is
// still remembered here for a field that a lost view takes along, apart from
// the selection that clearing the focus saves: only that one comes back when
// focus is given again.
void MTBxDropDownEntry::cacheQtStoredProperties()
{
    m_cachedSelectionStart = -1;
    if (!m_field)
        return;
    if (m_field->holdsFocus())
        m_pendingFocus = true;
    int start = 0;
    int length = 0;
    if (m_field->selection(start, length)) {
        m_cachedSelectionStart = start;
        m_cachedSelectionLength = length;
    }
}

// A view replaced by a relayout leaves the field to its successor; the
// field goes with the entry's last view.
void MTBxDropDownEntry::cleanup(ItemView* view)
{
    if (view && view == itemView())
        m_field.reset();
    MTBxDropDownButton::cleanup(view);
}

void MTBxDropDownEntry::disconnectView()
{
    if (m_field)
        m_field->hidePopup();
    MTBxDropDownButton::disconnectView();
}

void MTBxDropDownEntry::draw(ItemView* view, float x, float y, double opacity)
{
    if (!view)
        return;
    // An entry moved to another toolbar leaves its field to the old window.
    if (m_field && m_field->fieldWindow() != view->window()) {
        cacheQtStoredProperties();
        m_field.reset();
    }
    if (opacity == 0.0) {
        if (m_field)
            m_field->hideField();
        return;
    }
    const bool created = !m_field;
    const bool wasShown = m_field && m_field->isFieldShown();
    if (created) {
        ToolbarWindow* const window = view->window();
        m_field.reset(window ? Backend::instance().createEntryField(this, window) : nullptr);
        if (!m_field)
            return;
        if (!value().empty())
            m_field->setFieldText(value());
        m_field->setFieldEnabled(isEnabled());
        // Focus calls the host, which may relayout: never inside this paint.
        const bool cached = m_cachedSelectionStart >= 0;
        if (m_pendingFocus)
            m_field->takeFocus(true, m_pendingSelectAll, cached ? m_cachedSelectionStart : m_savedSelectionStart,
                               cached ? m_cachedSelectionLength : m_savedSelectionLength);
        m_pendingFocus = false;
        m_pendingSelectAll = false;
    } else if (m_field->isFieldEnabled() != isEnabled()) {
        m_field->setFieldEnabled(isEnabled());
    }
    m_cachedSelectionStart = -1;
    // Focus asked for while the field was hidden (faded out, say) waits until it shows.
    if (!isVisible()) {
        m_field->hideField();
        return;
    }

    const Style* const style = Style::instance();
    int dx = style->borderWidth();
    int width = MTBxItem::width();
    for (const ItemPart& part : view->parts()) {
        if (part.kind == EntryField) {
            dx = style->borderWidth() + part.x;
            width = part.width - style->borderWidth();
            break;
        }
    }
    const int dy = 2;
    m_field->setLook(valueErrorFlag() ? m_textErrorColor : m_textColor, truncatedPixels(255.0 * opacity));
    m_field->place(x, y, dx, dy, width, truncatedPixels(view->height() - 2.0 * dy - 1.0));
    // Otherwise requests made while a field stood are the field's own state already.
    if (!created && m_pendingFocus && !wasShown)
        m_field->takeFocus(true, m_pendingSelectAll, m_savedSelectionStart, m_savedSelectionLength);
    m_pendingFocus = false;
    m_pendingSelectAll = false;
}

} // namespace MiniToolbars
