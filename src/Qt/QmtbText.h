#ifndef MINITOOLBARS_QMTBTEXT_H
#define MINITOOLBARS_QMTBTEXT_H

#include "Text.h"

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

private:
    std::optional<QFont> m_font;
    QString m_string;
};

// The Qt form of the factory: measures in the given font (copied) when not null.
Text* createText(const MTBxString& text, unsigned int kind, const QFont* font);

} // namespace MiniToolbars

#endif
