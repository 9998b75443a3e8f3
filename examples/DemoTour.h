#ifndef MINITOOLBARS_DEMO_DEMOTOUR_H
#define MINITOOLBARS_DEMO_DEMOTOUR_H

#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>

class DemoEditor;
class DemoSeat;
struct DemoSettings;

// The scripted tour: selects text, shows the toolbar, rests the pointer on an
// item for its tooltip, opens the Colour menu, moves the pointer away and back,
// opens the font-size list, types into the find entry and takes screenshots of
// the whole screen (under X, or a headless Weston's output) in both themes at
// scaling 1 and 2: opaque, with the tooltip, with the menu open, faded, with
// the list open, and finding.
class DemoTour
{
public:
    DemoTour(DemoEditor& editor, const QString& directory);
    ~DemoTour();

    // Runs every step; 0 when every screenshot was written.
    int run();

    // The phrase the tour selects.
    static QString selectedPhrase();

private:
    bool shoot(const QString& name);
    // Applies the settings and selects the phrase; false when no toolbar shows.
    bool showToolbar(const DemoSettings& settings);
    // The shown toolbar's item with this id in screen pixels; empty when there is none.
    QRect itemRect(const QString& id) const;
    void typeText(const QString& text);
    void pressKey(int key);

    DemoEditor& m_editor;
    QString m_directory;
    std::unique_ptr<DemoSeat> m_seat;
};

// Runs the event loop for the given time.
void waitFor(int milliseconds);

#endif
