#include "Core/Backend.h"

namespace MiniToolbars {

namespace {

// Before any backend is installed (or after it is gone) nothing is made.
class NullBackend final : public Backend
{
public:
    Text* createText(const MTBxString&, unsigned int) override { return nullptr; }
    int measureXHeight(const MTBxString&, int) override { return 0; }
    MTBxImage* createImage(const MTBxString&) override { return nullptr; }
    MTBxImage* createImageFromData(const unsigned char*, int) override { return nullptr; }
    MTBxImage* createImageFromIcon(HICON) override { return nullptr; }
    HostWidget* createHostWidget(HWND) override { return nullptr; }
    ToolbarWindow* createToolbarWindow(MTBxView*, HostWidget*, WindowKind) override { return nullptr; }
    DropDownPopup* createDropDownMenu(MTBxDropDownButton*, ToolbarWindow*) override { return nullptr; }
    ComboListPopup* createComboBoxList(MTBxCombobox*, ToolbarWindow*) override { return nullptr; }
    EntryFieldPopup* createEntryField(MTBxDropDownEntry*, ToolbarWindow*) override { return nullptr; }
    void scheduleCleanup() override {}
};

Backend* s_backend = nullptr;

} // namespace

Backend& Backend::instance()
{
    static NullBackend nothing;
    return s_backend ? *s_backend : nothing;
}

void Backend::install(Backend* backend)
{
    s_backend = backend;
}

} // namespace MiniToolbars
