#include "Platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace MiniToolbars {

namespace {

// A QFile opened from a descriptor has no name of its own; readers that look
// at the name (an SVG resolving its image references) get the path it came from.
class DescriptorFile : public QFile
{
public:
    explicit DescriptorFile(const QString& path)
        : m_path(path)
    {
    }

    QString fileName() const override { return m_path; }

private:
    QString m_path;
};

} // namespace

std::unique_ptr<QFile> openRegularFile(const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    // Qt resources live in memory; the name never reaches the file system.
    if (path.startsWith(QLatin1Char(':'))) {
        auto file = std::make_unique<QFile>(path);
        if (!file->open(QIODevice::ReadOnly))
            return nullptr;
        return file;
    }
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    auto file = std::make_unique<DescriptorFile>(path);
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}

bool readRegularFile(const QString& path, qint64 maxSize, QByteArray* bytes)
{
    const std::unique_ptr<QFile> file = openRegularFile(path);
    if (!file || !bytes)
        return false;
    const qint64 size = file->size();
    if (size <= 0 || size > maxSize)
        return false;
    // A file that shrinks meanwhile gives fewer bytes; one that grows, no more.
    *bytes = file->read(size);
    return !bytes->isEmpty();
}

} // namespace MiniToolbars
