#include "Controller.h"

#include "QWinWidget.h"
#include "QmtbController.h"
#include "QmtbKeyboard.h"
#include "QmtbView.h"

namespace MiniToolbars {

Controller::~Controller() = default;

bool Controller::giveKeyboardTo(MiniToolbar* toolbar)
{
    QmtbView* window = QmtbController::windowOf(toolbar);
    return window && QmtbKeyboard::instance().take(window);
}

Controller* Controller::createInstance()
{
    return new QmtbController();
}

bool Controller::resetWindowsHook()
{
    return QWinWidget::fixWindowsHook();
}

} // namespace MiniToolbars
