#ifndef MINITOOLBARS_LINEEDITCONTROL_H
#define MINITOOLBARS_LINEEDITCONTROL_H

#include "Core/EntryFieldPopup.h"

#include <QLineEdit>
#include <QPointer>

namespace MiniToolbars {

class MTBxDropDownEntry;
class QmtbView;

// The text field of a drop-down entry, a child of the toolbar window. The
// toolbar window never takes the keyboard on its own; the field takes it
// when the user presses into it or the entry asks for focus, and gives it
// back to the host widget that had it on Escape, on a press outside the
// toolbar window, and when it hides or goes. Each handler from the event
// loop counts as a delivery of the window, so a callback that removes the
// entry or closes the toolbar lets the handler finish first.
class LineEditControl : public QLineEdit, public EntryFieldPopup
{
    Q_OBJECT

public:
    LineEditControl(MTBxDropDownEntry* entry, QmtbView* window);
    ~LineEditControl() override;

    // PopupWidget
    MTBxItem* item() const override;
    void dismissPopup(bool quiet) override;
    void hidePopup() override;
    void release() override;

    // EntryFieldPopup
    const ToolbarWindow* fieldWindow() const override;
    bool isFieldShown() const override { return isVisible(); }
    MTBxString fieldText() const override;
    void setFieldText(const MTBxString& text) override;
    bool isFieldEnabled() const override { return isEnabled(); }
    void setFieldEnabled(bool enabled) override { setEnabled(enabled); }
    void selectWhole() override { QLineEdit::selectAll(); }
    void selectRange(int start, int length) override { QLineEdit::setSelection(start, length); }
    bool selection(int& start, int& length) const override;
    int cursorAt() const override { return cursorPosition(); }
    void setCursorAt(int position) override { setCursorPosition(position); }
    bool holdsFocus() const override { return hasFocus(); }
    void takeFocus(bool afterPaint, bool selectAll, int start, int length) override;
    void dropFocus(bool simulateFocusOut) override;
    void place(float x, float y, int dx, int dy, int width, int height) override;
    void setLook(unsigned int textColor, int alpha) override;
    void hideField() override;

    // The field that holds the keyboard now, if any.
    static LineEditControl* keyboardOwner();

public Q_SLOTS:
    void textChanged(const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeKeyboard();
    void returnKeyboard();

    MTBxDropDownEntry* m_entry;
    QPointer<QmtbView> m_window;
};

} // namespace MiniToolbars

#endif
