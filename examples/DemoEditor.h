#ifndef MINITOOLBARS_DEMO_DEMOEDITOR_H
#define MINITOOLBARS_DEMO_DEMOEDITOR_H

#include "DemoSettings.h"

#include <MiniToolbars/ControllerObserver.h>

#include <QMainWindow>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QPlainTextEdit;
class QTextEdit;

namespace MiniToolbars {
class Controller;
class MTBxItem;
class MiniToolbar;
}

// The demo host: a text editor that shows a mini toolbar above its selection,
// keeps it there while the selection changes and closes it when the selection
// goes. Every event the library sends ends up in the log pane.
class DemoEditor : public QMainWindow, public MiniToolbars::ControllerObserver
{
    Q_OBJECT

public:
    explicit DemoEditor(const DemoSettings& settings, QWidget* parent = nullptr);
    ~DemoEditor() override;

    QTextEdit* textEdit() const;
    MiniToolbars::Controller* controller() const;
    MiniToolbars::MiniToolbar* toolbar() const;
    bool isToolbarShown() const;
    // The shown toolbar's item with this id, or null.
    MiniToolbars::MTBxItem* item(const QString& id) const;
    // The toolbar's area in screen pixels, empty while it is not shown.
    QRect toolbarRect() const;
    // The editor's visible text area in screen pixels.
    QRect viewportRect() const;
    // Every event line logged so far, oldest first.
    QStringList eventLog() const;

    const DemoSettings& settings() const;
    // Applies theme, scale, fade and tooltip choices and rebuilds a shown toolbar.
    void applySettings(const DemoSettings& settings);
    // Selects text as the user would, which shows or moves the toolbar.
    void selectText(int start, int length);
    // Feeds a pointer position (screen pixels) to the auto fade; moves over
    // the application's own windows need no such call.
    void pointerMovedTo(const QPoint& globalPos);

    void mtbMoved(int& dx, int& dy) override;
    void getMtbParentBounds(int x, int y, int& left, int& top, int& width, int& height) override;
    HWND getParentHwnd() override;

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class ItemSink;
    class ToolbarSink;
    struct ItemContext;

    void createMenus();
    void updateMenuChecks();
    void applyOptions();
    void onSelectionChanged();
    void showToolbar();
    void placeToolbar();
    void closeToolbar();
    void rebuildToolbar();
    void addItems();
    void syncCheckStates();
    QRect selectionRect(int* anchorX) const;
    QSize toolbarSize() const;

    void itemEvent(ItemContext* context, int type, std::uintptr_t p1, std::uintptr_t p2);
    void toolbarEvent(int type, std::uintptr_t p1, std::uintptr_t p2);
    void runAction(int action);
    void setSelectionFormat(int action, bool on);
    void logEvent(const QString& line);

    DemoSettings m_settings;
    QTextEdit* m_editor = nullptr;
    QPlainTextEdit* m_log = nullptr;
    QMenu* m_optionsMenu = nullptr;
    QAction* m_lightAction = nullptr;
    QAction* m_darkAction = nullptr;
    std::vector<QAction*> m_scaleActions;
    QAction* m_autoFadeAction = nullptr;
    QAction* m_tooltipsAction = nullptr;
    QAction* m_debugTooltipsAction = nullptr;

    std::unique_ptr<ItemSink> m_itemSink;
    std::unique_ptr<ToolbarSink> m_toolbarSink;
    std::vector<std::unique_ptr<ItemContext>> m_contexts;
    std::unique_ptr<MiniToolbars::Controller> m_controller;
    std::unique_ptr<MiniToolbars::MiniToolbar> m_toolbar;
    bool m_shown = false;
    // While set the user has dragged the toolbar; it stays put until the selection changes.
    bool m_userPlaced = false;
    QStringList m_eventLog;
    QString m_lastLine;
    int m_repeats = 0;
};

#endif
