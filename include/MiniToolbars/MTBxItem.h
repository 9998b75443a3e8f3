#ifndef MINITOOLBARS_MTBXITEM_H
#define MINITOOLBARS_MTBXITEM_H

#include "MiniToolbarsGlobal.h"
#include "MTBxItemEvents.h"
#include "MTBxString.h"

namespace MiniToolbars {

class ItemView;
class MiniToolbar;

/// Base of everything that stands in a mini toolbar: caption, icon, states and
/// the host context, plus a weak link to the item view that shows it while the
/// toolbar is on screen.
///
/// Ownership: the host creates an item and owns it until it adds it to a
/// MiniToolbar or to a list-type item (MTBxListType); from then on that
/// container owns and deletes it. Destroying an item never destroys its view.
///
/// Icons come, in this order of preference, from the icon name (built-in
/// ":/MiniToolbars/..." images, files and Qt resources in png or svg,
/// "res://module/type/name" references), from raw encoded bytes (copied) or
/// from an icon handle (not owned).
///
/// Setters on a shown item repaint or relayout it; setters never fail and
/// accept any value. All calls belong on the GUI thread.
/// \ingroup items
class MINITOOLBARS_EXPORT MTBxItem
{
public:
    /// The kind of an item. The HostTypeN values are reserved for the host.
    enum MTBItemType {
        /// MTBxSeparator
        Separator = 0,
        /// MTBxNewLine
        NewLine = 1,
        /// MTBxButton
        Button = 2,
        /// Reserved for the host.
        HostType3 = 3,
        /// Reserved for the host.
        HostType4 = 4,
        /// Reserved for the host.
        HostType5 = 5,
        /// MTBxDropDownButton
        DropDownButton = 6,
        /// MTBxCommandItem
        CommandItem = 7,
        /// MTBxDropDownEntry
        DropDownEntry = 8,
        /// Reserved for the host.
        HostType9 = 9,
        /// MTBxCombobox
        Combobox = 10,
        /// MTBxLabel
        Label = 11,
        /// No kind given.
        UndefinedItem = 12
    };

    /// Creates an item of the given kind, with an empty id. hostContext comes back as
    /// the first argument of every event of this item; null means the item sends none.
    explicit MTBxItem(MTBItemType type = UndefinedItem, void* hostContext = nullptr);
    /// Creates an item with the host's id.
    MTBxItem(MTBItemType type, const MTBxString& id, void* hostContext);
    /// Creates an item with the host's id and its drop-down arrow on or off.
    MTBxItem(MTBItemType type, const MTBxString& id, bool hasDropDown, void* hostContext);
    /// Frees the icon data and detaches from its view, if any. Do not delete an item
    /// that a toolbar or a list still holds: remove it from there instead.
    virtual ~MTBxItem();

    /// Items own an icon buffer and are never copied by the library.
    MTBxItem(const MTBxItem&) = delete;
    MTBxItem& operator=(const MTBxItem&) = delete;

    /// The id; a synchronized list-type item answers its current child's id.
    virtual const MTBxString& idSelected() const;
    /// Sets the caption; a shown item that shows its text remeasures and repaints.
    virtual void setText(const MTBxString& text);
    /// The caption.
    virtual const MTBxString& text() const;
    /// The text the layout measures, so the item keeps a stable width; text() here.
    virtual const MTBxString& widestText() const;
    /// Takes the keyboard focus away; only entry fields hold any (see
    /// MTBxDropDownEntry::clearFocus()). Nothing here.
    virtual void clearFocus(bool notify);
    /// The icon handle set by setIconFromHandle(), or null; not owned.
    virtual HICON iconHandle() const;
    /// The icon name, or empty.
    virtual const MTBxString& icon() const;
    /// The tooltip text, the first choice of GetFullTooltip().
    virtual const MTBxString& toolTip() const;
    /// Disabled items are drawn dimmed and ignore the pointer.
    virtual void setEnabled(bool enabled);
    /// Stores the value of an entry-like item.
    virtual void setValue(const MTBxString& value);
    /// Called by the library when the user clicks the item's view; sends Clicked.
    virtual void itemClicked(ItemView* view);
    /// Called by the library to paint content of its own at (x, y) in window pixels
    /// with the given opacity; nothing here.
    virtual void draw(ItemView* view, float x, float y, double opacity);
    /// Called by the library when view goes away; drops the link to it.
    virtual void cleanup(ItemView* view);
    /// Sends an item event to the host's item sink, with this item's host context.
    /// Nothing without a host context or a shown toolbar, and nothing during a relayout.
    virtual void Notify(MTBxItemEvents::EventType type, unsigned int* p1, unsigned int* p2);
    /// Called by the library: forget the item view.
    virtual void disconnectView();
    /// Called by the library: the item view that shows this item (not owned).
    virtual void setItemView(ItemView* view);
    /// The item view that shows this item, null while not shown; not owned.
    virtual ItemView* itemView() const;
    /// Called by the library after it built a new view for the item, for items whose
    /// state lives in a native widget.
    virtual void cacheQtStoredProperties();
    /// Layout space (y up), in the order top, left, bottom, right. False without a view.
    virtual bool getBounds(float& top, float& left, float& bottom, float& right) const;

