#include "DemoEditor.h"
#include "DemoArtwork.h"

#include <MiniToolbars/MiniToolbars.h>

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QDockWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

using namespace MiniToolbars;

namespace {

const QColor highlightColor(255, 236, 110);
const QColor matchColor(140, 200, 255);

// The font-size box's rows; each size's address is its row's context.
const int fontSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 24, 28, 36, 48, 72};
// Contexts of the font-size box and the find entry themselves.
const char fontSizeContext = 0;
const char findContext = 0;

void* context(const void* address)
{
    return const_cast<void*>(address);
}

QString toQString(const MTBxString& text)
{
    return QString::fromWCharArray(static_cast<const wchar_t*>(text));
}

void addChild(MTBxListType* list, const QString& text, const void* address, MTBxItem* before = nullptr)
{
    auto* child = new MTBxButton(L"entry", context(address));
    child->setText(text.toStdWString().c_str());
    child->setParent(list);
    list->addItem(child, before);
}

} // namespace

DemoEditor::DemoEditor(const DemoSettings& settings, QWidget* parent)
    : QMainWindow(parent)
    , m_settings(settings)
    , m_colour(Qt::darkRed)
{
    setWindowTitle(QStringLiteral("MiniToolbars demo"));
    m_editor = new QTextEdit(this);
    m_editor->setAcceptRichText(false);
    m_editor->setPlainText(DemoArtwork::sampleText());
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
    createToolbar();
    statusBar()->showMessage(QStringLiteral("Select some text to see the mini toolbar."));

    connect(m_editor, &QTextEdit::selectionChanged, this, &DemoEditor::onSelectionChanged);
    // Scrolling and relayout (a larger font) move the selection: the toolbar follows.
    const auto follow = [this] {
        if (m_toolbar->isVisible())
            m_toolbar->setAnchor(selectionRect());
    };
    connect(m_editor->verticalScrollBar(), &QScrollBar::valueChanged, this, follow);
    connect(m_editor->horizontalScrollBar(), &QScrollBar::valueChanged, this, follow);
    connect(m_editor->document()->documentLayout(), &QAbstractTextDocumentLayout::update, this, follow);
    applyOptions();
    MTBxItemEventsUtility::SetMTBxItemEvents(this);
    m_editor->setFocus();
}

DemoEditor::~DemoEditor()
{
    // The editor's late signals must not reach a half-destroyed host.
    disconnect(m_editor, nullptr, this, nullptr);
    disconnect(m_editor->document()->documentLayout(), nullptr, this, nullptr);
    delete m_toolbar;
    if (MTBxItemEventsUtility::GetMTBxItemEvents() == this)
        MTBxItemEventsUtility::SetMTBxItemEvents(nullptr);
}

QAction* DemoEditor::addAction(const QString& id, const QString& text, const QString& tip, void (DemoEditor::*slot)())
{
    auto* action = new QAction(text, this);
    action->setObjectName(id);
    action->setToolTip(tip);
    if (slot)
        connect(action, &QAction::triggered, this, slot);
    connect(action, &QAction::triggered, this, [this, id] { logEvent(QStringLiteral("Triggered  %1").arg(id)); });
    m_toolbar->addAction(action);
    return action;
}

