#include "MiniToolbars/MTBxItem.h"

#include "Core/ContextSinks.h"

#include "Core/ItemView.h"
#include "Core/MTBxView.h"
#include "Core/NotificationGuard.h"
#include "Core/ToolbarWindow.h"
#include "MiniToolbars/MiniToolbar.h"
#include "MiniToolbars/MTBxItemEventsUtility.h"
#include "MiniToolbars/MTBxListType.h"
#include "MiniToolbars/TooltipOptions.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace MiniToolbars {

namespace {

unsigned int* eventArgument(std::uintptr_t value)
{
    return reinterpret_cast<unsigned int*>(value);
}

void appendUnits(std::vector<unsigned short>& out, const MTBxString& text)
{
    const unsigned short* units = text;
    out.insert(out.end(), units, units + text.length());
}

void appendAscii(std::vector<unsigned short>& out, const char* text)
{
    for (; *text != 0; ++text)
        out.push_back(static_cast<unsigned short>(*text));
}

} // namespace

MTBxItem::MTBxItem(MTBItemType type, void* hostContext)
    : MTBxItem(type, MTBxString(), false, hostContext)
{
}

MTBxItem::MTBxItem(MTBItemType type, const MTBxString& id, void* hostContext)
    : MTBxItem(type, id, false, hostContext)
{
}

MTBxItem::MTBxItem(MTBItemType type, const MTBxString& id, bool hasDropDown, void* hostContext)
    : m_parent(nullptr)
    , m_id(id)
    , m_iconData(nullptr)
    , m_iconDataLength(0)
    , m_checkable(false)
    , m_checked(false)
    , m_enabled(true)
    , m_visible(true)
    , m_optionBox(false)
    , m_active(false)
    , m_showText(false)
    , m_hasDropDown(hasDropDown)
    , m_synchronizedWithCurrentItem(false)
    , m_autoHide(true)
    , m_splitter(false)
    , m_valueErrorFlag(false)
    , m_lockValue(false)
    , m_hovered(false)
    , m_removeButton(false)
    , m_width(0)
    , m_data(nullptr)
    , m_tag(0)
    , m_itemType(type)
    , m_hostContext(hostContext)
    , m_itemView(nullptr)
    , m_iconHandle(nullptr)
    , m_owner(nullptr)
{
}

MTBxItem::~MTBxItem()
{
    delete[] m_iconData;
    m_iconData = nullptr;
    m_iconDataLength = 0;
    // The view outlives its item; it only loses its link.
    if (m_itemView)
        m_itemView->detach(this);
    m_itemView = nullptr;
}

const MTBxString& MTBxItem::idSelected() const
{
    return m_id;
}

void MTBxItem::setText(const MTBxString& text)
{
    m_text.assign(text);
    if (m_itemView && m_showText) {
        m_itemView->replaceCaption();
        refreshWindow();
        return;
    }
    // A list-type parent that mirrors its current child shows this caption.
    if (m_parent && m_parent->m_itemView && m_parent->m_showText
        && m_parent->m_synchronizedWithCurrentItem) {
        m_parent->m_itemView->replaceCaption();
        m_parent->refreshWindow();
    }
}

const MTBxString& MTBxItem::text() const
{
    return m_text;
}

const MTBxString& MTBxItem::widestText() const
{
    return text();
}

void MTBxItem::clearFocus(bool)
{
}

HICON MTBxItem::iconHandle() const
{
    return m_iconHandle;
}

const MTBxString& MTBxItem::icon() const
{
    return m_icon;
}

const MTBxString& MTBxItem::toolTip() const
{
    return m_toolTip;
}

void MTBxItem::setEnabled(bool enabled)
{
    m_enabled = enabled;
    if (!m_itemView)
        return;
    m_itemView->setState(enabled ? Normal : Disabled);
    if (!m_parent)
        refreshWindow();
}

void MTBxItem::setValue(const MTBxString& value)
{
    m_value.assign(value);
}

void MTBxItem::itemClicked(ItemView*)
{
    Notify(MTBxItemEvents::Clicked, nullptr, nullptr);
}

void MTBxItem::draw(ItemView*, float, float, double)
{
}

void MTBxItem::cleanup(ItemView* view)
{
    if (view == m_itemView)
        m_itemView = nullptr;
}

void MTBxItem::Notify(MTBxItemEvents::EventType type, unsigned int* p1, unsigned int* p2)
{
    if (!m_hostContext)
        return;
    // A child of a list-type item has no view of its own on the toolbar.
    ItemView* view = m_parent ? m_parent->itemView() : m_itemView;
    ToolbarWindow* window = view ? view->window() : nullptr;
    if (!window)
        return;
    NotificationGuard& guard = window->guard();
    if (guard.isInRelayout())
        return;
    const NotificationGuard::Delivery delivery(guard, this);
    if (!delivery.accepted())
        return;
    if (MTBxItemEvents* sink = ContextSinks::itemSinkFor(m_hostContext))
        sink->Notify(m_hostContext, type, p1, p2);
}

