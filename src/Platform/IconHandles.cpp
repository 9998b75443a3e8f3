#include "MiniToolbars/IconHandles.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

#include <cstdint>
#include <map>

namespace MiniToolbars {

namespace {

// Live handles and their images. Handle values are never reused, so a
// destroyed handle cannot come back to life as another icon.
struct IconTable
{
    std::map<std::uintptr_t, QImage> images;
    std::uintptr_t next = 1;
};

IconTable& table()
{
    static IconTable s_table;
    return s_table;
}

} // namespace

HICON createIconHandle(const QImage& image)
{
    if (image.isNull())
        return nullptr;
    IconTable& icons = table();
    const std::uintptr_t id = icons.next++;
    icons.images.emplace(id, image);
    return reinterpret_cast<HICON>(id);
}

void destroyIconHandle(HICON handle)
{
    table().images.erase(reinterpret_cast<std::uintptr_t>(handle));
}

QPixmap pixmapFromIconHandle(HICON handle)
{
    // Pixmaps exist only in a GUI application.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QPixmap();
    const IconTable& icons = table();
    const auto it = icons.images.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == icons.images.end())
        return QPixmap();
    return QPixmap::fromImage(it->second);
}

} // namespace MiniToolbars
