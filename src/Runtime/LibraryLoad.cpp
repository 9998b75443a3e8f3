// Work done once when the library is loaded. The built-in icon resources are
// registered (and unregistered at unload) by the resource compiler's own
// initializer, which is linked in next to this file.

#include "BaseMetrics.h"
#include "EventTypes.h"
#include "QmtbDeletion.h"

namespace {

struct LibraryLoad
{
    LibraryLoad()
    {
        MiniToolbars::BaseMetrics::fill();
        MiniToolbars::EventTypes::registerAll();
        MiniToolbars::QmtbDeletion::installDeferredRelease();
    }
};

const LibraryLoad s_libraryLoad;

} // namespace
