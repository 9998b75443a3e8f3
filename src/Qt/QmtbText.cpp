#include "Compat/QtCompat.h"
#include "Qt/QmtbString.h"
#include "Qt/QmtbText.h"

#include "Core/Backend.h"
#include "Core/Style.h"
#include "Qt/ApplicationScoped.h"

#include <QCache>
#include <QFontMetrics>
#include <QGuiApplication>

namespace MiniToolbars {

namespace {

// Font metrics need the font database, which exists only in a GUI application.
bool haveFontEngine()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// The UTF-16 buffer up to its terminating NUL.
QFont styleFont(const MTBxString& family, int pointSize)
{
    return QFont(toQString(family), pointSize > 0 ? pointSize : 1);
}

struct Extent
{
    int width;
    int height;
    int xHeight;
    QString text;
};

struct ExtentKey
{
    QString text;
    QFont font;
};

bool operator==(const ExtentKey& a, const ExtentKey& b)
{
    return a.text == b.text && a.font == b.font;
}

// The point size tells apart what a scale change measures; equality checks the rest.
uint qHash(const ExtentKey& key, uint seed = 0)
{
    return ::qHash(key.text, seed) ^ ::qHash(key.font.pointSize(), seed);
}

// Measured extents by string and font; the font carries the family and the
// point size that the scaling factor gave, so a scale change asks for other
// keys. Bounded by entry count, least recently used first out. The style font
// of the last measurement is kept too, so texts share one font object.
struct TextCaches
{
    QCache<ExtentKey, Extent> extents{QmtbText::kExtentCacheEntries};
    QFont styleFont;
    MTBxString family;
    int pointSize = -1;
};

TextCaches& caches()
{
    return applicationScoped<TextCaches>();
}

const QFont& sharedStyleFont(const MTBxString& family, int pointSize)
{
    TextCaches& c = caches();
    if (c.pointSize != pointSize || c.family != family) {
        c.styleFont = styleFont(family, pointSize);
        c.family = family;
        c.pointSize = pointSize;
    }
    return c.styleFont;
}

// string may be a reused buffer; the cache keeps a copy of its own.
Extent measureExtent(const QString& string, const QFont& font, QString& stored)
{
    ExtentKey key{string, font};
    if (const Extent* cached = caches().extents.object(key)) {
        stored = cached->text;
        return *cached;
    }
    key.text = QString(string.constData(), string.size());
    stored = key.text;
    const QFontMetrics metrics(font);
    // Blanks have no ink, but some font engines let the bounding rectangle
    // reach from the pen origin across them; they are left out of the measure.
    const QRect ink = metrics.tightBoundingRect(string.trimmed());
    const Extent extent{ink.width(), ink.height(), metrics.tightBoundingRect(QStringLiteral("x")).height(),
                        key.text};
    caches().extents.insert(key, new Extent(extent));
    return extent;
}

} // namespace

QmtbText::QmtbText(const MTBxString& text, int kind, const QFont* font)
    : Text(text, kind)
{
    if (font)
        m_font = *font;
    measure();
}

QmtbText::~QmtbText() = default;

void QmtbText::measure()
{
    if (!m_font) {
        const Style* style = Style::instance();
        m_font = sharedStyleFont(style->fontFamily(), style->fontPointSize());
    }
    int width = 0;
    int height = 0;
    int xHeight = 0;
    if (haveFontEngine()) {
        // Looked up through a reused buffer; only a new string is copied for keeps.
        static QString s_lookup;
        s_lookup.setUtf16(static_cast<const unsigned short*>(m_text), static_cast<int>(m_text.length()));
        const Extent extent = measureExtent(s_lookup, *m_font, m_string);
        width = extent.width;
        height = extent.height;
        xHeight = extent.xHeight;
    } else {
        m_string = toQString(m_text);
    }

    if (m_rect)
        m_rect->resize(static_cast<float>(width), static_cast<float>(height));
    else
        m_rect = std::make_unique<Rect>(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height));
    m_xHeight = xHeight;
}

int QmtbText::measureXHeight(const MTBxString& family, int pointSize)
{
    if (!haveFontEngine())
        return 0;
    return QFontMetrics(styleFont(family, pointSize)).tightBoundingRect(QStringLiteral("x")).height();
}

} // namespace MiniToolbars