    /// Sets most properties in one call by storing them: no repaint, no event.
    /// parent is the list-type item this item is a child of (null for a direct
    /// toolbar item); width 0 means no fixed width.
    void initializeItem(MTBxItem* parent, const MTBxString& text, const MTBxString& description,
                        const MTBxString& toolTip, const MTBxString& icon, bool active, bool enabled,
                        bool visible, bool checkable, bool checked, bool showText,
                        bool synchronizedWithCurrentItem, bool autoHide, bool splitter, bool optionBox,
                        bool valueErrorFlag, bool lockValue, bool removeButton, HICON iconHandle,
                        int width, const MTBxString& widthString);

    /// The list-type item this item is a child of; null for items that stand in a
    /// toolbar directly. Not owned. Set it for a child of a list so that the
    /// child's events reach the host.
    /// @{
    MTBxItem* parent() const;
    void setParent(MTBxItem* parent);
    /// @}
    /// The host's identifier of the item.
    /// @{
    const MTBxString& id() const;
    void setId(const MTBxString& id);
    /// @}
    /// Longer text: second choice for the tooltip, also shown in menu and list rows.
    /// @{
    const MTBxString& description() const;
    void setDescription(const MTBxString& description);
    /// @}
    /// Sets the icon by name and drops any icon data; an empty name means no icon.
    void setIcon(const MTBxString& name);
    /// The private copy of encoded image bytes, or null; owned by the item.
    const unsigned char* iconData() const;
    /// Byte count of iconData().
    unsigned int iconDataLength() const;
    /// Keeps a private copy; null or zero length only clears the stored copy.
    void setIconData(const unsigned char* bytes, unsigned int length);
    /// Uses a native icon handle (see createIconHandle()); the handle stays the
    /// caller's. Drops any icon data.
    void setIconFromHandle(HICON handle);
    /// Shortcut text, drawn after the caption.
    /// @{
    const MTBxString& shortcut() const;
    void setShortcut(const MTBxString& shortcut);
    /// @}
    /// Sets the tooltip text.
    void setToolTip(const MTBxString& toolTip);
    /// Whether a click toggles the checked state.
    /// @{
    bool isCheckable() const;
    void setCheckable(bool checkable);
    /// @}
    /// The check state.
    bool isChecked() const;
    /// Sets the check state; when it changes on a shown item and notify is set, sends
    /// CheckedChanged (1 or 0).
    void setChecked(bool checked, bool notify = true);
    /// Whether the item reacts to the pointer; see setEnabled().
    bool isEnabled() const;
    /// Hidden items take no place in the layout. Default true.
    /// @{
    bool isVisible() const;
    void setVisible(bool visible);
    /// @}
    /// Whether the item shows an option-box marker.
    /// @{
    bool hasOptionBox() const;
    void setOptionBox(bool optionBox);
    /// @}
    /// Highlighted as the active choice; activating a child of a synchronized list
    /// deactivates its current child.
    /// @{
    bool isActive() const;
    void setActive(bool active);
    /// @}
    /// Whether the caption is drawn next to the icon. Default false.
    /// @{
    bool showText() const;
    void setShowText(bool showText);
    /// @}
    /// Whether the item opens a drop-down (an arrow is drawn).
    /// @{
    bool hasDropDown() const;
    void setHasDropDown(bool hasDropDown);
    /// @}
    /// Whether a list-type item mirrors its current child's id, text, icon and tooltip.
    /// @{
    bool isSynchronizedWithCurrentItem() const;
    void setSynchronizedWithCurrentItem(bool synchronized);
    /// @}
    /// Whether the item fades with the toolbar; items with false stay opaque. Default true.
    /// @{
    bool autoHide() const;
    void setAutoHide(bool autoHide);
    /// @}
    /// Whether a drop-down item is split into a main part and an arrow part.
    /// @{
    bool hasSplitter() const;
    void setHasSplitter(bool splitter);
    /// @}
    /// Marks the value as invalid; an entry field draws its text in the error colour.
    /// @{
    bool valueErrorFlag() const;
    void setValueErrorFlag(bool flag);
    /// @}
    /// Stored for the host; the library does not read it.
    /// @{
    bool lockValue() const;
    void setLockValue(bool lock);
    /// @}
    /// Whether the pointer is over the item; a change sends HoverEnter or HoverLeave.
    /// @{
    bool isHover() const;
    void setHovered(bool hovered);
    /// @}
    /// Shown as a row of a menu or list, the item gets a remove button that sends
    /// RemoveRequested.
    /// @{
    bool hasRemoveButton() const;
    void setHasRemoveButton(bool removeButton);
    /// @}
    /// Fixed width wish for the layout, in pixels; 0 means none.
    /// @{
    int width() const;
    void setWidth(int width);
    /// @}
    /// Sample text whose measured width the layout uses.
    /// @{
    const MTBxString& widthString() const;
    void setWidthString(const MTBxString& widthString);
    /// @}
    /// Free host data, never interpreted nor owned.
    /// @{
    void* data() const;
    void setData(void* data);
    /// @}
    /// Free host number; MiniToolbar::itemWithTag() searches it.
    /// @{
    int tag() const;
    void setTag(int tag);
    /// @}
    /// The value of an entry-like item; see setValue().
    const MTBxString& value() const;
    /// The kind of item.
    /// @{
    MTBItemType itemType() const;
    void setItemType(MTBItemType type);
    /// @}
    /// The host context given at construction.
    void* hostContext() const;
    /// The toolbar that owns this item, null while it is in none; not owned.
    /// MiniToolbar::addItem() sets it.
    /// @{
    MiniToolbar* owner() const;
    void setOwner(MiniToolbar* owner);
    /// @}

