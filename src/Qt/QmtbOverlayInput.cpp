#include "Qt/QmtbOverlayInput.h"

#include "Compat/QtCompat.h"
#include "Qt/ApplicationScoped.h"
#include "Qt/QmtbAutoFade.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbView.h"
#include "Qt/QmtbWindowRegistry.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <limits>

namespace MiniToolbars {

namespace {

class Filter : public QObject
{
public:
    Filter() { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type != QEvent::MouseMove && type != QEvent::Leave) || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (type == QEvent::Leave && !widget->isWindow())
            return false;
        // Far beyond anything a toolbar covers: the pointer left the host's window.
        const int far = std::numeric_limits<int>::max() / 2;
        const QPoint point = type == QEvent::MouseMove
            ? QmtbCoordinates::windowPoint(QtCompat::globalPoint(static_cast<QMouseEvent*>(event)))
            : QPoint(far, far);
        const QWidget* host = widget->window();
        QmtbWindowRegistry::forEachVisible([&](QmtbView* window) {
            if (!window->isOverlay() || window->window() != host)
                return;
            if (window->view() && window->fade().takesPartInAutoFade())
                window->fade().updateFade(point.x(), point.y());
        });
        return false;
    }
};

} // namespace

void QmtbOverlayInput::watch(QmtbView*)
{
    if (qApp)
        applicationScoped<Filter>();
}

} // namespace MiniToolbars
