#ifndef MINITOOLBARS_QMTBTEXT_H
#define MINITOOLBARS_QMTBTEXT_H

#include "Core/Text.h"

#include <QFont>
#include <QString>

#include <optional>

namespace MiniToolbars {

// A Text measured with QFontMetrics: its rect is the ink extent of the string.
class QmtbText : public Text
{
public:
    // Measured extents kept, least recently used first out.
    static constexpr int kExtentCacheEntries = 2048;

    // The font is copied; without one the style's font is used.
    QmtbText(const MTBxString& text, int kind, const QFont* font = nullptr);
    ~QmtbText() override;

    void measure() override;

    // Null before the first measurement.
    const QFont* font() const { return m_font ? &*m_font : nullptr; }
    const QString& string() const { return m_string; }

    // Height of the tight bounding box of "x" in the given font; 0 without a font engine.
    static int measureXHeight(const MTBxString& family, int pointSize);

private:
    std::optional<QFont> m_font;
    QString m_string;
};


} // namespace MiniToolbars

#endif
