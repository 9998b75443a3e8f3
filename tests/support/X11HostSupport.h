#ifndef MINITOOLBARS_X11HOSTSUPPORT_H
#define MINITOOLBARS_X11HOSTSUPPORT_H

// Shared by the tests that run on a real X server: a full-screen host window
// in one flat colour, screen grabs and real input through xdotool.

#include "Compat/QtCompat.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include <vector>

namespace MiniToolbars {
namespace Testing {

inline const QColor hostColour(40, 160, 90);

// A full-screen host window in one flat colour that records its presses.
class HostWindow : public QWidget
{
public:
    HostWindow()
    {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, hostColour);
        setPalette(p);
        setGeometry(QGuiApplication::primaryScreen()->geometry());
    }
    std::vector<QPoint> presses;

protected:
    void mousePressEvent(QMouseEvent* event) override { presses.push_back(MiniToolbars::QtCompat::globalPoint(event)); }
};

// The screen in device pixels.
inline QImage grabScreen()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

inline bool runXdotool(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

} // namespace Testing
} // namespace MiniToolbars

#endif
