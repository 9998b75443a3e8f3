#include "Compat/QtCompat.h"
#include "MiniToolbars/ResourceModules.h"

#include "Platform/ModuleRegistry.h"

#include <QString>

namespace MiniToolbars {

HMODULE loadResourceModule(const MTBxString& path)
{
    return ModuleRegistry::loadForHost(QtCompat::fromUtf16(static_cast<const unsigned short*>(path)));
}

bool freeResourceModule(HMODULE module)
{
    return ModuleRegistry::free(module);
}

void setHostResourceModule(HMODULE module)
{
    ModuleRegistry::setHostModule(module);
}

} // namespace MiniToolbars
