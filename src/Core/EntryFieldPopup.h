#ifndef MINITOOLBARS_ENTRYFIELDPOPUP_H
#define MINITOOLBARS_ENTRYFIELDPOPUP_H

#include "Core/PopupWidget.h"
#include "MiniToolbars/MTBxString.h"

namespace MiniToolbars {

class ToolbarWindow;

// The text field of a drop-down entry, a child of the toolbar window laid
// over the entry's frame. The user's edits, key presses, presses and focus
// changes reach the entry as TextEdited, KeyPressed, Clicked and
// FocusChanged, each before the field's own handling. The field is the one
// part of a toolbar that takes the keyboard; when it gives it up, the
// keyboard goes back to the host widget that had it.
class EntryFieldPopup : public PopupWidget
{
public:
    // The window the field is a child of; null once that window is gone. An
    // entry moved to another toolbar needs a field of the new window.
    virtual const ToolbarWindow* fieldWindow() const = 0;
    // The field shows on its window (it hides while its entry is faded out or hidden).
    virtual bool isFieldShown() const = 0;
    virtual MTBxString fieldText() const = 0;
    // Sends no TextEdited.
    virtual void setFieldText(const MTBxString& text) = 0;
    virtual bool isFieldEnabled() const = 0;
    virtual void setFieldEnabled(bool enabled) = 0;
    virtual void selectWhole() = 0;
    virtual void selectRange(int start, int length) = 0;
    // False, and the outputs untouched, when nothing is selected.
    virtual bool selection(int& start, int& length) const = 0;
    virtual int cursorAt() const = 0;
    virtual void setCursorAt(int position) = 0;
    virtual bool holdsFocus() const = 0;
    // Takes the keyboard, then selects the whole text or, with start >= 0,
    // length characters from start. afterPaint puts it off until the event
    // loop runs again: focus changes call the host, which must not run
    // inside a paint.
    virtual void takeFocus(bool afterPaint, bool selectAll, int start, int length) = 0;
    // Gives the keyboard back. simulateFocusOut first makes the field look
    // unfocused without telling the entry.
    virtual void dropFocus(bool simulateFocusOut) = 0;
    // Puts the field at layout point (x, y) of the window plus (dx, dy)
    // pixels, width by height pixels, clipped like the toolbar, and shows it.
    virtual void place(float x, float y, int dx, int dy, int width, int height) = 0;
    // textColor is 0xAARRGGBB; alpha (0..255) applies to text and background.
    virtual void setLook(unsigned int textColor, int alpha) = 0;
    virtual void hideField() = 0;
};

} // namespace MiniToolbars

#endif
