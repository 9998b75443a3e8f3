#ifndef MINITOOLBARS_DEMO_DEMOTOUR_H
#define MINITOOLBARS_DEMO_DEMOTOUR_H

#include <QPoint>
#include <QString>

class DemoEditor;

// The scripted tour: selects text, shows the toolbar, moves the pointer away
// and back and takes screenshots of the whole screen in both themes, opaque
// and faded, at scaling 1 and 2.
class DemoTour
{
public:
    DemoTour(DemoEditor& editor, const QString& directory);

    // Runs every step; 0 when every screenshot was written.
    int run();

    // The phrase the tour selects.
    static QString selectedPhrase();

private:
    bool shoot(const QString& name);
    void movePointer(const QPoint& globalPos);
    void pressKey(int key);

    DemoEditor& m_editor;
    QString m_directory;
};

// Runs the event loop for the given time.
void waitFor(int milliseconds);

#endif
