#ifndef MINITOOLBARS_POPUPWIDGET_H
#define MINITOOLBARS_POPUPWIDGET_H

namespace MiniToolbars {

class MTBxItem;

// What the toolbar window and the items know of a popup (menu, list, entry
// field) that a list-type item opens next to itself. The toolkit widget
// implements it; the item that opened the popup owns it.
class PopupWidget
{
public:
    virtual ~PopupWidget() = default;

    // The list-type item that opened the popup.
    virtual MTBxItem* item() const = 0;
    // The window closes the popup. Not quiet: the popup resets its item's view
    // and reports the dismissal to the window. Quiet: it only hides.
    virtual void dismissPopup(bool quiet) = 0;
    // The item lost its view: hide without any result.
    virtual void hidePopup() = 0;
    // How the owner deletes the popup. A popup may defer its deletion past
    // its own handlers that are still running (a host callback can make the
    // owner drop it).
    virtual void release() { delete this; }
};

} // namespace MiniToolbars

#endif
