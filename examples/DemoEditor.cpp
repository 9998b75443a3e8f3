#include "DemoEditor.h"

#include "EventText.h"
#include "ToolbarPlacement.h"

#include <MiniToolbars/MiniToolbars.h>

#include <QAction>
#include <QActionGroup>
#include <QBuffer>
#include <QCursor>
#include <QDockWidget>
#include <QEvent>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cmath>

using namespace MiniToolbars;

namespace {

enum Action {
    FormatLabel,
    Bold,
    Italic,
    Underline,
    Highlight,
    ClearFormat,
    ShowOptions,
    Copy,
    Larger,
    Smaller,
    CloseToolbar,
    ActionCount
};

const char* const actionIds[ActionCount] = {
    "format-label", "bold", "italic", "underline", "highlight", "clear-format",
    "options", "copy", "larger", "smaller", "close",
};

const float offeredScales[] = {1.0f, 1.5f, 2.0f};
const QColor highlightColor(255, 236, 110);

MTBxString mtbString(const QString& text)
{
    return MTBxString(reinterpret_cast<const unsigned short*>(text.utf16()));
}

QString sampleText()
{
    return QStringLiteral(
        "A mini toolbar is a small, floating and translucent toolbar that appears right where "
        "you work. Select a few words in this page and it shows up just above them, with the "
        "commands that make sense for a selection.\n\n"
        "Move the pointer away and the toolbar fades, so that it never stands between you and "
        "your text. Bring the pointer back and it becomes opaque again. One item on its second "
        "row never fades: it stays in place, ready to close the toolbar.\n\n"
        "The buttons Bold, Italic and Underline are checkable. Each of them follows the "
        "formatting of the selected text and changes it when you click. Highlight marks the "
        "selection with a yellow background, Clear removes every format, and the two size "
        "commands make the text larger or smaller.\n\n"
        "Typing goes on while the toolbar is shown: the keyboard stays with the editor. A click "
        "next to the toolbar lands in the text and moves the cursor there, as if the toolbar "
        "were not there at all.\n\n"
        "You can drag the toolbar by its grip. Every event the toolbar sends, hovering, clicks, "
        "checks, drags and fades, is listed in the log below together with the id of the item "
        "that sent it.\n\n"
        "The Options menu switches between the light and the dark theme, changes the scaling "
        "factor, and turns the automatic fading, the tooltips and the debug tooltips on and "
        "off. The same choices are available as command-line switches; run the demo with "
        "--help to see them.\n\n"
        "The quick brown fox jumps over the lazy dog. Pack my box with five dozen liquor jugs. "
        "How vexingly quick daft zebras jump. Sphinx of black quartz, judge my vow.");
}

// A highlighter pen, drawn here and handed over as encoded PNG bytes.
QByteArray highlightIconPng()
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(highlightColor);
    painter.drawRect(QRectF(3, 23, 26, 6));
    painter.translate(16, 14);
    painter.rotate(45);
    painter.setPen(QPen(QColor(60, 60, 60), 2));
    painter.setBrush(QColor(250, 210, 40));
    painter.drawRoundedRect(QRectF(-5, -12, 10, 18), 2, 2);
    QPainterPath tip;
    tip.moveTo(-5, 6);
    tip.lineTo(0, 12);
    tip.lineTo(5, 6);
    tip.closeSubpath();
    painter.setBrush(QColor(60, 60, 60));
    painter.drawPath(tip);
    painter.end();

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

struct DemoEditor::ItemContext
{
    int action;
    QString id;
};

class DemoEditor::ItemSink : public MTBxItemEvents
{
public:
    explicit ItemSink(DemoEditor& editor) : m_editor(editor) {}

    void Notify(void* hostContext, EventType type, unsigned int* p1, unsigned int* p2) override
    {
        for (const auto& context : m_editor.m_contexts) {
            if (context.get() == hostContext) {
                m_editor.itemEvent(context.get(), type, reinterpret_cast<std::uintptr_t>(p1),
                                   reinterpret_cast<std::uintptr_t>(p2));
                return;
            }
        }
    }

private:
    DemoEditor& m_editor;
};

class DemoEditor::ToolbarSink : public MTBxToolbarEvents
{
public:
    explicit ToolbarSink(DemoEditor& editor) : m_editor(editor) {}

