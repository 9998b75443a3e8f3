#ifndef MINITOOLBARS_DEMO_DEMOSETTINGS_H
#define MINITOOLBARS_DEMO_DEMOSETTINGS_H

#include <QString>
#include <QStringList>

// What the user chose on the command line or in the Options menu.
struct DemoSettings
{
    enum class Theme { Light, Dark };

    Theme theme = Theme::Light;
    float scalingFactor = 1.0f;
    bool autoFade = true;
    bool tooltips = true;
    bool debugTooltips = false;
    // The toolbar's solid look, for reading over text.
    bool solidLook = false;
    // Non-empty: run the scripted tour and write its screenshots here.
    QString tourDirectory;
};

// Outcome of reading the command line.
struct DemoArguments
{
    enum class Status { Run, ShowHelp, Error };

    Status status = Status::Run;
    DemoSettings settings;
    // The help text, or the reason the arguments were refused.
    QString message;
};

// Reads the switches of the demo (the first argument is the program name).
DemoArguments parseDemoArguments(const QStringList& arguments);

// Scaling factors the demo offers; anything else is refused.
bool isAcceptedScalingFactor(float factor);

#endif
