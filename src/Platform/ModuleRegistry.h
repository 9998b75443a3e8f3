#ifndef MINITOOLBARS_MODULEREGISTRY_H
#define MINITOOLBARS_MODULEREGISTRY_H

#include "MiniToolbars/MiniToolbarsGlobal.h"

#include <QString>

namespace MiniToolbars {

// Bytes of one resource inside a loaded module's copy of its file; valid while
// the module stays loaded.
struct ResourceBytes
{
    const unsigned char* data = nullptr;
    unsigned int size = 0;
};

// The process-wide table of resource-only modules (PE files read into memory).
// It stands in for the module calls of the Windows resource API.
class ModuleRegistry
{
public:
    // A module the host loaded, by full path or file name; for an empty name
    // the host's resource module. Null when none matches.
    static HMODULE moduleHandle(const QString& name);
    // Loads the file as a data-only module that moduleHandle() does not find.
    static HMODULE loadAsDataFile(const QString& path);
    // A module the host asks for; loading the same file again counts a reference.
    static HMODULE loadForHost(const QString& path);
    // Drops one reference; the module's bytes go with the last. False for an unknown handle.
    static bool free(HMODULE module);
    static void setHostModule(HMODULE module);

    // Type and name are "#N" for the integer id N, otherwise a case-insensitive name.
    static bool findResource(HMODULE module, const QString& type, const QString& name, ResourceBytes* out);

    // Number of modules loaded at the moment.
    static int loadedModuleCount();
};

} // namespace MiniToolbars

#endif
