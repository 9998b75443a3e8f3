// The demo's menus: its options, and what the view shows.
#include "DemoEditor.h"

#include <QAction>
#include <QActionGroup>
#include <QDockWidget>
#include <QMenuBar>
#include <QPlainTextEdit>

#include <cmath>

namespace {

const float offeredScales[] = {1.0f, 1.5f, 2.0f};

} // namespace

void DemoEditor::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* quit = file->addAction(QStringLiteral("&Quit"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    m_optionsMenu = menuBar()->addMenu(QStringLiteral("&Options"));
    auto* themes = new QActionGroup(this);
    m_lightAction = m_optionsMenu->addAction(QStringLiteral("&Light theme"));
    m_darkAction = m_optionsMenu->addAction(QStringLiteral("&Dark theme"));
    for (QAction* action : {m_lightAction, m_darkAction}) {
        action->setCheckable(true);
        themes->addAction(action);
        connect(action, &QAction::triggered, this, [this, action] {
            DemoSettings changed = m_settings;
            changed.theme = action == m_darkAction ? DemoSettings::Theme::Dark : DemoSettings::Theme::Light;
            applySettings(changed);
        });
    }
    m_optionsMenu->addSeparator();
    auto* scales = new QActionGroup(this);
    for (const float scale : offeredScales) {
        QAction* action = m_optionsMenu->addAction(QStringLiteral("Scale %1\u00d7").arg(static_cast<double>(scale)));
        action->setCheckable(true);
        scales->addAction(action);
        m_scaleActions.append(action);
        connect(action, &QAction::triggered, this, [this, scale] {
            DemoSettings changed = m_settings;
            changed.scalingFactor = scale;
            applySettings(changed);
        });
    }
    m_optionsMenu->addSeparator();
    m_autoFadeAction = m_optionsMenu->addAction(QStringLiteral("&Auto fade"));
    m_tooltipsAction = m_optionsMenu->addAction(QStringLiteral("&Tooltips"));
    m_debugTooltipsAction = m_optionsMenu->addAction(QStringLiteral("D&ebug tooltips"));
    m_solidLookAction = m_optionsMenu->addAction(QStringLiteral("&Solid look (over text)"));
    for (QAction* action : {m_autoFadeAction, m_tooltipsAction, m_debugTooltipsAction, m_solidLookAction}) {
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this] {
            DemoSettings changed = m_settings;
            changed.solidLook = m_solidLookAction->isChecked();
            changed.autoFade = m_autoFadeAction->isChecked();
            changed.tooltips = m_tooltipsAction->isChecked();
            changed.debugTooltips = m_debugTooltipsAction->isChecked();
            applySettings(changed);
        });
    }

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    for (QDockWidget* dock : findChildren<QDockWidget*>())
        view->addAction(dock->toggleViewAction());
    view->addAction(QStringLiteral("&Clear log"), m_log, &QPlainTextEdit::clear);
    updateMenuChecks();
}

void DemoEditor::updateMenuChecks()
{
    m_lightAction->setChecked(m_settings.theme == DemoSettings::Theme::Light);
    m_darkAction->setChecked(m_settings.theme == DemoSettings::Theme::Dark);
    for (int i = 0; i < m_scaleActions.size(); ++i)
        m_scaleActions[i]->setChecked(std::fabs(offeredScales[i] - m_settings.scalingFactor) < 0.01f);
    m_autoFadeAction->setChecked(m_settings.autoFade);
    m_tooltipsAction->setChecked(m_settings.tooltips);
    m_debugTooltipsAction->setChecked(m_settings.debugTooltips);
    m_solidLookAction->setChecked(m_settings.solidLook);
}
