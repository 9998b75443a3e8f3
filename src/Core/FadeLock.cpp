#include "Core/FadeLock.h"

#include "MiniToolbars/MiniToolbar.h"

namespace MiniToolbars {

FadeLock FadeLock::of(const MiniToolbar* toolbar, bool autoFade)
{
    FadeLock lock;
    if (toolbar && toolbar->getDisplayOnlyNoFadeItems()) {
        lock.locked = true;
        lock.fadedIn = false;
    } else if (!autoFade && (!toolbar || toolbar->getLocalAutoFade() != 1)) {
        lock.locked = true;
        lock.fadedIn = true;
    }
    return lock;
}

} // namespace MiniToolbars
