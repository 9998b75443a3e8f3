#ifndef MINITOOLBARS_QMTBSTRING_H
#define MINITOOLBARS_QMTBSTRING_H

#include "Compat/QtCompat.h"
#include "MiniToolbars/MTBxString.h"

#include <QString>

namespace MiniToolbars {

// The interface's UTF-16 strings and Qt's, both ways.
inline QString toQString(const MTBxString& text)
{
    const unsigned short* units = text;
    return units && !text.empty() ? QtCompat::fromUtf16(units, static_cast<int>(text.length())) : QString();
}

inline MTBxString toMtbString(const QString& text)
{
    return MTBxString(reinterpret_cast<const unsigned short*>(text.utf16()));
}

} // namespace MiniToolbars

#endif