void MTBxItem::disconnectView()
{
    m_itemView = nullptr;
}

void MTBxItem::setItemView(ItemView* view)
{
    m_itemView = view;
}

ItemView* MTBxItem::itemView() const
{
    return m_itemView;
}

void MTBxItem::cacheQtStoredProperties()
{
}

bool MTBxItem::getBounds(float& top, float& left, float& bottom, float& right) const
{
    if (!m_itemView)
        return false;
    m_itemView->getBounds(top, left, bottom, right);
    return true;
}

void MTBxItem::initializeItem(MTBxItem* parent, const MTBxString& text, const MTBxString& description,
                              const MTBxString& toolTip, const MTBxString& icon, bool active,
                              bool enabled, bool visible, bool checkable, bool checked, bool showText,
                              bool synchronizedWithCurrentItem, bool autoHide, bool splitter,
                              bool optionBox, bool valueErrorFlag, bool lockValue, bool removeButton,
                              HICON iconHandle, int width, const MTBxString& widthString)
{
    m_parent = parent;
    m_text.assign(text);
    m_description.assign(description);
    m_toolTip.assign(toolTip);
    m_icon.assign(icon);
    m_active = active;
    m_enabled = enabled;
    m_visible = visible;
    m_checkable = checkable;
    m_checked = checked;
    m_showText = showText;
    m_synchronizedWithCurrentItem = synchronizedWithCurrentItem;
    m_autoHide = autoHide;
    m_splitter = splitter;
    m_optionBox = optionBox;
    m_valueErrorFlag = valueErrorFlag;
    m_lockValue = lockValue;
    m_removeButton = removeButton;
    m_iconHandle = iconHandle;
    m_width = width;
    m_widthString.assign(widthString);
}

MTBxItem* MTBxItem::parent() const
{
    return m_parent;
}

void MTBxItem::setParent(MTBxItem* parent)
{
    m_parent = parent;
}

const MTBxString& MTBxItem::id() const
{
    return m_id;
}

void MTBxItem::setId(const MTBxString& id)
{
    m_id.assign(id);
}

const MTBxString& MTBxItem::description() const
{
    return m_description;
}

void MTBxItem::setDescription(const MTBxString& description)
{
    m_description.assign(description);
}

void MTBxItem::setIcon(const MTBxString& name)
{
    setIconData(nullptr, 0);
    m_icon.assign(name);
    if (!m_itemView)
        return;
    m_itemView->setIconByName(m_icon);
    refreshWindow();
}

const unsigned char* MTBxItem::iconData() const
{
    return m_iconData;
}

unsigned int MTBxItem::iconDataLength() const
{
    return m_iconDataLength;
}

void MTBxItem::setIconData(const unsigned char* bytes, unsigned int length)
{
    unsigned char* copy = nullptr;
    if (bytes && length != 0) {
        copy = new unsigned char[length];
        std::memcpy(copy, bytes, length);
    }
    delete[] m_iconData;
    m_iconData = copy;
    m_iconDataLength = copy ? length : 0;
}

void MTBxItem::setIconFromHandle(HICON handle)
{
    setIconData(nullptr, 0);
    m_iconHandle = handle;
    if (!m_itemView)
        return;
    m_itemView->setIconFromHandle(handle);
    refreshWindow();
}

const MTBxString& MTBxItem::shortcut() const
{
    return m_shortcut;
}

void MTBxItem::setShortcut(const MTBxString& shortcut)
{
    m_shortcut.assign(shortcut);
}

void MTBxItem::setToolTip(const MTBxString& toolTip)
{
    m_toolTip.assign(toolTip);
}

bool MTBxItem::isCheckable() const
{
    return m_checkable;
}

void MTBxItem::setCheckable(bool checkable)
{
    m_checkable = checkable;
}

bool MTBxItem::isChecked() const
{
    return m_checked;
}

void MTBxItem::setChecked(bool checked, bool notify)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    if (!m_itemView)
        return;
    if (notify)
        Notify(MTBxItemEvents::CheckedChanged, eventArgument(checked ? 1 : 0), nullptr);
    // The callback may have detached the item from its view.
    if (!m_parent)
        refreshWindow();
}

bool MTBxItem::isEnabled() const
{
    return m_enabled;
}

bool MTBxItem::isVisible() const
{
    return m_visible;
}

void MTBxItem::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    markLayoutDirty();
    // The next layout builds views anew; the old view must forget this item.
    if (m_itemView) {
        m_itemView->detach(this);
        m_itemView = nullptr;
    }
}

bool MTBxItem::hasOptionBox() const
{
    return m_optionBox;
}

void MTBxItem::setOptionBox(bool optionBox)
{
    m_optionBox = optionBox;
}

bool MTBxItem::isActive() const
{
    return m_active;
}

