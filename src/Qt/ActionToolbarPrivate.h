// ActionToolbar's internals: the mirror of its actions, the events it hears,
// and the toolbar that shows them next to the anchor.

#ifndef MINITOOLBARS_ACTIONTOOLBARPRIVATE_H
#define MINITOOLBARS_ACTIONTOOLBARPRIVATE_H

#include "MiniToolbars/ActionToolbar.h"
#include "Qt/ActionToolbarEvents.h"
#include "Qt/ActionToolbarMirror.h"

#include <QPoint>
#include <QPointer>
#include <QRect>

#include <memory>
#include <optional>

namespace MiniToolbars {

class MiniToolbar;
class ToolbarWindow;

class ActionToolbarPrivate
{
public:
    explicit ActionToolbarPrivate(ActionToolbar* owner);
    ActionToolbarPrivate(const ActionToolbarPrivate&) = delete;
    ActionToolbarPrivate& operator=(const ActionToolbarPrivate&) = delete;
    ~ActionToolbarPrivate();

    ToolbarWindow* window() const;
    // Room for the toolbar: the host's window on its screen.
    QRect room() const;
    // What the toolbar draws around its origin, grip included, in pixels.
    QRect extent() const;
    QPoint globalOrigin() const;
    void place();
    // Layout and placement once the current callback and queued relayouts are done.
    void scheduleUpdate();
    bool show(QWidget* host, const QRect& anchor, ActionToolbar::Side side);
    void close(bool notify);
    // Hands the look to the toolbar's window, if it has one.
    void applyLook();

    ActionToolbar* const q;
    ActionToolbarEvents m_events;
    ActionToolbarMirror m_mirror;
    std::unique_ptr<MiniToolbar> m_toolbar;
    QPointer<QWidget> m_host;
    QPointer<QWidget> m_hostWindow;
    QPoint m_hostWindowPos;
    QMetaObject::Connection m_hostConnection;
    QRect m_anchor;
    ActionToolbar::Side m_side = ActionToolbar::Above;
    int m_gap = 6;
    std::optional<Options::WindowStrategy> m_windowStrategy;
    ActionToolbar::Look m_look = ActionToolbar::TranslucentLook;
    bool m_shown = false;
    bool m_userPlaced = false;
    bool m_updateQueued = false;
};

} // namespace MiniToolbars

#endif
