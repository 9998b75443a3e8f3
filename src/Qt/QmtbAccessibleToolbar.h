#ifndef MINITOOLBARS_QMTBACCESSIBLETOOLBAR_H
#define MINITOOLBARS_QMTBACCESSIBLETOOLBAR_H

#include <QAccessibleWidget>
#include <QString>

#include <map>
#include <vector>

namespace MiniToolbars {

class ItemView;
class MTBxItem;
class QmtbView;

// A toolbar window as a screen reader sees it: a tool bar whose children are
// its items, row breaks left out.
class QmtbAccessibleToolbar : public QAccessibleWidget
{
public:
    explicit QmtbAccessibleToolbar(QmtbView* window);
    ~QmtbAccessibleToolbar() override;

    // The window's interface if one was made, else null.
    static QmtbAccessibleToolbar* existing(const QmtbView* window);
    // The window is being destroyed: from now on the interface is empty.
    void forget();

    // Null once forgotten.
    QmtbView* toolbarWindow() const { return m_window; }
    // The items shown now, in layout order.
    std::vector<ItemView*> itemViews() const;
    // The view of item in this window, or null once it has gone.
    ItemView* viewOf(const MTBxItem* item) const;
    // Screen rectangle of layout-space bounds.
    QRect screenRect(float top, float left, float bottom, float right) const;
    // Announces check and name changes since the last call.
    void announceChanges();
    QAccessibleInterface* interfaceOf(const ItemView* view);

    bool isValid() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

private:
    struct Known
    {
        QAccessible::Id id;
        bool checked;
        QString name;
    };
    QmtbView* m_window;
    // Compared, never dereferenced: items go away without telling.
    mutable std::map<const MTBxItem*, Known> m_known;
};

} // namespace MiniToolbars

#endif