void DemoEditor::createToolbar()
{
    m_toolbar = new ActionToolbar;
    const struct {
        const char* id;
        const char* text;
        const char* tip;
        QKeySequence shortcut;
        void (QTextCharFormat::*set)(bool);
    } styles[] = {
        {"bold", "Bold", "Make the selection bold", QKeySequence::Bold, nullptr},
        {"italic", "Italic", "Make the selection italic", QKeySequence::Italic, &QTextCharFormat::setFontItalic},
        {"underline", "Underline", "Underline the selection", QKeySequence::Underline, &QTextCharFormat::setFontUnderline},
    };
    for (const auto& style : styles) {
        QAction* action = addAction(QLatin1String(style.id), QLatin1String(style.text), QLatin1String(style.tip), nullptr);
        action->setCheckable(true);
        action->setShortcut(style.shortcut);
        const auto set = style.set;
        connect(action, &QAction::triggered, this, [this, set](bool on) {
            QTextCharFormat format;
            set ? (format.*set)(on) : format.setFontWeight(on ? QFont::Bold : QFont::Normal);
            mergeFormat(format);
        });
    }
    m_toolbar->addSeparator();
    addAction("highlight", "Highlight", "Mark the selection with a yellow background", nullptr);
    connect(action("highlight"), &QAction::triggered, this, [this] {
        QTextCharFormat format;
        const bool marked = selectionFormat().background().color() == highlightColor;
        format.setBackground(marked ? QBrush(Qt::transparent) : QBrush(highlightColor));
        mergeFormat(format);
    });
    addAction("clear-format", "Clear", "Remove every format from the selection", nullptr)
        ->setIcon(QIcon(QStringLiteral(MTB_DEMO_ICON_DIR "/clear-format.svg")));
    connect(action("clear-format"), &QAction::triggered, this, [this] {
        m_editor->textCursor().setCharFormat(QTextCharFormat());
        syncCheckStates();
    });
    QAction* options = addAction("options", "Options", "Theme, scale, fading and tooltips", nullptr);
    options->setMenu(m_optionsMenu);
    options->setPriority(QAction::LowPriority);

    m_toolbar->addRowBreak();
    addAction("copy", "Copy", "Copy the selection to the clipboard", nullptr)->setShortcut(QKeySequence::Copy);
    connect(action("copy"), &QAction::triggered, this, [this] {
        m_editor->copy();
        addRecent(m_editor->textCursor().selectedText());
    });
    m_recentMenu = new QMenu(this);
    addAction("recent", "Recent", "What you copied; choose one to paste it", nullptr)->setMenu(m_recentMenu);
    m_toolbar->setRemovableEntries(action("recent"), true);
    m_toolbar->addSeparator();

    m_colourMenu = new QMenu(this);
    for (const QColor& colour : {QColor(Qt::darkRed), QColor(Qt::darkGreen), QColor(Qt::darkBlue), QColor(Qt::black)})
        m_colourMenu->addAction(DemoArtwork::swatch(colour), colour.name(), this, [this, colour] { applyColour(colour); });
    m_colourAction = addAction("colour", "Colour", "Apply the last colour; the arrow lists the others", nullptr);
    m_colourAction->setMenu(m_colourMenu);
    m_colourAction->setIcon(DemoArtwork::swatch(m_colour));
    m_toolbar->setSplitButton(m_colourAction, true);
    connect(m_colourAction, &QAction::triggered, this, [this] { applyColour(m_colour); });
    const std::pair<const char*, double> sizes[] = {{"larger", 2.0}, {"smaller", -2.0}};
    for (const auto& [id, step] : sizes) {
        addAction(id, step > 0 ? "Larger" : "Smaller", step > 0 ? "Increase the font size of the selection"
                                                                : "Decrease the font size of the selection", nullptr);
        connect(action(id), &QAction::triggered, this, [this, step = step] {
            const qreal size = selectionFormat().fontPointSize() > 0 ? selectionFormat().fontPointSize()
                                                                      : m_editor->font().pointSizeF();
            QTextCharFormat format;
            format.setFontPointSize(std::clamp(size + step, 6.0, 48.0));
            mergeFormat(format);
        });
    }
    m_toolbar->addSeparator();
    // Closing from the action's own slot needs no deferral.
    addAction("close", "Close", "Close the toolbar; it never fades", nullptr);
    connect(action("close"), &QAction::triggered, m_toolbar, &ActionToolbar::close);

    connect(m_toolbar, &ActionToolbar::hovered, this,
            [this](QAction* action) { logEvent(QStringLiteral("Hovered  %1").arg(action->objectName())); });
    connect(m_toolbar, &ActionToolbar::movedByUser, this,
            [this](QPoint at) { logEvent(QStringLiteral("Moved by the user  to %1, %2").arg(at.x()).arg(at.y())); });
    connect(m_toolbar, &ActionToolbar::fadedIn, this, [this] { logEvent(QStringLiteral("Faded in")); });
    connect(m_toolbar, &ActionToolbar::fadedOut, this, [this] { logEvent(QStringLiteral("Faded out")); });
    connect(m_toolbar, &ActionToolbar::closed, this, [this] {
        m_fontSizeBox = nullptr;
        m_findEntry = nullptr;
        m_editor->setExtraSelections({});
        logEvent(QStringLiteral("Closed"));
    });
    connect(m_toolbar, &ActionToolbar::modifiedClick, this, [this](QAction* action, Qt::KeyboardModifiers modifiers) {
        logEvent(QStringLiteral("Modified click  %1  modifiers 0x%2").arg(action->objectName()).arg(int(modifiers), 0, 16));
    });
    connect(m_toolbar, &ActionToolbar::wheelTurned, this, [this](QAction* action, int delta) {
        logEvent(QStringLiteral("Wheel  %1  %2").arg(action ? action->objectName() : QString()).arg(delta));
    });
    connect(m_toolbar, &ActionToolbar::keyPressed, this,
            [this](int key) { logEvent(QStringLiteral("Key down  vk 0x%1").arg(key, 0, 16)); });
    connect(m_toolbar, &ActionToolbar::keyReleased, this,
            [this](int key) { logEvent(QStringLiteral("Key up  vk 0x%1").arg(key, 0, 16)); });
    connect(m_toolbar, &ActionToolbar::removeRequested, this, [this](QAction* entry) {
        logEvent(QStringLiteral("Removed from Recent  %1").arg(entry->text()));
        delete entry;
    });
}

