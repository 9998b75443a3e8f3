// The same editor on the item interface: one sink for every item, a context
// per item, screen coordinates, and closing when the selection goes.
#include <MiniToolbars/MiniToolbars.h>

#include <QApplication>
#include <QTextEdit>

using namespace MiniToolbars;

namespace {

QTextEdit* editor = nullptr;

// The host context of each item: what its check state changes.
enum Style { Bold, Italic, Underline };
Style styles[] = {Bold, Italic, Underline};

class Sink : public MTBxItemEvents
{
public:
    void Notify(void* context, EventType type, unsigned int* p1, unsigned int*) override
    {
        if (type != CheckedChanged)
            return;
        const bool on = p1 != nullptr; // the new state travels as the pointer's value
        QTextCharFormat format;
        switch (*static_cast<Style*>(context)) {
        case Bold: format.setFontWeight(on ? QFont::Bold : QFont::Normal); break;
        case Italic: format.setFontItalic(on); break;
        case Underline: format.setFontUnderline(on); break;
        }
        editor->mergeCurrentCharFormat(format);
    }
};

class Observer : public ControllerObserver
{
public:
    HWND getParentHwnd() override { return reinterpret_cast<HWND>(editor->window()->winId()); }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextEdit textEdit;
    editor = &textEdit;
    textEdit.setPlainText("Select a few words of this text and format them from the mini toolbar.");
    textEdit.resize(480, 320);

    std::unique_ptr<Controller> controller(Controller::createInstance());
    Sink sink;
    MTBxItemEventsUtility::SetMTBxItemEvents(&sink);
    Observer observer;
    MiniToolbar toolbar(MTBxString(L"format"));

    QObject::connect(&textEdit, &QTextEdit::selectionChanged, [&] {
        // Closing deletes the items; every show builds them anew.
        controller->closeToolbar(&toolbar);
        if (!textEdit.textCursor().hasSelection())
            return;
        const wchar_t* texts[] = {L"Bold", L"Italic", L"Underline"};
        for (Style& style : styles) {
            auto* button = new MTBxButton(MTBxString(texts[style]), &style); // the toolbar owns it
            button->setText(MTBxString(texts[style]));
            button->setShowText(true);
            button->setCheckable(true);
            toolbar.addItem(button);
        }
        // The origin is the top-left corner of the first row, in screen pixels.
        const QPoint at = textEdit.viewport()->mapToGlobal(textEdit.cursorRect().topLeft());
        controller->showToolbar(&toolbar, at.x(), at.y() - 40, &observer);
    });
    textEdit.show();
    const int result = app.exec();
    controller->closeToolbar(&toolbar);
    MTBxItemEventsUtility::SetMTBxItemEvents(nullptr);
    return result;
}