    void Notify(void* hostContext, EventType type, unsigned int* p1, unsigned int* p2) override
    {
        if (hostContext == &m_editor)
            m_editor.toolbarEvent(type, reinterpret_cast<std::uintptr_t>(p1),
                                  reinterpret_cast<std::uintptr_t>(p2));
    }

private:
    DemoEditor& m_editor;
};

DemoEditor::DemoEditor(const DemoSettings& settings, QWidget* parent)
    : QMainWindow(parent)
    , m_settings(settings)
    , m_itemSink(std::make_unique<ItemSink>(*this))
    , m_toolbarSink(std::make_unique<ToolbarSink>(*this))
    , m_controller(Controller::createInstance())
    , m_toolbar(std::make_unique<MiniToolbar>(MTBxString(L"selection"), this))
{
    setWindowTitle(QStringLiteral("MiniToolbars demo"));

    for (int action = 0; action < ActionCount; ++action)
        m_contexts.push_back(std::make_unique<ItemContext>(
            ItemContext{action, QString::fromLatin1(actionIds[action])}));

    m_editor = new QTextEdit(this);
    m_editor->setAcceptRichText(false);
    m_editor->setPlainText(sampleText());
    setCentralWidget(m_editor);

    m_log = new QPlainTextEdit;
    m_log->setReadOnly(true);
    m_log->setMaximumBlockCount(2000);
    m_log->setFocusPolicy(Qt::ClickFocus);
    auto* dock = new QDockWidget(QStringLiteral("Events"), this);
    dock->setObjectName(QStringLiteral("events"));
    dock->setWidget(m_log);
    addDockWidget(Qt::BottomDockWidgetArea, dock);

    createMenus();
    statusBar()->showMessage(QStringLiteral("Select some text to see the mini toolbar."));

    connect(m_editor, &QTextEdit::selectionChanged, this, &DemoEditor::onSelectionChanged);
    connect(m_editor->verticalScrollBar(), &QScrollBar::valueChanged, this, &DemoEditor::placeToolbar);
    connect(m_editor->horizontalScrollBar(), &QScrollBar::valueChanged, this, &DemoEditor::placeToolbar);

    MTBxItemEventsUtility::SetMTBxItemEvents(m_itemSink.get());
    MTBxToolbarEventsUtility::SetMTBxToolbarEvents(m_toolbarSink.get());
    applyOptions();
    m_editor->setFocus();
}

DemoEditor::~DemoEditor()
{
    // Children outlive this body; keep their late signals away from a half-destroyed host.
    m_editor->viewport()->removeEventFilter(this);
    disconnect(m_editor, nullptr, this, nullptr);
    disconnect(m_editor->verticalScrollBar(), nullptr, this, nullptr);
    disconnect(m_editor->horizontalScrollBar(), nullptr, this, nullptr);

    m_controller->closeToolbar(m_toolbar.get());
    m_toolbar.reset();
    if (MTBxItemEventsUtility::GetMTBxItemEvents() == m_itemSink.get())
        MTBxItemEventsUtility::SetMTBxItemEvents(nullptr);
    if (MTBxToolbarEventsUtility::GetMTBxToolbarEvents() == m_toolbarSink.get())
        MTBxToolbarEventsUtility::SetMTBxToolbarEvents(nullptr);
    m_controller.reset();
}

QTextEdit* DemoEditor::textEdit() const
{
    return m_editor;
}

Controller* DemoEditor::controller() const
{
    return m_controller.get();
}

MiniToolbar* DemoEditor::toolbar() const
{
    return m_toolbar.get();
}

bool DemoEditor::isToolbarShown() const
{
    return m_shown && m_toolbar->isVisible();
}

MTBxItem* DemoEditor::item(const QString& id) const
{
    for (int i = 0; i < m_toolbar->itemCount(); ++i) {
        MTBxItem* candidate = m_toolbar->item(i);
        if (QString::fromUtf16(static_cast<const unsigned short*>(candidate->id())) == id)
            return candidate;
    }
    return nullptr;
}

QRect DemoEditor::toolbarRect() const
{
    if (!m_shown)
        return {};
    float top = 0, left = 0, bottom = 0, right = 0;
    if (!m_toolbar->getBounds(top, left, bottom, right))
        return {};
    int x = 0, y = 0;
    m_controller->getToolbarPosition(m_toolbar.get(), x, y);
    // The grip hangs to the left of the first item, outside the reported bounds.
    const float gripReach = 12.0f * m_settings.scalingFactor;
    return toolbarScreenRect(QPoint(x, y), top, left - gripReach, bottom, right);
}

QRect DemoEditor::viewportRect() const
{
    const QWidget* viewport = m_editor->viewport();
    return QRect(viewport->mapToGlobal(QPoint(0, 0)), viewport->size());
}

QStringList DemoEditor::eventLog() const
{
    return m_eventLog;
}

const DemoSettings& DemoEditor::settings() const
{
    return m_settings;
}

void DemoEditor::applySettings(const DemoSettings& settings)
{
    const QString tourDirectory = m_settings.tourDirectory;
    m_settings = settings;
    m_settings.tourDirectory = tourDirectory;
    updateMenuChecks();
    applyOptions();
    rebuildToolbar();
}

void DemoEditor::selectText(int start, int length)
{
    QTextCursor cursor(m_editor->document());
    const int end = m_editor->document()->characterCount() - 1;
    cursor.setPosition(std::clamp(start, 0, end));
    cursor.setPosition(std::clamp(start + length, 0, end), QTextCursor::KeepAnchor);
    m_editor->setTextCursor(cursor);
    m_editor->ensureCursorVisible();
}

void DemoEditor::pointerMovedTo(const QPoint& globalPos)
{
    m_controller->pointerMoved(globalPos.x(), globalPos.y());
}

void DemoEditor::mtbMoved(int& dx, int& dy)
{
    // Drags go through unchanged; the toolbar stays where the user leaves it.
    Q_UNUSED(dx)
    Q_UNUSED(dy)
    m_userPlaced = true;
}

void DemoEditor::getMtbParentBounds(int x, int y, int& left, int& top, int& width, int& height)
{
    Q_UNUSED(x)
    Q_UNUSED(y)
    const QRect bounds = viewportRect();
    left = bounds.left();
    top = bounds.top();
    width = bounds.width();
    height = bounds.height();
}

HWND DemoEditor::getParentHwnd()
{
    return reinterpret_cast<HWND>(window()->winId());
}

void DemoEditor::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    placeToolbar();
}

