#include "Platform/ModuleRegistry.h"

#include "Platform/PeResourceReader.h"
#include "Platform/RegularFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdint>
#include <map>
#include <memory>

namespace MiniToolbars {

namespace {

// Resource-only modules hold icons; a larger file is refused rather than read.
constexpr qint64 kMaxModuleSize = 64 * 1024 * 1024;

struct Module
{
    QString path; // absolute, cleaned
    // The whole file, read once: a mapping would fault if the file shrank
    // while loaded, and the bytes must not change under a decoder either.
    QByteArray content;
    int references = 1;
    bool hostLoaded = false;
};

// Handle values come from a counter and are never reused, so a stale handle
// finds nothing instead of another module.
struct Registry
{
    std::map<std::uintptr_t, std::unique_ptr<Module>> modules;
    std::uintptr_t next = 1;
    HMODULE host = nullptr;
};

Registry& registry()
{
    static Registry s_registry;
    return s_registry;
}

Module* lookup(HMODULE handle)
{
    Registry& r = registry();
    const auto it = r.modules.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == r.modules.end() ? nullptr : it->second.get();
}

// The file a module name stands for: as given (absolute or relative to the
// working directory), else next to the application.
QString resolve(const QString& name)
{
    if (name.isEmpty())
        return QString();
    QFileInfo info(name);
    if (info.isFile())
        return QDir::cleanPath(info.absoluteFilePath());
    if (info.isRelative() && QCoreApplication::instance()) {
        QFileInfo beside(QDir(QCoreApplication::applicationDirPath()), name);
        if (beside.isFile())
            return QDir::cleanPath(beside.absoluteFilePath());
    }
    return QString();
}

HMODULE loadModule(const QString& name, bool forHost)
{
    const QString path = resolve(name);
    if (path.isEmpty())
        return nullptr;
    Registry& r = registry();
    if (forHost) {
        for (auto& entry : r.modules) {
            Module& m = *entry.second;
            if (m.hostLoaded && m.path == path) {
                ++m.references;
                return reinterpret_cast<HMODULE>(entry.first);
            }
        }
    }
    auto module = std::make_unique<Module>();
    module->path = path;
    if (!readRegularFile(path, kMaxModuleSize, &module->content))
        return nullptr;
    module->hostLoaded = forHost;
    const std::uintptr_t id = r.next++;
    r.modules.emplace(id, std::move(module));
    return reinterpret_cast<HMODULE>(id);
}

} // namespace

HMODULE ModuleRegistry::moduleHandle(const QString& name)
{
    Registry& r = registry();
    if (name.isEmpty())
        return lookup(r.host) ? r.host : nullptr;

    const QString wanted = QDir::fromNativeSeparators(name);
    const bool byFileName = !wanted.contains(QLatin1Char('/'));
    const QString absolute = byFileName ? QString() : QDir::cleanPath(QFileInfo(wanted).absoluteFilePath());
    for (const auto& entry : r.modules) {
        const Module& m = *entry.second;
        if (!m.hostLoaded)
            continue;
        const bool match = byFileName
            ? QFileInfo(m.path).fileName().compare(wanted, Qt::CaseInsensitive) == 0
            : m.path == absolute;
        if (match)
            return reinterpret_cast<HMODULE>(entry.first);
    }
    return nullptr;
}

HMODULE ModuleRegistry::loadAsDataFile(const QString& path)
{
    return loadModule(QDir::fromNativeSeparators(path), false);
}

HMODULE ModuleRegistry::loadForHost(const QString& path)
{
    return loadModule(QDir::fromNativeSeparators(path), true);
}

bool ModuleRegistry::free(HMODULE module)
{
    Registry& r = registry();
    const auto it = r.modules.find(reinterpret_cast<std::uintptr_t>(module));
    if (it == r.modules.end())
        return false;
    if (--it->second->references <= 0) {
        if (r.host == module)
            r.host = nullptr;
        r.modules.erase(it);
    }
    return true;
}

void ModuleRegistry::setHostModule(HMODULE module)
{
    registry().host = module;
}

bool ModuleRegistry::findResource(HMODULE module, const QString& type, const QString& name, ResourceBytes* out)
{
    const Module* m = lookup(module);
    if (!m || !out)
        return false;
    const PeResourceReader reader(reinterpret_cast<const unsigned char*>(m->content.constData()),
                                  static_cast<std::uint64_t>(m->content.size()));
    const unsigned char* bytes = nullptr;
    std::uint32_t size = 0;
    if (!reader.find(ResourceKey::fromString(type), ResourceKey::fromString(name), &bytes, &size))
        return false;
    out->data = bytes;
    out->size = size;
    return true;
}

int ModuleRegistry::loadedModuleCount()
{
    return static_cast<int>(registry().modules.size());
}

} // namespace MiniToolbars
