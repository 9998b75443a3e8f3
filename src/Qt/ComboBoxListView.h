#ifndef MINITOOLBARS_COMBOBOXLISTVIEW_H
#define MINITOOLBARS_COMBOBOXLISTVIEW_H

#include "Compat/QtCompat.h"
#include "Core/ComboListPopup.h"

#include <QListWidget>
#include <QPointer>

class QPushButton;

namespace MiniToolbars {

class MTBxCombobox;
class QmtbView;

// The combo box's list: a child widget of the toolbar window, which grows to
// hold it while it shows. It never takes the keyboard from the host: while
// it shows, the application's Up, Down, Page Up, Page Down, Home, End,
// Return, Enter and Escape presses come to it instead, and a press anywhere
// outside the toolbar window closes it. Every entry from the event loop
// counts as a delivery of the window, so a callback that removes children,
// the combo box or the toolbar leaves the list's work intact.
class ComboBoxListView : public QListWidget, public ComboListPopup
{
    Q_OBJECT

public:
    // The most the list grows to before it scrolls, at scaling factor 1.
    static constexpr int maxHeight = 300;

    ComboBoxListView(MTBxCombobox* combo, QmtbView* window);
    ~ComboBoxListView() override;

    // ComboListPopup
    MTBxItem* item() const override;
    using QListWidget::item;
    void dismissPopup(bool quiet) override;
    void hidePopup() override;
    void release() override;
    void addRow(MTBxItem* child) override;
    bool updateRow(int row, MTBxItem* child) override;
    void removeRow(const MTBxItem* child) override;
    void setCurrentRow(const MTBxItem* child) override;
    void popUp(const Point& point, float flipY) override;
    void fitHeight() override;

    QPushButton* removeButton() const { return m_removeButton; }
    MTBxItem* hoveredEntry() const { return m_hoveredEntry; }
    static MTBxItem* childOf(const QListWidgetItem* row);
    QListWidgetItem* rowOf(const MTBxItem* child) const;

public Q_SLOTS:
    void handleClicked(QListWidgetItem* row);
    void handleEntered(QListWidgetItem* row);
    void handleRemoveClicked();
    void handleItemChanged(QListWidgetItem* current, QListWidgetItem* previous);
    void menuClosing();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QtCompat::EnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The combo box still shows on its window.
    bool isLive() const;
    bool isPartOfToolbar(const QWidget* widget) const;
    void fillRow(QListWidgetItem* row, MTBxItem* child);
    void unhover();

    QPushButton* m_removeButton = nullptr;
    MTBxCombobox* m_combo;
    QPointer<QmtbView> m_window;
    MTBxItem* m_hoveredEntry = nullptr;
};

} // namespace MiniToolbars

#endif
