#include "QmtbText.h"

#include "Factories.h"
#include "Style.h"

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
QString toQString(const MTBxString& text)
{
    return QString::fromUtf16(static_cast<const unsigned short*>(text));
}

QFont styleFont(const MTBxString& family, int pointSize)
{
    return QFont(toQString(family), pointSize > 0 ? pointSize : 1);
}

} // namespace

QmtbText::QmtbText(const MTBxString& text, int kind, const QFont* font)
    : Text(text, kind)
{
    if (font)
        m_font = std::make_unique<QFont>(*font);
    measure();
}

QmtbText::~QmtbText() = default;

void QmtbText::measure()
{
    if (!m_font) {
        const Style* style = Style::instance();
        m_font = std::make_unique<QFont>(styleFont(style->fontFamily(), style->fontPointSize()));
    }
    m_string = toQString(m_text);

    int width = 0;
    int height = 0;
    int xHeight = 0;
    if (haveFontEngine()) {
        const QFontMetrics metrics(*m_font);
        // Blanks have no ink, but some font engines let the bounding rectangle
        // reach from the pen origin across them; they are left out of the measure.
        const QRect ink = metrics.tightBoundingRect(m_string.trimmed());
        width = ink.width();
        height = ink.height();
        xHeight = metrics.tightBoundingRect(QStringLiteral("x")).height();
    }

    if (m_rect)
        m_rect->resize(static_cast<float>(width), static_cast<float>(height));
    else
        m_rect = std::make_unique<Rect>(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height));
    m_xHeight = xHeight;
}

Text* createText(const MTBxString& text, unsigned int kind, const QFont* font)
{
    return new QmtbText(text, static_cast<int>(kind), font);
}

Text* createText(const MTBxString& text, unsigned int kind)
{
    return new QmtbText(text, static_cast<int>(kind), nullptr);
}

int measureXHeight(const MTBxString& family, int pointSize)
{
    if (!haveFontEngine())
        return 0;
    return QFontMetrics(styleFont(family, pointSize)).tightBoundingRect(QStringLiteral("x")).height();
}

} // namespace MiniToolbars
