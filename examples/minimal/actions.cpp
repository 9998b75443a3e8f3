// A text editor with a Bold / Italic / Underline mini toolbar over its
// selection, built from QActions.
#include <MiniToolbars/ActionToolbar.h>

#include <QAction>
#include <QApplication>
#include <QTextEdit>

#include <functional>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextEdit editor;
    editor.setPlainText("Select a few words of this text and format them from the mini toolbar.");
    editor.resize(480, 320);

    using Format = std::function<void(QTextCharFormat&, bool)>;
    const struct {
        const char* text;
        Format apply;
    } styles[] = {
        {"Bold", [](QTextCharFormat& f, bool on) { f.setFontWeight(on ? QFont::Bold : QFont::Normal); }},
        {"Italic", [](QTextCharFormat& f, bool on) { f.setFontItalic(on); }},
        {"Underline", [](QTextCharFormat& f, bool on) { f.setFontUnderline(on); }},
    };
    QList<QAction*> actions;
    MiniToolbars::ActionToolbar toolbar;
    for (const auto& style : styles) {
        auto* action = new QAction(style.text, &editor);
        action->setCheckable(true);
        QObject::connect(action, &QAction::triggered, [&editor, apply = style.apply](bool on) {
            QTextCharFormat format;
            apply(format, on);
            editor.mergeCurrentCharFormat(format);
        });
        toolbar.addAction(action);
        actions.append(action);
    }

    QObject::connect(&editor, &QTextEdit::selectionChanged, [&] {
        QTextCursor start = editor.textCursor();
        if (!start.hasSelection())
            return toolbar.close();
        const QTextCharFormat format = start.charFormat();
        actions[0]->setChecked(format.fontWeight() >= QFont::Bold);
        actions[1]->setChecked(format.fontItalic());
        actions[2]->setChecked(format.fontUnderline());
        QTextCursor end = start;
        start.setPosition(start.selectionStart());
        end.setPosition(end.selectionEnd());
        // Above the selection (in the viewport's coordinates), or below it when there is no room.
        toolbar.show(editor.viewport(), editor.cursorRect(start).united(editor.cursorRect(end)));
    });
    editor.show();
    return app.exec();
}
