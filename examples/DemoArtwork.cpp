#include "DemoArtwork.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace DemoArtwork {

QString sampleText()
{
    return QStringLiteral(
        "A mini toolbar is a small, floating and translucent toolbar that appears right where "
        "you work. Select a few words in this page and it shows up just above them, with the "
        "commands that make sense for a selection.\n\n"
        "Move the pointer away and the toolbar fades, so that it never stands between you and "
        "your text. Bring the pointer back and it becomes opaque again. One item on its second "
        "row never fades: it stays in place, ready to close the toolbar.\n\n"
        "The buttons Bold, Italic and Underline are checkable. Each of them follows the "
        "formatting of the selected text and changes it when you click. Highlight marks the "
        "selection with a yellow background, Clear removes every format, Colour applies the last "
        "colour (its arrow lists the others) and the two size commands make the text larger or "
        "smaller. Recent lists what you copied; its entries can be removed.\n\n"
        "Typing goes on while the toolbar is shown: the keyboard stays with the editor. A click "
        "next to the toolbar lands in the text and moves the cursor there, as if the toolbar "
        "were not there at all.\n\n"
        "You can drag the toolbar by its grip or by any item. Everything the toolbar reports, "
        "hovering, triggered actions, modified clicks, keys, drags and fades, is listed in the "
        "log below.\n\n"
        "The Options menu switches between the light and the dark theme, changes the scaling "
        "factor, and turns the automatic fading, the tooltips and the debug tooltips on and "
        "off. The same choices are available as command-line switches; run the demo with "
        "--help to see them.\n\n"
        "The quick brown fox jumps over the lazy dog. Pack my box with five dozen liquor jugs. "
        "How vexingly quick daft zebras jump. Sphinx of black quartz, judge my vow.");
}

// A highlighter pen, drawn here and handed to the item as encoded PNG bytes.
QByteArray highlightIconPng(const QColor& ink)
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawRect(QRectF(3, 23, 26, 6));
    painter.translate(16, 14);
    painter.rotate(45);
    painter.setPen(QPen(QColor(60, 60, 60), 2));
    painter.setBrush(QColor(250, 210, 40));
    painter.drawRoundedRect(QRectF(-5, -12, 10, 18), 2, 2);
    QPainterPath tip;
    tip.moveTo(-5, 6);
    tip.lineTo(0, 12);
    tip.lineTo(5, 6);
    tip.closeSubpath();
    painter.setBrush(QColor(60, 60, 60));
    painter.drawPath(tip);
    painter.end();

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QIcon swatch(const QColor& colour)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(QColor(60, 60, 60), 2));
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(4, 4, 24, 24), 4, 4);
    return QIcon(pixmap);
}

} // namespace DemoArtwork
