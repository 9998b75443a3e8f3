// A host outside the source tree: builds against the installed package, shows
// a toolbar through the controller and closes it again.
#include <MiniToolbars/MiniToolbars.h>

#include <QApplication>
#include <cstdio>

namespace {

class Observer : public MiniToolbars::ControllerObserver
{
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    using namespace MiniToolbars;

    Controller* controller = Controller::createInstance();
    MiniToolbar toolbar(MTBxString(L"host"), nullptr);
    auto* button = new MTBxButton(MTBxString(L"bold"), nullptr);
    button->setText(MTBxString(L"Bold"));
    button->setShowText(true);
    toolbar.addItem(button);
    toolbar.addItem(new MTBxSeparator);
    toolbar.addItem(new MTBxLabel(MTBxString(L"label"), nullptr));

    Observer observer;
    const bool shown = controller->showToolbar(&toolbar, 100, 100, &observer, false);
    const bool visible = toolbar.isVisible();
    controller->closeToolbar(&toolbar);
    delete controller;

    const bool sameQt = QT_VERSION_MAJOR == MTB_PACKAGE_QT_MAJOR && qVersion()[0] == '0' + MTB_PACKAGE_QT_MAJOR;
    std::printf("shown=%d visible=%d empty=%d qt=%s\n", shown, visible, toolbar.isEmpty(), qVersion());
    return shown && visible && toolbar.isEmpty() && sameQt ? 0 : 1;
}