void MTBxItem::setActive(bool active)
{
    if (active == m_active)
        return;
    // A synchronized list shows one active child: its current one gives way.
    if (active) {
        if (const auto* list = dynamic_cast<const MTBxListType*>(m_parent)) {
            MTBxItem* const current = list->currentItem();
            if (list->isSynchronizedWithCurrentItem() && current != list && current != this)
                current->setActive(false);
        }
    }
    m_active = active;
    if (!m_parent)
        refreshWindow();
}

bool MTBxItem::showText() const
{
    return m_showText;
}

void MTBxItem::setShowText(bool showText)
{
    m_showText = showText;
}

bool MTBxItem::hasDropDown() const
{
    return m_hasDropDown;
}

void MTBxItem::setHasDropDown(bool hasDropDown)
{
    m_hasDropDown = hasDropDown;
}

bool MTBxItem::isSynchronizedWithCurrentItem() const
{
    return m_synchronizedWithCurrentItem;
}

void MTBxItem::setSynchronizedWithCurrentItem(bool synchronized)
{
    m_synchronizedWithCurrentItem = synchronized;
}

bool MTBxItem::autoHide() const
{
    return m_autoHide;
}

void MTBxItem::setAutoHide(bool autoHide)
{
    m_autoHide = autoHide;
}

bool MTBxItem::hasSplitter() const
{
    return m_splitter;
}

void MTBxItem::setHasSplitter(bool splitter)
{
    m_splitter = splitter;
}

bool MTBxItem::valueErrorFlag() const
{
    return m_valueErrorFlag;
}

void MTBxItem::setValueErrorFlag(bool flag)
{
    m_valueErrorFlag = flag;
    refreshWindow();
}

bool MTBxItem::lockValue() const
{
    return m_lockValue;
}

void MTBxItem::setLockValue(bool lock)
{
    m_lockValue = lock;
}

bool MTBxItem::isHover() const
{
    return m_hovered;
}

void MTBxItem::setHovered(bool hovered)
{
    if (hovered == m_hovered)
        return;
    const bool wasHovered = m_hovered;
    m_hovered = hovered;
    Notify(wasHovered ? MTBxItemEvents::HoverLeave : MTBxItemEvents::HoverEnter, nullptr, nullptr);
    refreshWindow();
}

bool MTBxItem::hasRemoveButton() const
{
    return m_removeButton;
}

void MTBxItem::setHasRemoveButton(bool removeButton)
{
    m_removeButton = removeButton;
}

int MTBxItem::width() const
{
    return m_width;
}

void MTBxItem::setWidth(int width)
{
    m_width = width;
    markLayoutDirty();
}

const MTBxString& MTBxItem::widthString() const
{
    return m_widthString;
}

void MTBxItem::setWidthString(const MTBxString& widthString)
{
    m_widthString.assign(widthString);
    markLayoutDirty();
}

void* MTBxItem::data() const
{
    return m_data;
}

void MTBxItem::setData(void* data)
{
    m_data = data;
}

int MTBxItem::tag() const
{
    return m_tag;
}

void MTBxItem::setTag(int tag)
{
    m_tag = tag;
}

const MTBxString& MTBxItem::value() const
{
    return m_value;
}

MTBxItem::MTBItemType MTBxItem::itemType() const
{
    return m_itemType;
}

void MTBxItem::setItemType(MTBItemType type)
{
    m_itemType = type;
}

void* MTBxItem::hostContext() const
{
    return m_hostContext;
}

MiniToolbar* MTBxItem::owner() const
{
    return m_owner;
}

void MTBxItem::setOwner(MiniToolbar* owner)
{
    m_owner = owner;
}

bool MTBxItem::isSeparator() const
{
    return m_itemType == Separator;
}

bool MTBxItem::isNewLine() const
{
    return m_itemType == NewLine;
}

bool MTBxItem::isSeparatorType() const
{
    return m_itemType == Separator || m_itemType == NewLine;
}

const MTBxString& MTBxItem::GetFullTooltip() const
{
    // Shared by every item: the tooltip window copies the text at once.
    static MTBxString s_debugTooltip;
    static const MTBxString s_noTooltip;

    if (IsMTBDebugTooltipEnabled()) {
        std::vector<unsigned short> units;
        appendUnits(units, toolTip().empty() ? text() : toolTip());
        appendAscii(units, "\n\n");
        appendUnits(units, idSelected());
        appendAscii(units, "\n");
        appendUnits(units, icon());
        units.push_back(0);
        s_debugTooltip.assign(units.data());
        return s_debugTooltip;
    }
    if (!toolTip().empty())
        return toolTip();
    if (!m_description.empty())
        return m_description;
    // The caption is on screen already.
    if (m_showText && !m_hasDropDown)
        return s_noTooltip;
    return text();
}

void MTBxItem::refreshWindow() const
{
    if (!m_itemView)
        return;
    if (ToolbarWindow* window = m_itemView->window())
        window->refresh();
}

void MTBxItem::markLayoutDirty() const
{
    if (!m_owner)
        return;
    if (MTBxView* view = m_owner->view())
        view->setLayoutDirty(true);
}

} // namespace MiniToolbars
