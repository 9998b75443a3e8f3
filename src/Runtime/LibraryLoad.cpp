// Work done once when the library is loaded. The built-in icon resources are
// registered (and unregistered at unload) by the resource compiler's own
// initializer, which is linked in next to this file.

#include "Core/BaseMetrics.h"
#include "Qt/EventTypes.h"
#include "Qt/QtBackend.h"

namespace {

struct LibraryLoad
{
    LibraryLoad()
    {
        MiniToolbars::BaseMetrics::fill();
        MiniToolbars::EventTypes::registerAll();
        MiniToolbars::Backend::install(&MiniToolbars::QtBackend::instance());
    }
};

const LibraryLoad s_libraryLoad;

} // namespace
