#ifndef MINITOOLBARS_BACKEND_H
#define MINITOOLBARS_BACKEND_H

#include "MiniToolbars/MiniToolbarsGlobal.h"
#include "MiniToolbars/MTBxString.h"

namespace MiniToolbars {

class ComboListPopup;
class DropDownPopup;
class EntryFieldPopup;
class HostWidget;
class MTBxCombobox;
class MTBxDropDownButton;
class MTBxDropDownEntry;
class MTBxImage;
class MTBxView;
class Text;
class ToolbarWindow;

// How a toolbar window lies over the host's window: a top-level window of
// its own, which may reach beyond the host's window, or a child widget
// inside the host's top-level window, placed in that window's coordinates.
enum class WindowKind { TopLevel, Overlay };

// Everything the core asks of its toolkit, behind one process-wide object:
// text measurement, images, the toolbar window and the popups of list items.
// The library installs the Qt backend when it loads; core tests install a
// stand-in. Every object made belongs to the caller, which deletes it
// through its virtual destructor (windows, host widgets and popups through
// their release()).
class Backend
{
public:
    virtual ~Backend() = default;

    // The installed backend; one that makes nothing until one is installed.
    static Backend& instance();
    // Not owned; null goes back to the one that makes nothing.
    static void install(Backend* backend);

    // Measured in the style's font. Kind 0 is a caption, 1 a shortcut.
    virtual Text* createText(const MTBxString& text, unsigned int kind) = 0;
    // Height of the tight bounding box of "x" in the given font.
    virtual int measureXHeight(const MTBxString& family, int pointSize) = 0;
    // Never null; an image that failed to load reports -1 for its size.
    virtual MTBxImage* createImage(const MTBxString& reference) = 0;
    // Null when the bytes are no decodable image.
    virtual MTBxImage* createImageFromData(const unsigned char* data, int length) = 0;
    virtual MTBxImage* createImageFromIcon(HICON icon) = 0;

    // A widget around the host's native window; never null.
    virtual HostWidget* createHostWidget(HWND parentWindow) = 0;
    // The window that puts the view's toolbar on screen over host, of the
    // kind asked for where the platform allows it.
    virtual ToolbarWindow* createToolbarWindow(MTBxView* view, HostWidget* host, WindowKind kind) = 0;

    // The popups of list items, on the item's window; null where there are none.
    virtual DropDownPopup* createDropDownMenu(MTBxDropDownButton* button, ToolbarWindow* window) = 0;
    virtual ComboListPopup* createComboBoxList(MTBxCombobox* combo, ToolbarWindow* window) = 0;
    virtual EntryFieldPopup* createEntryField(MTBxDropDownEntry* entry, ToolbarWindow* window) = 0;

    // Runs MiniToolbar::CleanupOldViews once control is back in the event
    // loop: deletions that waited for the deliveries then under way happen
    // even when no further event comes.
    virtual void scheduleCleanup() = 0;
};

} // namespace MiniToolbars

#endif
