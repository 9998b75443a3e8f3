#ifndef MINITOOLBARS_QTBACKEND_H
#define MINITOOLBARS_QTBACKEND_H

#include "Core/Backend.h"

namespace MiniToolbars {

// The core's toolkit: Qt text, images, windows and popups. Installed once
// when the library loads.
class QtBackend final : public Backend
{
public:
    static QtBackend& instance();

    Text* createText(const MTBxString& text, unsigned int kind) override;
    int measureXHeight(const MTBxString& family, int pointSize) override;
    MTBxImage* createImage(const MTBxString& reference) override;
    MTBxImage* createImageFromData(const unsigned char* data, int length) override;
    MTBxImage* createImageFromIcon(HICON icon) override;
    HostWidget* createHostWidget(HWND parentWindow) override;
    ToolbarWindow* createToolbarWindow(MTBxView* view, HostWidget* host, WindowKind kind) override;
    DropDownPopup* createDropDownMenu(MTBxDropDownButton* button, ToolbarWindow* window) override;
    ComboListPopup* createComboBoxList(MTBxCombobox* combo, ToolbarWindow* window) override;
    EntryFieldPopup* createEntryField(MTBxDropDownEntry* entry, ToolbarWindow* window) override;
    void scheduleCleanup() override;
};

} // namespace MiniToolbars

#endif