void DemoEditor::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    placeToolbar();
}

void DemoEditor::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Quit"), this, &QWidget::close, QKeySequence::Quit);

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
        m_scaleActions.push_back(action);
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
    for (QAction* action : {m_autoFadeAction, m_tooltipsAction, m_debugTooltipsAction}) {
        action->setCheckable(true);
        connect(action, &QAction::toggled, this, [this, action](bool on) {
            DemoSettings changed = m_settings;
            if (action == m_autoFadeAction)
                changed.autoFade = on;
            else if (action == m_tooltipsAction)
                changed.tooltips = on;
            else
                changed.debugTooltips = on;
            if (changed.autoFade != m_settings.autoFade || changed.tooltips != m_settings.tooltips
                || changed.debugTooltips != m_settings.debugTooltips)
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
    const QSignalBlocker lightBlocker(m_lightAction);
    const QSignalBlocker darkBlocker(m_darkAction);
    m_lightAction->setChecked(m_settings.theme == DemoSettings::Theme::Light);
    m_darkAction->setChecked(m_settings.theme == DemoSettings::Theme::Dark);
    for (std::size_t i = 0; i < m_scaleActions.size(); ++i) {
        const QSignalBlocker blocker(m_scaleActions[i]);
        m_scaleActions[i]->setChecked(std::fabs(offeredScales[i] - m_settings.scalingFactor) < 0.01f);
    }
    const QSignalBlocker fadeBlocker(m_autoFadeAction);
    const QSignalBlocker tipsBlocker(m_tooltipsAction);
    const QSignalBlocker debugBlocker(m_debugTooltipsAction);
    m_autoFadeAction->setChecked(m_settings.autoFade);
    m_tooltipsAction->setChecked(m_settings.tooltips);
    m_debugTooltipsAction->setChecked(m_settings.debugTooltips);
}

void DemoEditor::applyOptions()
{
    Options options;
    options.setTheme(m_settings.theme == DemoSettings::Theme::Dark ? Options::Dark : Options::Light);
    options.setScalingFactor(m_settings.scalingFactor);
    options.setAutoFade(m_settings.autoFade);
    m_controller->setOptions(options);
    SetMTBTooltipOption(TooltipsEnabled, m_settings.tooltips);
    SetMTBTooltipOption(DebugTooltip, m_settings.debugTooltips);
}

void DemoEditor::onSelectionChanged()
{
    m_userPlaced = false;
    if (!m_editor->textCursor().hasSelection()) {
        closeToolbar();
        return;
    }
    if (isToolbarShown()) {
        syncCheckStates();
        placeToolbar();
    } else {
        showToolbar();
    }
}

void DemoEditor::showToolbar()
{
    if (m_toolbar->isEmpty())
        addItems();
    syncCheckStates();
    int anchorX = 0;
    const QRect selection = selectionRect(&anchorX);
    const QPoint corner = toolbarOrigin(selection, anchorX, toolbarSize(), viewportRect(),
                                        static_cast<int>(std::lround(6 * m_settings.scalingFactor)));
    m_shown = m_controller->showToolbar(m_toolbar.get(), corner.x(), corner.y(), this, false);
    // The first layout pass may still be pending: place again once it has run.
    QTimer::singleShot(0, this, &DemoEditor::placeToolbar);
    QTimer::singleShot(50, this, &DemoEditor::placeToolbar);
}

void DemoEditor::placeToolbar()
{
    if (!m_shown || m_userPlaced || !m_editor->textCursor().hasSelection())
        return;
    int anchorX = 0;
    const QRect selection = selectionRect(&anchorX);
    const QPoint corner = toolbarOrigin(selection, anchorX, toolbarSize(), viewportRect(),
                                        static_cast<int>(std::lround(6 * m_settings.scalingFactor)));
    // The origin is the top-left corner of the first row; the drawn area may start elsewhere.
    int x = 0, y = 0;
    m_controller->getToolbarPosition(m_toolbar.get(), x, y);
    const QRect drawn = toolbarRect();
    const QPoint offset = drawn.isValid() ? drawn.topLeft() - QPoint(x, y) : QPoint();
    const QPoint origin = corner - offset;
    if (origin != QPoint(x, y))
        m_controller->moveToolbar(m_toolbar.get(), origin.x(), origin.y(), false);
}

void DemoEditor::closeToolbar()
{
    if (!m_shown)
        return;
    m_shown = false;
    m_controller->closeToolbar(m_toolbar.get());
}

void DemoEditor::rebuildToolbar()
{
    if (!m_shown)
        return;
    closeToolbar();
    if (m_editor->textCursor().hasSelection())
        showToolbar();
}

void DemoEditor::addItems()
{
    const auto context = [this](int action) { return m_contexts[action].get(); };

    auto* label = new MTBxLabel(L"format-label", context(FormatLabel));
    label->setText(L"Format");
    label->setShowText(true);
    m_toolbar->addItem(label);
    m_toolbar->addItem(new MTBxSeparator);

    const struct {
        int action;
        const wchar_t* text;
        const wchar_t* tip;
        const wchar_t* shortcut;
    } styles[] = {
        {Bold, L"Bold", L"Make the selection bold", L"Ctrl+B"},
        {Italic, L"Italic", L"Make the selection italic", L"Ctrl+I"},
        {Underline, L"Underline", L"Underline the selection", L"Ctrl+U"},
    };
    for (const auto& style : styles) {
        auto* button = new MTBxButton(mtbString(m_contexts[style.action]->id), context(style.action));
        button->setText(style.text);
        button->setShowText(true);
        button->setToolTip(style.tip);
        button->setShortcut(style.shortcut);
        button->setCheckable(true);
        button->setTag(style.action);
        m_toolbar->addItem(button);
    }
    m_toolbar->addItem(new MTBxSeparator);

    auto* highlight = new MTBxButton(L"highlight", context(Highlight));
    highlight->setText(L"Highlight");
    highlight->setShowText(true);
    highlight->setToolTip(L"Mark the selection with a yellow background");
    const QByteArray png = highlightIconPng();
    highlight->setIconData(reinterpret_cast<const unsigned char*>(png.constData()),
                           static_cast<unsigned int>(png.size()));
    highlight->setTag(Highlight);
    m_toolbar->addItem(highlight);

    auto* clear = new MTBxButton(L"clear-format", context(ClearFormat));
    clear->setText(L"Clear");
    clear->setShowText(true);
    clear->setToolTip(L"Remove every format from the selection");
    const QString clearIcon = QFileInfo(QStringLiteral(MTB_DEMO_ICON_DIR "/clear-format.svg")).absoluteFilePath();
    clear->setIcon(mtbString(clearIcon));
    clear->setTag(ClearFormat);
    m_toolbar->addItem(clear);

    auto* options = new MTBxButton(L"options", context(ShowOptions));
    options->setText(L"Options");
    options->setShowText(false);
    options->setToolTip(L"Theme, scale, fading and tooltips");
    options->setIcon(m_settings.theme == DemoSettings::Theme::Dark ? L":/MiniToolbars/Options_D.svg"
                                                                   : L":/MiniToolbars/Options_L.svg");
    options->setTag(ShowOptions);
    m_toolbar->addItem(options);

    m_toolbar->addItem(new MTBxNewLine);

    auto* copy = new MTBxCommandItem(L"copy", context(Copy));
    copy->setText(L"Copy");
    copy->setShowText(true);
    copy->setToolTip(L"Copy the selection to the clipboard");
    copy->setShortcut(L"Ctrl+C");
    copy->setTag(Copy);
    m_toolbar->addItem(copy);
    m_toolbar->addItem(new MTBxSeparator);

    auto* larger = new MTBxButton(L"larger", context(Larger));
    larger->setText(L"Larger");
    larger->setShowText(true);
    larger->setToolTip(L"Increase the font size of the selection");
    larger->setTag(Larger);
    m_toolbar->addItem(larger);

    auto* smaller = new MTBxButton(L"smaller", context(Smaller));
    smaller->setText(L"Smaller");
    smaller->setShowText(true);
    smaller->setToolTip(L"Decrease the font size of the selection");
    smaller->setTag(Smaller);
    m_toolbar->addItem(smaller);
    m_toolbar->addItem(new MTBxSeparator);

    // The one item that stays when the rest of the toolbar fades out.
    auto* close = new MTBxCommandItem(L"close", context(CloseToolbar));
    close->setText(L"Close");
    close->setShowText(true);
    close->setToolTip(L"Close the toolbar; it never fades");
    close->setAutoHide(false);
    close->setTag(CloseToolbar);
    m_toolbar->addItem(close);
}

void DemoEditor::syncCheckStates()
{
    const QTextCursor selection = m_editor->textCursor();
    if (!selection.hasSelection())
        return;
    // The format of the first selected character decides.
    QTextCursor probe(m_editor->document());
    probe.setPosition(selection.selectionStart() + 1);
    const QTextCharFormat format = probe.charFormat();
    const struct {
        int action;
        bool on;
    } states[] = {
        {Bold, format.fontWeight() >= QFont::Bold},
        {Italic, format.fontItalic()},
        {Underline, format.fontUnderline()},
    };
    for (const auto& state : states) {
        if (MTBxItem* item = m_toolbar->itemWithTag(state.action)) {
            if (item->isChecked() != state.on)
                item->setChecked(state.on, false);
        }
    }
}

QRect DemoEditor::selectionRect(int* anchorX) const
{
    const QTextCursor selection = m_editor->textCursor();
    QTextCursor start(m_editor->document());
    start.setPosition(selection.selectionStart());
    QTextCursor end(m_editor->document());
    end.setPosition(selection.selectionEnd());
    const QRect first = m_editor->cursorRect(start);
    const QRect last = m_editor->cursorRect(end);
    QWidget* viewport = m_editor->viewport();
    const QRect rect(viewport->mapToGlobal(first.topLeft()), viewport->mapToGlobal(last.bottomRight()));
    if (anchorX)
        *anchorX = viewport->mapToGlobal(first.topLeft()).x();
    return rect.normalized();
}

QSize DemoEditor::toolbarSize() const
{
    const QRect drawn = toolbarRect();
    if (drawn.isValid() && !drawn.isEmpty())
        return drawn.size();
    // Not laid out yet: roughly two rows of captioned items.
    const float scale = m_settings.scalingFactor;
    return QSize(static_cast<int>(380 * scale), static_cast<int>(52 * scale));
}

void DemoEditor::itemEvent(ItemContext* context, int type, std::uintptr_t p1, std::uintptr_t p2)
{
    logEvent(describeItemEvent(context->id, type, p1, p2));
    switch (type) {
    case MTBxItemEvents::CheckedChanged:
        setSelectionFormat(context->action, p1 != 0);
        break;
    case MTBxItemEvents::Clicked:
        runAction(context->action);
        break;
    default:
        break;
    }
}

void DemoEditor::toolbarEvent(int type, std::uintptr_t p1, std::uintptr_t p2)
{
    logEvent(describeToolbarEvent(QStringLiteral("selection"), type, p1, p2));
    if (type == MTBxToolbarEvents::ToolbarMoved)
        m_userPlaced = true;
}

void DemoEditor::runAction(int action)
{
    QTextCursor cursor = m_editor->textCursor();
    switch (action) {
    case Highlight: {
        if (!cursor.hasSelection())
            return;
        QTextCursor probe(m_editor->document());
        probe.setPosition(cursor.selectionStart() + 1);
        const bool marked = probe.charFormat().background().color() == highlightColor;
        QTextCharFormat format;
        format.setBackground(marked ? QBrush(Qt::transparent) : QBrush(highlightColor));
        cursor.mergeCharFormat(format);
        break;
    }
    case ClearFormat:
        if (!cursor.hasSelection())
            return;
        cursor.setCharFormat(QTextCharFormat());
        syncCheckStates();
        break;
    case ShowOptions:
        // Opened from the event loop: a menu's own loop must not run inside the callback.
        QTimer::singleShot(0, this, [this] { m_optionsMenu->popup(QCursor::pos()); });
        break;
    case Copy:
        m_editor->copy();
        statusBar()->showMessage(QStringLiteral("Copied to the clipboard."), 3000);
        break;
    case Larger:
    case Smaller: {
        if (!cursor.hasSelection())
            return;
        QTextCursor probe(m_editor->document());
        probe.setPosition(cursor.selectionStart() + 1);
        qreal size = probe.charFormat().fontPointSize();
        if (size <= 0)
            size = m_editor->font().pointSizeF();
        QTextCharFormat format;
        format.setFontPointSize(std::clamp(size + (action == Larger ? 2.0 : -2.0), 6.0, 48.0));
        cursor.mergeCharFormat(format);
        // Taller lines move the selection: follow it once the layout has settled.
        QTimer::singleShot(0, this, &DemoEditor::placeToolbar);
        break;
    }
    case CloseToolbar:
        // Closing from inside the toolbar's own event would only hide it.
        QTimer::singleShot(0, this, &DemoEditor::closeToolbar);
        break;
    default:
        break;
    }
}

void DemoEditor::setSelectionFormat(int action, bool on)
{
    QTextCursor cursor = m_editor->textCursor();
    if (!cursor.hasSelection())
        return;
    QTextCharFormat format;
    switch (action) {
    case Bold:
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        break;
    case Italic:
        format.setFontItalic(on);
        break;
    case Underline:
        format.setFontUnderline(on);
        break;
    default:
        return;
    }
    cursor.mergeCharFormat(format);
}

void DemoEditor::logEvent(const QString& line)
{
    // Bounded, so that a long session does not keep every line forever.
    if (m_eventLog.size() >= 10000)
        m_eventLog.removeFirst();
    m_eventLog.append(line);
    // Faded notifications come with every repaint: count repeats instead of listing them.
    if (line == m_lastLine) {
        ++m_repeats;
        statusBar()->showMessage(QStringLiteral("%1  (\u00d7%2)").arg(line).arg(m_repeats + 1));
        return;
    }
    m_lastLine = line;
    m_repeats = 0;
    m_log->appendPlainText(line);
    statusBar()->showMessage(line);
}
