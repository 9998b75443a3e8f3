#include "Platform/NativeEventFilter.h"

#include "Platform/XcbMessageAdapter.h"

#include <QCoreApplication>

namespace MiniToolbars {

NativeEventFilter::NativeEventFilter()
    : m_adapter(std::make_unique<XcbMessageAdapter>())
{
}

NativeEventFilter::~NativeEventFilter() = default;

NativeEventFilter& NativeEventFilter::instance()
{
    static NativeEventFilter filter;
    return filter;
}

void NativeEventFilter::install()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    app->installNativeEventFilter(this);
    m_installed = true;
    // A mapping change is noticed only in the events the filter sees.
    m_adapter->invalidateKeyboardMapping();
}

void NativeEventFilter::remove()
{
    if (!m_installed)
        return;
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
    m_installed = false;
}

bool NativeEventFilter::reinstall()
{
    if (m_installed) {
        remove();
        install();
    }
    return true;
}

void NativeEventFilter::setHandler(Handler handler)
{
    m_handler = std::move(handler);
}

std::optional<NativeMessage> NativeEventFilter::toMessage(const QByteArray& eventType, void* message)
{
    return m_adapter->translate(eventType, message);
}

bool NativeEventFilter::nativeEventFilter(const QByteArray& eventType, void* message, QtCompat::NativeEventResult*)
{
    // Synthetic events raised by the handler must not come back into it.
    if (m_inHandler || !m_handler)
        return false;
    m_inHandler = true;
    const bool consumed = m_handler(eventType, message);
    m_inHandler = false;
    return consumed;
}

} // namespace MiniToolbars
