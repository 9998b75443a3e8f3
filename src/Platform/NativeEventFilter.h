#ifndef MINITOOLBARS_NATIVEEVENTFILTER_H
#define MINITOOLBARS_NATIVEEVENTFILTER_H

#include <QAbstractNativeEventFilter>

#include <functional>

namespace MiniToolbars {

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

    bool nativeEventFilter(const QByteArray& eventType, void* message, long* result) override;

private:
    NativeEventFilter() = default;

    Handler m_handler;
    bool m_installed = false;
    bool m_inHandler = false;
};

} // namespace MiniToolbars

#endif
