// The demo's sample page and the pictures its own items show.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QIcon>
#include <QString>

namespace DemoArtwork {

QString sampleText();
// A highlighter pen over a stroke of ink, as encoded PNG bytes.
QByteArray highlightIconPng(const QColor& ink);
// A rounded square of colour for the colour menu.
QIcon swatch(const QColor& colour);

} // namespace DemoArtwork
