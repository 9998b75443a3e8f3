#include "DemoSettings.h"

#include <QCommandLineParser>

#include <cmath>

namespace {

// QCommandLineParser's own help text needs an application object; this one does not.
QString helpText(const QList<QCommandLineOption>& options)
{
    QString text = QStringLiteral("Usage: minitoolbars-demo [options]\n"
                                  "A small text editor that shows a mini toolbar over the selection.\n\n"
                                  "Options:\n");
    for (const QCommandLineOption& option : options) {
        QStringList names;
        for (const QString& name : option.names())
            names.append(name.size() == 1 ? QStringLiteral("-") + name : QStringLiteral("--") + name);
        QString left = names.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            left += QStringLiteral(" <%1>").arg(option.valueName());
        text += QStringLiteral("  %1  %2\n").arg(left, -24).arg(option.description());
    }
    return text;
}

} // namespace

bool isAcceptedScalingFactor(float factor)
{
    return std::isfinite(factor) && factor >= 0.5f && factor <= 4.0f;
}

DemoArguments parseDemoArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A small text editor that shows a mini toolbar over the selection."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption theme(QStringLiteral("theme"),
                                   QStringLiteral("Toolbar theme: light or dark (default light)."),
                                   QStringLiteral("name"), QStringLiteral("light"));
    const QCommandLineOption scale(QStringLiteral("scale"),
                                   QStringLiteral("Scaling factor, 0.5 to 4 (default 1)."),
                                   QStringLiteral("factor"), QStringLiteral("1"));
    const QCommandLineOption noAutoFade(QStringLiteral("no-auto-fade"),
                                        QStringLiteral("Keep toolbars opaque whatever the pointer does."));
    const QCommandLineOption noTooltips(QStringLiteral("no-tooltips"),
                                        QStringLiteral("Show no tooltips."));
    const QCommandLineOption debugTooltips(QStringLiteral("debug-tooltips"),
                                           QStringLiteral("Show each item's id and icon in its tooltip."));
    const QCommandLineOption solid(QStringLiteral("solid"),
                                   QStringLiteral("Draw the toolbar opaque on a panel (the solid look)."));
    const QCommandLineOption tour(QStringLiteral("tour"),
                                  QStringLiteral("Run the scripted tour, write screenshots to <dir>, print it and exit."),
                                  QStringLiteral("dir"));
    parser.addOptions({help, theme, scale, noAutoFade, noTooltips, debugTooltips, solid, tour});

    DemoArguments result;
    if (!parser.parse(arguments)) {
        result.status = DemoArguments::Status::Error;
        result.message = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        result.status = DemoArguments::Status::ShowHelp;
        result.message = helpText({help, theme, scale, noAutoFade, noTooltips, debugTooltips, solid, tour});
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.status = DemoArguments::Status::Error;
        result.message = QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().first());
        return result;
    }

    DemoSettings& settings = result.settings;
    const QString themeName = parser.value(theme).toLower();
    if (themeName == QLatin1String("light")) {
        settings.theme = DemoSettings::Theme::Light;
    } else if (themeName == QLatin1String("dark")) {
        settings.theme = DemoSettings::Theme::Dark;
    } else {
        result.status = DemoArguments::Status::Error;
        result.message = QStringLiteral("Unknown theme \"%1\" (use light or dark).").arg(parser.value(theme));
        return result;
    }

    bool numeric = false;
    const float factor = parser.value(scale).toFloat(&numeric);
    if (!numeric || !isAcceptedScalingFactor(factor)) {
        result.status = DemoArguments::Status::Error;
        result.message = QStringLiteral("Bad scaling factor \"%1\" (use a number from 0.5 to 4).")
                             .arg(parser.value(scale));
        return result;
    }
    settings.scalingFactor = factor;
    settings.autoFade = !parser.isSet(noAutoFade);
    settings.tooltips = !parser.isSet(noTooltips);
    settings.debugTooltips = parser.isSet(debugTooltips);
    settings.solidLook = parser.isSet(solid);

    if (parser.isSet(tour)) {
        settings.tourDirectory = parser.value(tour);
        if (settings.tourDirectory.isEmpty()) {
            result.status = DemoArguments::Status::Error;
            result.message = QStringLiteral("--tour needs a directory.");
        }
    }
    return result;
}
