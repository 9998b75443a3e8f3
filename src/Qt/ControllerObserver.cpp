#include "MiniToolbars/ControllerObserver.h"

#include <QGuiApplication>
#include <QScreen>

namespace MiniToolbars {

ControllerObserver::~ControllerObserver() = default;

void ControllerObserver::mtbMoved(int&, int&)
{
}

void ControllerObserver::getMtbParentBounds(int x, int y, int& left, int& top, int& width, int& height)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    QScreen* screen = QGuiApplication::screenAt(QPoint(x, y));
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect geometry = screen->geometry();
    left = geometry.left();
    top = geometry.top();
    width = geometry.width();
    height = geometry.height();
}

HWND ControllerObserver::getParentHwnd()
{
    return nullptr;
}

} // namespace MiniToolbars