void DemoEditor::applyColour(const QColor& colour)
{
    m_colour = colour;
    m_colourAction->setIcon(DemoArtwork::swatch(colour));
    QTextCharFormat format;
    format.setForeground(colour);
    mergeFormat(format);
}

void DemoEditor::addRecent(const QString& text)
{
    const QString entry = text.left(24);
    if (entry.isEmpty())
        return;
    QAction* recent = new QAction(entry, m_recentMenu);
    connect(recent, &QAction::triggered, this, [this, text] { m_editor->textCursor().insertText(text); });
    m_recentMenu->insertAction(m_recentMenu->actions().value(0), recent);
    while (m_recentMenu->actions().size() > 6)
        delete m_recentMenu->actions().constLast();
}

QTextEdit* DemoEditor::textEdit() const
{
    return m_editor;
}

Controller* DemoEditor::controller() const
{
    return ActionToolbar::controller();
}

MTBxDropDownEntry* DemoEditor::findEntry() const
{
    return m_findEntry;
}

MiniToolbar* DemoEditor::toolbar() const
{
    return m_toolbar->miniToolbar();
}

bool DemoEditor::isToolbarShown() const
{
    return m_toolbar->isVisible();
}

QAction* DemoEditor::action(const QString& id) const
{
    const QList<QAction*> actions = m_toolbar->actions();
    const auto found = std::find_if(actions.begin(), actions.end(), [&](QAction* a) { return a->objectName() == id; });
    return found == actions.end() ? nullptr : *found;
}

MTBxItem* DemoEditor::item(const QString& id) const
{
    MiniToolbar* toolbar = m_toolbar->miniToolbar();
    for (int i = 0; i < toolbar->itemCount(); ++i) {
        if (QString::fromUtf16(reinterpret_cast<const char16_t*>(static_cast<const unsigned short*>(toolbar->item(i)->id()))) == id)
            return toolbar->item(i);
    }
    return nullptr;
}

