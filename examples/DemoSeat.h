#ifndef MINITOOLBARS_DEMO_DEMOSEAT_H
#define MINITOOLBARS_DEMO_DEMOSEAT_H

#include <QImage>
#include <QPoint>

#include <memory>

class QWidget;

// What the tour needs of the pointer and the screen. Under X the tour moves
// the real pointer and grabs the root window. A Wayland client can do neither,
// so under the headless Weston of tests/wayland/run-under-weston.sh the tour
// drives that compositor's test seat through its control socket instead.
// Positions are Qt's global coordinates, as the host's widgets give them.
class DemoSeat
{
public:
    virtual ~DemoSeat() = default;

    // The seat for this session, or null (with a message on stderr) when
    // there is none: on Wayland, outside a Weston with the test seat.
    static std::unique_ptr<DemoSeat> create(QWidget* hostWindow);

    virtual void moveTo(const QPoint& globalPos) = 0;
    // A left click, pointer included.
    virtual void click(const QPoint& globalPos) = 0;
    // Everything shown on the screen, or a null image.
    virtual QImage screenshot() = 0;
};

#endif
