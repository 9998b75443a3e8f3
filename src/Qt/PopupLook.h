#ifndef MINITOOLBARS_POPUPLOOK_H
#define MINITOOLBARS_POPUPLOOK_H

#include <QFont>
#include <QPalette>
#include <QString>

class QWidget;

namespace MiniToolbars {

// How the popups follow their toolbar: the theme's colours and the style's
// scaling factor. At factor 1 in the light theme nothing is changed, so the
// popups look exactly as the desktop draws them.
namespace PopupLook {

// The style's scaling factor, 1 for anything that names no size.
qreal factor();
// pixels times the factor, rounded; pixels itself at factor 1.
int scaled(int pixels);
// font grown by the factor.
QFont scaledFont(const QFont& font);
// palette in the theme's popup colours; unchanged in the light theme.
QPalette themed(const QPalette& palette);
// Gives popup the theme's colours, its font grown by the factor and, at a
// factor other than 1, a style whose icons, check marks, margins and scroll
// bars grow with it. The style is the popup's child.
void apply(QWidget* popup);
// The tooltips' style sheet for the theme and the factor; empty when the
// desktop's tooltips already fit.
QString toolTipStyleSheet(const QFont& font);

} // namespace PopupLook

} // namespace MiniToolbars

#endif
