#ifndef MINITOOLBARS_RESOURCEMODULES_H
#define MINITOOLBARS_RESOURCEMODULES_H

#include "MiniToolbarsGlobal.h"
#include "MTBxString.h"

namespace MiniToolbars {

/// Resource-only modules (PE files) for "res://module/type/name" icon references.
/// A loaded module is found by its file name or its full path. Null on failure.
MINITOOLBARS_EXPORT HMODULE loadResourceModule(const MTBxString& path);
MINITOOLBARS_EXPORT bool freeResourceModule(HMODULE module);
/// The module that an empty module name in a "res://" reference stands for.
MINITOOLBARS_EXPORT void setHostResourceModule(HMODULE module);

} // namespace MiniToolbars

#endif
