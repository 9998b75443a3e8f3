// The demo host: a text editor with a mini toolbar over its selection.
#include "DemoEditor.h"
#include "DemoSettings.h"
#include "DemoTour.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    // Read before the application object exists, so that --help needs no display.
    QStringList words;
    for (int i = 0; i < argc; ++i)
        words.append(QString::fromLocal8Bit(argv[i]));
    const DemoArguments arguments = parseDemoArguments(words);
    switch (arguments.status) {
    case DemoArguments::Status::ShowHelp:
        std::printf("%s", qPrintable(arguments.message));
        return 0;
    case DemoArguments::Status::Error:
        std::fprintf(stderr, "%s\n", qPrintable(arguments.message));
        return 2;
    case DemoArguments::Status::Run:
        break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("minitoolbars-demo"));

    DemoEditor editor(arguments.settings);
    editor.resize(900, 640);
    editor.move(60, 40);
    editor.show();

    if (arguments.settings.tourDirectory.isEmpty())
        return QApplication::exec();

    DemoTour tour(editor, arguments.settings.tourDirectory);
    QTimer::singleShot(500, &editor, [&tour] { QCoreApplication::exit(tour.run()); });
    return QApplication::exec();
}
