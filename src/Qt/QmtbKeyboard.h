#ifndef MINITOOLBARS_QMTBKEYBOARD_H
#define MINITOOLBARS_QMTBKEYBOARD_H

#include <QObject>
#include <QPointer>
#include <QWidget>

class QKeyEvent;
class QPainter;

namespace MiniToolbars {

class ItemView;
class MTBxItem;
class QmtbView;

// Keyboard navigation of the one toolbar the host handed the keyboard to.
// Toolbar windows never take focus or activation, so the keys are taken from
// the application while its focus widget stays where it was; a focus change,
// a hidden toolbar or Escape ends it.
class QmtbKeyboard : public QObject
{
    Q_OBJECT

public:
    enum class Move { None, Previous, Next, Up, Down, First, Last, Click, DropDown, Escape };

    static QmtbKeyboard& instance();
    // What a key press does to a toolbar that has the keyboard.
    static Move moveFor(int key, Qt::KeyboardModifiers modifiers);
    // Items the keyboard stops at: shown, enabled, neither labels nor separators.
    static bool isFocusable(const ItemView* view);
    // Clicks the item, or its list with dropDown, along the pointer's path.
    static void click(QmtbView* window, const ItemView* view, bool dropDown);

    // False when the window is not shown or has no focusable item.
    bool take(QmtbView* window);
    // Ends navigation; the widget that had the keyboard gets it back when asked.
    void release(bool restoreFocus);
    // A window being destroyed lets go of the keyboard while it is still whole.
    static void forget(const QmtbView* window);
    QmtbView* window() const { return m_window; }
    // The item view with the focus ring in window, or null.
    ItemView* focused(const QmtbView* window) const;
    // Draws the focus ring of window's focused item, if any, in its local coordinates.
    void paintFocusRing(const QmtbView* window, QPainter& painter) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(QKeyEvent* event);
    void apply(Move move);
    void setFocused(ItemView* view);
    ItemView* neighbour(const ItemView* from, Move move) const;

    QPointer<QmtbView> m_window;
    QPointer<QWidget> m_previousFocus;
    // Compared, never dereferenced: the item may go away between keys.
    const MTBxItem* m_item = nullptr;
};

} // namespace MiniToolbars

#endif
