// The backend of the core tests: text measured by a fixed advance, square
// images, stand-in menus where a stand-in window offers them, and nothing
// else. Core tests link no toolkit at all.
#ifndef MINITOOLBARS_TESTS_STANDINBACKEND_H
#define MINITOOLBARS_TESTS_STANDINBACKEND_H

#include "Core/Backend.h"
#include "Core/MTBxImage.h"
#include "Core/Rect.h"
#include "Core/Text.h"
#include "support/ToolbarStandIns.h"

#include <memory>

namespace MiniToolbars {
namespace Testing {

// Every character advances 6 pixels; the ink is 8 pixels high.
class StandInText : public Text
{
public:
    StandInText(const MTBxString& text, int kind) : Text(text, kind) {}
    void measure() override
    {
        m_rect = std::make_unique<Rect>(0.0f, 0.0f, 6.0f * static_cast<float>(m_text.length()), 8.0f);
        m_xHeight = 6;
    }
};

// A 16-pixel square for any reference.
class StandInImage : public MTBxImage
{
public:
    using MTBxImage::MTBxImage;
    float width() const override { return 16.0f; }
    float height() const override { return 16.0f; }
    void render(float, float, bool) override {}
};

class StandInBackend : public Backend
{
public:
    Text* createText(const MTBxString& text, unsigned int kind) override
    {
        auto* measured = new StandInText(text, static_cast<int>(kind));
        measured->measure();
        return measured;
    }
    int measureXHeight(const MTBxString&, int) override { return 6; }
    MTBxImage* createImage(const MTBxString& reference) override { return new StandInImage(reference); }
    MTBxImage* createImageFromData(const unsigned char* data, int length) override
    {
        return data && length > 0 ? new StandInImage(MTBxString(L"")) : nullptr;
    }
    MTBxImage* createImageFromIcon(HICON icon) override { return icon ? new StandInImage(MTBxString(L"")) : nullptr; }
    HostWidget* createHostWidget(HWND) override { return nullptr; }
    ToolbarWindow* createToolbarWindow(MTBxView*, HostWidget*, WindowKind) override { return nullptr; }
    DropDownPopup* createDropDownMenu(MTBxDropDownButton* button, ToolbarWindow* window) override
    {
        auto* standIn = dynamic_cast<StandInWindow*>(window);
        return standIn && standIn->offerMenus ? (standIn->menu = new StandInMenu(button, &standIn->menu)) : nullptr;
    }
    ComboListPopup* createComboBoxList(MTBxCombobox*, ToolbarWindow*) override { return nullptr; }
    EntryFieldPopup* createEntryField(MTBxDropDownEntry*, ToolbarWindow*) override { return nullptr; }
    void scheduleCleanup() override { ++cleanupsScheduled; }

    int cleanupsScheduled = 0;
};

} // namespace Testing
} // namespace MiniToolbars

#endif
