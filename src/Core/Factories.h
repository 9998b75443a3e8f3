#ifndef MINITOOLBARS_FACTORIES_H
#define MINITOOLBARS_FACTORIES_H

#include "MiniToolbarsGlobal.h"
#include "MTBxString.h"

// The core's only road to the toolkit. The Qt backend defines these; every
// object returned belongs to the caller and is deleted through its virtual
// destructor.

namespace MiniToolbars {

class ComboListPopup;
class DropDownPopup;
class EntryFieldPopup;
class HostWidget;
class MTBxCombobox;
class MTBxDropDownButton;
class MTBxDropDownEntry;
class MTBxImage;
class MTBxRender;
class MTBxView;
class Text;
class ToolbarWindow;

// Already measured in the style's font.
Text* createText(const MTBxString& text, unsigned int kind);
// Never null; an image that failed to load reports -1 for its size.
MTBxImage* createImage(const MTBxString& reference);
// Null when the bytes are no decodable image.
MTBxImage* createImageFromData(const unsigned char* data, int length);
MTBxImage* createImageFromIcon(HICON icon);
MTBxRender* createRender();
// A widget around the native window; never null (a plain widget for a null handle).
HostWidget* createHostWidget(HWND parentWindow);
// The window that puts the view's toolbar on screen, parented to host (may be null).
ToolbarWindow* createToolbarWindow(MTBxView* view, HostWidget* host);
// The menu of button, parented to window; null where the toolkit has none.
DropDownPopup* createDropDownMenu(MTBxDropDownButton* button, ToolbarWindow* window);
// The list of combo, a child of window; null where the toolkit has none.
ComboListPopup* createComboBoxList(MTBxCombobox* combo, ToolbarWindow* window);
// The text field of entry, a child of window; null where the toolkit has none.
EntryFieldPopup* createEntryField(MTBxDropDownEntry* entry, ToolbarWindow* window);
// Height of the tight bounding box of "x" in the given font.
int measureXHeight(const MTBxString& family, int pointSize);

} // namespace MiniToolbars

#endif
