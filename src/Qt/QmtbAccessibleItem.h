#ifndef MINITOOLBARS_QMTBACCESSIBLEITEM_H
#define MINITOOLBARS_QMTBACCESSIBLEITEM_H

#include <QAccessibleInterface>
#include <QPointer>
#include <QWidget>

namespace MiniToolbars {

class ItemView;
class MTBxItem;
class QmtbAccessibleToolbar;
class QmtbView;

// One toolbar item as a screen reader sees it. Valid while the item is shown
// in its window; its actions go the pointer's way, so the host sees a click.
class QmtbAccessibleItem : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    QmtbAccessibleItem(QmtbView* window, const MTBxItem* item);

    // Name: the text, else the tool tip.
    static QString nameOf(const MTBxItem* item);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QmtbAccessibleToolbar* toolbar() const;
    ItemView* view() const;

    // A widget pointer: a window pointer would be cast while Qt destroys it.
    QPointer<QWidget> m_window;
    const MTBxItem* m_item;
};

} // namespace MiniToolbars

#endif
