#ifndef MINITOOLBARS_NATIVEEVENTFILTER_H
#define MINITOOLBARS_NATIVEEVENTFILTER_H

#include "Compat/QtCompat.h"
#include "Platform/NativeMessage.h"

#include <QAbstractNativeEventFilter>

#include <functional>
#include <memory>
#include <optional>

namespace MiniToolbars {

class XcbMessageAdapter;

// The one process-wide filter that sees native events before Qt dispatches
// them while a toolbar is shown. What it does with an event is decided by the
// handler the toolbar windows give it; without a handler every event passes.
class NativeEventFilter : public QAbstractNativeEventFilter
{
public:
    using Handler = std::function<bool(const QByteArray& eventType, void* message)>;

    static NativeEventFilter& instance();

    // Puts the filter in front of the application's filters (idempotent).
    void install();
    void remove();
    bool isInstalled() const { return m_installed; }
    // Moves an installed filter back to the front; true when done.
    bool reinstall();

    void setHandler(Handler handler);

    // The message record of a native event the handler was given: pointer and
    // key input on xcb; nothing for other events and platforms.
    std::optional<NativeMessage> toMessage(const QByteArray& eventType, void* message);

    bool nativeEventFilter(const QByteArray& eventType, void* message, QtCompat::NativeEventResult* result) override;

private:
    NativeEventFilter();
    ~NativeEventFilter() override;

    Handler m_handler;
    std::unique_ptr<XcbMessageAdapter> m_adapter;
    bool m_installed = false;
    bool m_inHandler = false;
};

} // namespace MiniToolbars

#endif
