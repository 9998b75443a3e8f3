#ifndef MINITOOLBARS_FADELOCK_H
#define MINITOOLBARS_FADELOCK_H

namespace MiniToolbars {

class MiniToolbar;

// Whether a toolbar's fade follows the pointer or is locked in one state:
// faded out while the toolbar shows only its items that never fade, faded in
// while auto fade is off for it (the global switch, unless the toolbar's own
// value turns it on).
struct FadeLock
{
    bool locked = false;
    // The state a locked fade keeps.
    bool fadedIn = true;

    // toolbar may be null (a window whose toolbar is gone).
    static FadeLock of(const MiniToolbar* toolbar, bool autoFade);
};

} // namespace MiniToolbars

#endif
