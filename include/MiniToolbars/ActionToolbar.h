#ifndef MINITOOLBARS_ACTIONTOOLBAR_H
#define MINITOOLBARS_ACTIONTOOLBAR_H

#include "MiniToolbarsGlobal.h"
#include "Options.h"

#include <QList>
#include <QObject>
#include <QRect>

#include <memory>

class QAction;
class QWidget;

namespace MiniToolbars {

class ActionToolbarPrivate;
class Controller;
class MiniToolbar;

/*!
    \brief A mini toolbar built from QActions and anchored to a rectangle of a host widget.

    Each action becomes an item: its text, icon, checkable and checked state,
    enabled and visible state, tool tip and shortcut are followed live through
    QAction::changed. A click triggers the action itself, so checkable actions
    toggle through QAction and QActionGroup exclusivity holds. An action with a
    menu() becomes a drop-down button whose entries are the menu's actions.
    Actions stay owned by the caller; one deleted by its owner leaves the
    toolbar. Separators are actions with isSeparator(); row breaks come from
    addRowBreak().

    Placement: show() puts the toolbar on the preferred side of an anchor
    rectangle (in the host widget's coordinates), gap() pixels away, flips to
    the other side when there is no room, and shifts it to stay inside the host
    widget's window and its screen. It follows the host's window when that
    moves; setAnchor() moves it to a new anchor. After the user drags the
    toolbar it stays where it was put (following window moves) until the next
    setAnchor() or show(). While it shows, pointer moves over the host's
    window drive its auto fade; the host forwards nothing.

    Events: the toolbar's items report to a process-wide item sink of their own,
    separate from the sink a host installs with
    MTBxItemEventsUtility::SetMTBxItemEvents (and the toolbar sink). A host that
    uses both keeps receiving every event of its own items and toolbars, in
    whichever order the two were set up, and never sees this class's contexts.

    Lifetime: it is safe to call close() or to delete this object (directly or
    through its parent) from inside a slot connected to an action's triggered()
    or to any signal of this class. The toolbar closes when the host widget is
    destroyed or its window hides. All calls belong on the GUI thread.
    \ingroup actions
*/
class MINITOOLBARS_EXPORT ActionToolbar : public QObject
{
    Q_OBJECT

public:
    //! The side of the anchor the toolbar goes to when there is room.
    enum Side { Above, Below };
    Q_ENUM(Side)

    /*!
        How the items are drawn. TranslucentLook, the default, lets what lies
        beneath show through the items, which suits toolbars over pictures and
        empty space. SolidLook draws them opaque on a panel with a soft shadow,
        so that their captions stay readable over text (or anything busy) in
        either theme; the panel fades with the toolbar.
    */
    enum Look { TranslucentLook, SolidLook };
    Q_ENUM(Look)

    //! An empty, hidden toolbar; parent owns it as usual for a QObject.
    explicit ActionToolbar(QObject* parent = nullptr);
    //! Closes the toolbar; the actions are left alone.
    ~ActionToolbar() override;

    //! Appends an action; an action already here, or null, is ignored.
    void addAction(QAction* action);
    //! Inserts before another action of this toolbar; appends when before is not one.
    void insertAction(QAction* before, QAction* action);
    //! Removes an action (not deleting it); nothing when it is not here.
    void removeAction(QAction* action);
    //! Appends a separator action owned by this toolbar and returns it.
    QAction* addSeparator();
    //! Appends a row break (an action owned by this toolbar) and returns it.
    QAction* addRowBreak();
    //! The actions, separators and row breaks in order.
    QList<QAction*> actions() const;

    /*!
        Makes a drop-down action (one with a menu) a split button: a click on
        its main part triggers the action, the arrow opens the menu.
    */
    void setSplitButton(QAction* action, bool split);
    /*!
        Gives the entries of a drop-down action's menu a remove button; a click
        on it emits removeRequested() with the entry's action.
    */
    void setRemovableEntries(QAction* action, bool removable);

    /*!
        Shows the toolbar for host (whose window parents it) next to anchor, a
        rectangle in host's coordinates. False, and nothing shown, for a null
        host or while the library refuses to show (a show already under way).
        Showing again re-places a shown toolbar.
    */
    bool show(QWidget* host, const QRect& anchor, Side preferred = Above);
    //! Moves a shown toolbar next to a new anchor (host coordinates); nothing when hidden.
    void setAnchor(const QRect& anchor);
    //! Hides the toolbar and drops its items; the actions stay. Emits closed() when it was shown.
    void close();
    //! Whether the toolbar is on screen.
    bool isVisible() const;

    //! Pixels between the anchor and the toolbar; 6 by default, held within 0 to 65536.
    //! @{
    int gap() const;
    void setGap(int gap);
    //! @}

    //! How this toolbar's window lies over the host's window (see
    //! Options::WindowStrategy); by default the controller's option, which is
    //! overlays on Wayland and top-level windows elsewhere. Taken at the next
    //! show() of a closed toolbar.
    //! @{
    Options::WindowStrategy windowStrategy() const;
    void setWindowStrategy(Options::WindowStrategy strategy);
    //! @}

    //! How the items are drawn (see Look); TranslucentLook by default. A
    //! shown toolbar changes at once; its panel adds to geometry().
    //! @{
    Look look() const;
    void setLook(Look look);
    //! @}

    //! The host widget of the last show(); null before, or once it is destroyed.
    QWidget* host() const;
    //! The anchor rectangle of the last show() or setAnchor(), in host coordinates.
    QRect anchor() const;
    //! What the toolbar draws, grip included, in global coordinates; empty while hidden.
    QRect geometry() const;

    /*!
        The underlying toolbar, for what only the item interface offers. Its
        items are rebuilt at every show() and dropped at close(); the host
        context of the toolbar and its items belongs to this class.
    */
    MiniToolbar* miniToolbar() const;
    //! The controller every ActionToolbar shows through (created on first use, owned by the library).
    static Controller* controller();

Q_SIGNALS:
    //! The pointer went onto an action's item (also emitted as QAction::hovered).
    void hovered(QAction* action);
    //! The user dragged the toolbar; topLeft as in geometry().
    void movedByUser(const QPoint& topLeft);
    //! The toolbar became opaque again after the pointer came back.
    void fadedIn();
    //! The toolbar faded because the pointer went away.
    void fadedOut();
    //! The toolbar was closed (by close(), the host going away, or deletion).
    void closed();
    //! A click with a keyboard modifier held, before the action triggers.
    void modifiedClick(QAction* action, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
    //! The remove button of a menu entry was clicked; the host decides what to do.
    void removeRequested(QAction* entry);
    //! The wheel turned over the toolbar (angle delta in eighths of a degree); action is the hovered one or null.
    void wheelTurned(QAction* action, int delta);
    //! A key went down or up while the toolbar had the keyboard (native virtual key).
    //! @{
    void keyPressed(int virtualKey);
    void keyReleased(int virtualKey);
    //! @}

protected:
    //! Follows the host widget, its window and the actions' menus; not for callers.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<ActionToolbarPrivate> d;
};

} // namespace MiniToolbars

#endif
