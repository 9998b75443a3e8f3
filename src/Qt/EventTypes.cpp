#include "Qt/EventTypes.h"

#include <QEvent>

namespace MiniToolbars {
namespace EventTypes {

namespace {
int s_deferredShow = 0;
int s_relayout = 0;
int s_fadedNotify = 0;
}

void registerAll()
{
    if (s_deferredShow != 0)
        return;
    s_deferredShow = QEvent::registerEventType(-1);
    s_relayout = QEvent::registerEventType(-1);
    s_fadedNotify = QEvent::registerEventType(-1);
}

int deferredShow()
{
    registerAll();
    return s_deferredShow;
}

int relayout()
{
    registerAll();
    return s_relayout;
}

int fadedNotify()
{
    registerAll();
    return s_fadedNotify;
}

} // namespace EventTypes
} // namespace MiniToolbars
