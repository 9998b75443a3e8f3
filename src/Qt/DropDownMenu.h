#ifndef MINITOOLBARS_DROPDOWNMENU_H
#define MINITOOLBARS_DROPDOWNMENU_H

#include "Core/DropDownPopup.h"

#include <QMenu>
#include <QPointer>

class QPushButton;

namespace MiniToolbars {

class MTBxDropDownButton;
class QmtbView;

// The menu of a drop-down button: one entry per visible child (its
// description, else its text), a check mark for checkable children and for
// the active child without an icon, and a remove button on the hovered entry
// of a child that has one. It pops up without blocking and registers with the
// button's window while it is open.
//
// The button owns the menu alone: the menu has no parent widget, so the
// window going first cannot delete it behind the button's back. Every handler
// entered from the event loop counts as a delivery of the window, and a menu
// released while one of its handlers runs is deleted after that handler.
class DropDownMenu : public QMenu, public DropDownPopup
{
    Q_OBJECT

public:
    DropDownMenu(MTBxDropDownButton* button, QmtbView* window);
    ~DropDownMenu() override;

    // PopupWidget
    MTBxItem* item() const override;
    void dismissPopup(bool quiet) override;
    void hidePopup() override;
    void release() override;

    // DropDownPopup
    void addEntry(MTBxItem* child) override;
    void addSeparator(MTBxItem* child) override;
    void removeEntry(const MTBxItem* child) override;
    void popUp(const Point& point, float flipY) override;

    // index counts the menu's actions, separators included.
    void removeItemAt(int index);
    QPushButton* removeButton() const { return m_removeButton; }
    MTBxItem* hoveredEntry() const { return m_hoveredEntry; }

public Q_SLOTS:
    void handleAction();
    void menuClosing();
    void MenuItemHovered(QAction* action);
    void handleRemoveClicked();

protected:
    void leaveEvent(QEvent* event) override;

private:
    class Handler;

    QAction* actionOf(const MTBxItem* child) const;
    void unhover();

    QPushButton* m_removeButton = nullptr;
    MTBxDropDownButton* m_button;
    MTBxItem* m_hoveredEntry = nullptr;
    QPointer<QmtbView> m_window;
    int m_running = 0;
};

} // namespace MiniToolbars

#endif
