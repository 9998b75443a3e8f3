#ifndef MINITOOLBARS_MTBXITEM_H
#define MINITOOLBARS_MTBXITEM_H

#include "MiniToolbarsGlobal.h"
#include "MTBxItemEvents.h"
#include "MTBxString.h"

namespace MiniToolbars {

class ItemView;
class MiniToolbar;

/// Base of everything that stands in a mini toolbar. A property bag owned by the
/// host until it is added to a toolbar, plus a weak link to the item view that
/// shows it while the toolbar is on screen.
class MINITOOLBARS_EXPORT MTBxItem
{
public:
    enum MTBItemType {
        Separator = 0,
        NewLine = 1,
        Button = 2,
        HostType3 = 3,
        HostType4 = 4,
        HostType5 = 5,
        DropDownButton = 6,
        CommandItem = 7,
        DropDownEntry = 8,
        HostType9 = 9,
        Combobox = 10,
        Label = 11,
        UndefinedItem = 12
    };

    explicit MTBxItem(MTBItemType type = UndefinedItem, void* hostContext = nullptr);
    MTBxItem(MTBItemType type, const MTBxString& id, void* hostContext);
    MTBxItem(MTBItemType type, const MTBxString& id, bool hasDropDown, void* hostContext);
    virtual ~MTBxItem();

    /// Items own an icon buffer and are never copied by the library.
    MTBxItem(const MTBxItem&) = delete;
    MTBxItem& operator=(const MTBxItem&) = delete;

    virtual const MTBxString& idSelected() const;
    virtual void setText(const MTBxString& text);
    virtual const MTBxString& text() const;
    virtual const MTBxString& widestText() const;
    virtual void clearFocus(bool notify);
    virtual HICON iconHandle() const;
    virtual const MTBxString& icon() const;
    virtual const MTBxString& toolTip() const;
    virtual void setEnabled(bool enabled);
    virtual void setValue(const MTBxString& value);
    virtual void itemClicked(ItemView* view);
    virtual void draw(ItemView* view, float x, float y, double opacity);
    virtual void cleanup(ItemView* view);
    virtual void Notify(MTBxItemEvents::EventType type, unsigned int* p1, unsigned int* p2);
    virtual void disconnectView();
    virtual void setItemView(ItemView* view);
    virtual ItemView* itemView() const;
    virtual void cacheQtStoredProperties();
    /// Layout space (y up), in the order top, left, bottom, right. False without a view.
    virtual bool getBounds(float& top, float& left, float& bottom, float& right) const;

    void initializeItem(MTBxItem* parent, const MTBxString& text, const MTBxString& description,
                        const MTBxString& toolTip, const MTBxString& icon, bool active, bool enabled,
                        bool visible, bool checkable, bool checked, bool showText,
                        bool synchronizedWithCurrentItem, bool autoHide, bool splitter, bool optionBox,
                        bool valueErrorFlag, bool lockValue, bool removeButton, HICON iconHandle,
                        int width, const MTBxString& widthString);

    MTBxItem* parent() const;
    void setParent(MTBxItem* parent);
    const MTBxString& id() const;
    void setId(const MTBxString& id);
    const MTBxString& description() const;
    void setDescription(const MTBxString& description);
    void setIcon(const MTBxString& name);
    const unsigned char* iconData() const;
    unsigned int iconDataLength() const;
    /// Keeps a private copy; null or zero length only clears the stored copy.
    void setIconData(const unsigned char* bytes, unsigned int length);
    void setIconFromHandle(HICON handle);
    const MTBxString& shortcut() const;
    void setShortcut(const MTBxString& shortcut);
    void setToolTip(const MTBxString& toolTip);
    bool isCheckable() const;
    void setCheckable(bool checkable);
    bool isChecked() const;
    void setChecked(bool checked, bool notify = true);
    bool isEnabled() const;
    bool isVisible() const;
    void setVisible(bool visible);
    bool hasOptionBox() const;
    void setOptionBox(bool optionBox);
    bool isActive() const;
    void setActive(bool active);
    bool showText() const;
    void setShowText(bool showText);
    bool hasDropDown() const;
    void setHasDropDown(bool hasDropDown);
    bool isSynchronizedWithCurrentItem() const;
    void setSynchronizedWithCurrentItem(bool synchronized);
    bool autoHide() const;
    void setAutoHide(bool autoHide);
    bool hasSplitter() const;
    void setHasSplitter(bool splitter);
    bool valueErrorFlag() const;
    void setValueErrorFlag(bool flag);
    bool lockValue() const;
    void setLockValue(bool lock);
    bool isHover() const;
    void setHovered(bool hovered);
    bool hasRemoveButton() const;
    void setHasRemoveButton(bool removeButton);
    int width() const;
    void setWidth(int width);
    const MTBxString& widthString() const;
    void setWidthString(const MTBxString& widthString);
    void* data() const;
    void setData(void* data);
    int tag() const;
    void setTag(int tag);
    const MTBxString& value() const;
    MTBItemType itemType() const;
    void setItemType(MTBItemType type);
    void* hostContext() const;
    MiniToolbar* owner() const;
    void setOwner(MiniToolbar* owner);

    bool isSeparator() const;
    bool isNewLine() const;
    bool isSeparatorType() const;

    /// The text the tooltip window shows; see the debug tooltip option.
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
