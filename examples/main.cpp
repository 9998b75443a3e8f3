// The demo host: a text editor with a mini toolbar over its selection.
#include "DemoEditor.h"
#include "DemoSettings.h"
#include "DemoTour.h"

#include <QApplication>
#include <QByteArray>
#include <QStringList>
#include <QTimer>

#include <cstdio>

namespace {

// Whether the user asked for help, which needs no display.
bool asksForHelp(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray word(argv[i]);
        if (word == "-h" || word == "--help" || word == "-help")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (asksForHelp(argc, argv)) {
        const DemoArguments help = parseDemoArguments({QString::fromLocal8Bit(argv[0]), QStringLiteral("--help")});
        std::printf("%s", qPrintable(help.message));
        return 0;
    }

    // The demo's own options are read from what the application object leaves:
    // it takes Qt's standard ones (-platform, -reverse, -style...) away first.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("minitoolbars-demo"));
    const DemoArguments arguments = parseDemoArguments(QCoreApplication::arguments());
    if (arguments.status == DemoArguments::Status::Error) {
        std::fprintf(stderr, "%s\n", qPrintable(arguments.message));
        return 2;
    }

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
