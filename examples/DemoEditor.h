#ifndef MINITOOLBARS_DEMO_DEMOEDITOR_H
#define MINITOOLBARS_DEMO_DEMOEDITOR_H

#include "DemoSettings.h"

#include <MiniToolbars/MTBxItemEvents.h>

#include <QColor>
#include <QMainWindow>
#include <QStringList>
#include <QTextCharFormat>

#include <list>

class QAction;
class QMenu;
class QPlainTextEdit;
class QTextEdit;

namespace MiniToolbars {
class ActionToolbar;
class Controller;
class MTBxCombobox;
class MTBxDropDownEntry;
class MTBxItem;
class MiniToolbar;
}

// The demo host: a text editor that shows a mini toolbar of QActions above its
// selection, keeps it there while the selection changes and closes it when the
// selection goes. Everything the toolbar reports ends up in the log pane.
// Its own raw items (a font-size box and a find entry) report to it as the
// host's item sink.
class DemoEditor : public QMainWindow, private MTBxItemEvents
{
    Q_OBJECT

public:
    explicit DemoEditor(const DemoSettings& settings, QWidget* parent = nullptr);
    ~DemoEditor() override;

    QTextEdit* textEdit() const;
    MiniToolbars::Controller* controller() const;
    MiniToolbars::MiniToolbar* toolbar() const;
    bool isToolbarShown() const;
    // The toolbar action with this object name, or null.
    QAction* action(const QString& id) const;
    // The shown toolbar's item with this id, or null.
    MiniToolbars::MTBxItem* item(const QString& id) const;
    // The find entry while the toolbar shows, null otherwise.
    MiniToolbars::MTBxDropDownEntry* findEntry() const;
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

private:
    QAction* addAction(const QString& id, const QString& text, const QString& tip, void (DemoEditor::*slot)());
    void createMenus();
    void createToolbar();
    void updateMenuChecks();
    void applyOptions();
    void onSelectionChanged();
    void showToolbar();
    void customizeItems();
    void addOwnItems();
    void Notify(void* context, EventType type, unsigned int* p1, unsigned int* p2) override;
    void onFindEvent(EventType type, unsigned int* p1);
    void findText(const QString& text);
    void addSearch(const QString& text);
    void syncCheckStates();
    int fontSizeIndex() const;
    QRect selectionRect() const;
    QTextCharFormat selectionFormat() const;
    void mergeFormat(const QTextCharFormat& format);
    void applyColour(const QColor& colour);
    void addRecent(const QString& text);
    void logEvent(const QString& line);

    DemoSettings m_settings;
    QTextEdit* m_editor = nullptr;
    QPlainTextEdit* m_log = nullptr;
    QMenu* m_optionsMenu = nullptr;
    QMenu* m_colourMenu = nullptr;
    QMenu* m_recentMenu = nullptr;
    QAction* m_lightAction = nullptr;
    QAction* m_darkAction = nullptr;
    QList<QAction*> m_scaleActions;
    QAction* m_autoFadeAction = nullptr;
    QAction* m_tooltipsAction = nullptr;
    QAction* m_debugTooltipsAction = nullptr;
    QAction* m_solidLookAction = nullptr;
    QAction* m_colourAction = nullptr;
    QColor m_colour;
    MiniToolbars::ActionToolbar* m_toolbar = nullptr;
    MiniToolbars::MTBxCombobox* m_fontSizeBox = nullptr;
    MiniToolbars::MTBxDropDownEntry* m_findEntry = nullptr;
    // Previous searches, newest first; each one's address is its entry's context.
    std::list<QString> m_searches;
    QStringList m_eventLog;
    QString m_lastLine;
    int m_repeats = 0;
};

#endif