    /// True for a separator.
    bool isSeparator() const;
    /// True for a new line.
    bool isNewLine() const;
    /// True for a separator or a new line: items that draw no caption and take no clicks.
    bool isSeparatorType() const;

    /// The text the tooltip window shows: toolTip(), else description(), else
    /// text() (nothing when the caption is already shown); with debug tooltips on,
    /// that text followed by the id and icon name. The reference is valid until
    /// the next call.
    const MTBxString& GetFullTooltip() const;

protected:
    /// Schedules a repaint of the window that shows this item, if any.
    void refreshWindow() const;
    /// Asks the owner's view for a relayout, if the owner is shown.
    void markLayoutDirty() const;

private:
    MTBxItem* m_parent;
    MTBxString m_id;
    MTBxString m_text;
    MTBxString m_description;
    MTBxString m_icon;
    unsigned char* m_iconData;
    unsigned int m_iconDataLength;
    MTBxString m_shortcut;
    MTBxString m_toolTip;
    bool m_checkable;
    bool m_checked;
    bool m_enabled;
    bool m_visible;
    bool m_optionBox;
    bool m_active;
    bool m_showText;
    bool m_hasDropDown;
    bool m_synchronizedWithCurrentItem;
    bool m_autoHide;
    bool m_splitter;
    bool m_valueErrorFlag;
    bool m_lockValue;
    bool m_hovered;
    bool m_removeButton;
    int m_width;
    MTBxString m_widthString;
    void* m_data;
    int m_tag;
    MTBxString m_value;
    MTBItemType m_itemType;
    void* m_hostContext;
    ItemView* m_itemView;
    HICON m_iconHandle;
    MiniToolbar* m_owner;
};

} // namespace MiniToolbars

#endif
