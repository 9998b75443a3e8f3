#include "Controller.h"

#include "QWinWidget.h"
#include "QmtbController.h"

namespace MiniToolbars {

Controller::~Controller() = default;

Controller* Controller::createInstance()
{
    return new QmtbController();
}

bool Controller::resetWindowsHook()
{
    return QWinWidget::fixWindowsHook();
}

} // namespace MiniToolbars
