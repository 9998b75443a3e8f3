#ifndef MINITOOLBARS_HOSTWIDGET_H
#define MINITOOLBARS_HOSTWIDGET_H

namespace MiniToolbars {

// The toolkit widget that wraps the host's native parent window. Owned by the view.
class HostWidget
{
public:
    virtual ~HostWidget() = default;
};

} // namespace MiniToolbars

#endif
