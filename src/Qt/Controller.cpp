#include "MiniToolbars/Controller.h"

#include "Qt/QmtbController.h"
#include "Qt/QmtbKeyboard.h"
#include "Qt/QmtbView.h"
#include "Qt/QWinWidget.h"

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