QRect DemoEditor::toolbarRect() const
{
    return m_toolbar->geometry();
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
    if (m_toolbar->isVisible()) {
        m_toolbar->close();
        showToolbar();
    }
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

void DemoEditor::applyOptions()
{
    Options options;
    options.setTheme(m_settings.theme == DemoSettings::Theme::Dark ? Options::Dark : Options::Light);
    options.setScalingFactor(m_settings.scalingFactor);
    options.setAutoFade(m_settings.autoFade);
    controller()->setOptions(options);
    SetMTBTooltipOption(TooltipsEnabled, m_settings.tooltips);
    SetMTBTooltipOption(DebugTooltip, m_settings.debugTooltips);
    const bool dark = m_settings.theme == DemoSettings::Theme::Dark;
    action("options")->setIcon(QIcon(dark ? QStringLiteral(":/MiniToolbars/Options_D.svg")
                                          : QStringLiteral(":/MiniToolbars/Options_L.svg")));
    m_toolbar->setGap(static_cast<int>(std::lround(6 * m_settings.scalingFactor)));
    m_toolbar->setLook(m_settings.solidLook ? ActionToolbar::SolidLook : ActionToolbar::TranslucentLook);
}

void DemoEditor::onSelectionChanged()
{
    if (!m_editor->textCursor().hasSelection()) {
        m_toolbar->close();
        return;
    }
    syncCheckStates();
    if (m_toolbar->isVisible())
        m_toolbar->setAnchor(selectionRect());
    else
        showToolbar();
}

void DemoEditor::showToolbar()
{
    syncCheckStates();
    if (m_toolbar->show(m_editor->viewport(), selectionRect()))
        customizeItems();
}

// What only the item interface offers: an icon from raw PNG bytes and an item that never fades.
void DemoEditor::customizeItems()
{
    static const QByteArray png = DemoArtwork::highlightIconPng(highlightColor);
    if (MTBxItem* highlight = item(QStringLiteral("highlight")))
        highlight->setIconData(reinterpret_cast<const unsigned char*>(png.constData()), static_cast<unsigned int>(png.size()));
    if (MTBxItem* close = item(QStringLiteral("close")))
        close->setAutoHide(false);
    addOwnItems();
    controller()->updateLayout(toolbar(), true);
    m_toolbar->setAnchor(selectionRect());
}

// Raw items go after the actions' items, so the actions keep their indexes.
void DemoEditor::addOwnItems()
{
    m_fontSizeBox = new MTBxCombobox(L"fontSize", context(&fontSizeContext));
    m_fontSizeBox->setSynchronizedWithCurrentItem(true);
    m_fontSizeBox->setShowText(true);
    for (const int& size : fontSizes)
        addChild(m_fontSizeBox, QString::number(size), &size);
    toolbar()->addItem(m_fontSizeBox);

    m_findEntry = new MTBxDropDownEntry(L"find", L"", context(&findContext));
    m_findEntry->setWidth(120);
    m_findEntry->setHasSplitter(true);
    m_findEntry->setToolTip(L"Find in the text; Return keeps the search, the arrow lists the kept ones");
    for (const QString& search : m_searches)
        addChild(m_findEntry, search, &search);
    toolbar()->addItem(m_findEntry);
    syncCheckStates();
}

void DemoEditor::Notify(void* itemContext, EventType type, unsigned int* p1, unsigned int*)
{
    if (itemContext == &findContext) {
        onFindEvent(type, p1);
        return;
    }
    const auto isContext = [itemContext](const auto& value) { return &value == itemContext; };
    if (const int* size = std::find_if(std::begin(fontSizes), std::end(fontSizes), isContext); size != std::end(fontSizes)) {
        // The wheel makes a row current and hovers it; a plain hover over a row, or over the current one, applies nothing.
        const bool stepped = type == HoverEnter && m_fontSizeBox && m_fontSizeBox->currentItem()
                             && m_fontSizeBox->currentItem()->hostContext() == itemContext
                             && size != &fontSizes[fontSizeIndex()];
        if (type == Clicked || stepped) {
            logEvent(QStringLiteral("Font size  %1").arg(*size));
            QTextCharFormat format;
            format.setFontPointSize(*size);
            mergeFormat(format);
        }
        return;
    }
    const auto search = std::find_if(m_searches.begin(), m_searches.end(), isContext);
    if (search != m_searches.end() && type == Clicked && m_findEntry) {
        m_findEntry->setValue(search->toStdWString().c_str());
        m_findEntry->setFocus(true);
        m_findEntry->selectAll();
        findText(*search);
    }
}

void DemoEditor::onFindEvent(EventType type, unsigned int* p1)
{
    switch (type) {
    case TextEdited:
        findText(QString::fromStdWString(*reinterpret_cast<const std::wstring*>(p1)));
        break;
    case KeyPressed:
        if (const auto key = reinterpret_cast<std::uintptr_t>(p1); key == Qt::Key_Return || key == Qt::Key_Enter)
            addSearch(toQString(m_findEntry->value()));
        break;
    case FocusChanged:
        logEvent(QStringLiteral("Find field  focus %1").arg(p1 ? "in" : "out"));
        break;
    default:
        break;
    }
}

// Marks every match (ignoring case) without touching the selection.
void DemoEditor::findText(const QString& text)
{
    QList<QTextEdit::ExtraSelection> matches;
    for (QTextCursor found = m_editor->document()->find(text); !text.isEmpty() && !found.isNull();
         found = m_editor->document()->find(text, found)) {
        QTextEdit::ExtraSelection match;
        match.cursor = found;
        match.format.setBackground(matchColor);
        matches.append(match);
    }
    m_editor->setExtraSelections(matches);
    if (m_findEntry)
        m_findEntry->setValueErrorFlag(!text.isEmpty() && matches.isEmpty());
    logEvent(QStringLiteral("Find  \"%1\"  %2 matches").arg(text).arg(matches.size()));
}

void DemoEditor::addSearch(const QString& text)
{
    if (text.isEmpty() || std::find(m_searches.begin(), m_searches.end(), text) != m_searches.end())
        return;
    m_searches.push_front(text);
    addChild(m_findEntry, text, &m_searches.front(), m_findEntry->item(0));
    if (m_searches.size() > 8) {
        m_findEntry->removeItem(8);
        m_searches.pop_back();
    }
    // The first search gives the entry its arrow.
    controller()->updateLayout(toolbar(), true);
    logEvent(QStringLiteral("Search kept  \"%1\"").arg(text));
}

void DemoEditor::syncCheckStates()
{
    if (!m_editor->textCursor().hasSelection())
        return;
    const QTextCharFormat format = selectionFormat();
    action("bold")->setChecked(format.fontWeight() >= QFont::Bold);
    action("italic")->setChecked(format.fontItalic());
    action("underline")->setChecked(format.fontUnderline());
    if (m_fontSizeBox)
        m_fontSizeBox->setCurrentItem(m_fontSizeBox->item(fontSizeIndex()));
}

// The row of the size nearest the selection's.
int DemoEditor::fontSizeIndex() const
{
    const qreal size = selectionFormat().fontPointSize() > 0 ? selectionFormat().fontPointSize() : m_editor->font().pointSizeF();
    const auto nearest = std::min_element(std::begin(fontSizes), std::end(fontSizes),
                                          [size](int a, int b) { return std::abs(a - size) < std::abs(b - size); });
    return static_cast<int>(nearest - std::begin(fontSizes));
}

// The format of the first selected character decides.
QTextCharFormat DemoEditor::selectionFormat() const
{
    QTextCursor probe(m_editor->document());
    probe.setPosition(m_editor->textCursor().selectionStart() + 1);
    return probe.charFormat();
}

void DemoEditor::mergeFormat(const QTextCharFormat& format)
{
    QTextCursor cursor = m_editor->textCursor();
    if (cursor.hasSelection())
        cursor.mergeCharFormat(format);
    syncCheckStates();
}

// The selection's rectangle in the viewport's coordinates.
QRect DemoEditor::selectionRect() const
{
    const QTextCursor selection = m_editor->textCursor();
    QTextCursor start(m_editor->document());
    start.setPosition(selection.selectionStart());
    QTextCursor end(m_editor->document());
    end.setPosition(selection.selectionEnd());
    return m_editor->cursorRect(start).united(m_editor->cursorRect(end));
}

void DemoEditor::logEvent(const QString& line)
{
    // Bounded, so that a long session does not keep every line forever.
    if (m_eventLog.size() >= 10000)
        m_eventLog.removeFirst();
    m_eventLog.append(line);
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
