#ifndef MINITOOLBARS_HOSTWIDGET_H
#define MINITOOLBARS_HOSTWIDGET_H

namespace MiniToolbars {

// The toolkit widget that wraps the host's native parent window. Owned by the view.
class HostWidget
{
public:
    virtual ~HostWidget() = default;
    // How the view deletes it: the toolkit may put that off while it still
    // dispatches an event to the widget or its children.
    virtual void release() { delete this; }
};

} // namespace MiniToolbars

#endif
