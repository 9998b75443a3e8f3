#ifndef MINITOOLBARS_REGULARFILE_H
#define MINITOOLBARS_REGULARFILE_H

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

namespace MiniToolbars {

// Opens a file the host named, for reading, when it is a regular file or a Qt
// resource (":/..."); null otherwise. A FIFO, device or directory is refused
// without blocking. The type is checked on the open descriptor, so the name
// cannot be swapped for something else between the check and the reads.
// fileName() reports the path, so relative references resolve beside it.
std::unique_ptr<QFile> openRegularFile(const QString& path);

// The whole content of such a file; false when it cannot be opened, is empty
// or is larger than maxSize bytes.
bool readRegularFile(const QString& path, qint64 maxSize, QByteArray* bytes);

} // namespace MiniToolbars

#endif
