#ifndef MINITOOLBARS_RESOURCEMODULES_H
#define MINITOOLBARS_RESOURCEMODULES_H

#include "MiniToolbarsGlobal.h"
#include "MTBxString.h"

namespace MiniToolbars {

/** @addtogroup support */
/** @{ */
/// Resource-only modules (PE files) for "res://module/type/name" icon references.
/// A loaded module is found by its file name or its full path. GUI thread only.
///
/// Loads the module at path, or counts one more use of a module already loaded;
/// null when it cannot be read. The caller releases it with freeResourceModule().
MINITOOLBARS_EXPORT HMODULE loadResourceModule(const MTBxString& path);
/// Releases one use of module; the last release unloads it. False for an
/// unknown module.
MINITOOLBARS_EXPORT bool freeResourceModule(HMODULE module);
/// The module that an empty module name in a "res://" reference stands for.
MINITOOLBARS_EXPORT void setHostResourceModule(HMODULE module);
/** @} */

} // namespace MiniToolbars

#endif
