#ifndef MINITOOLBARS_QMTBFADEANIMATION_H
#define MINITOOLBARS_QMTBFADEANIMATION_H

#include "Qt/QmtbAnimation.h"

#include <QPointer>
#include <QRegion>
#include <QWidget>

// Fades a toolbar window's opacity linearly from one value to another. Each
// frame repaints the target instead of emitting redraw().
class QmtbFadeAnimation : public QmtbAnimation
{
    Q_OBJECT

public:
    // Opacities outside [0, 1] are clamped; NaN counts as fully opaque.
    QmtbFadeAnimation(QWidget* target, float from, float to, int frameRate, float duration);

    float value() const { return m_value; }
    float from() const { return m_from; }
    float to() const { return m_to; }
    bool isFadingOut() const { return m_to < m_from; }
    QWidget* target() const { return m_target; }

    // Limits each frame's repaint to this part of the target; empty repaints it whole.
    void setRedrawRegion(const QRegion& region) { m_redrawRegion = region; }
    const QRegion& redrawRegion() const { return m_redrawRegion; }

protected:
    void applyProgress() override;
    void requestRedraw() override;

private:
    QPointer<QWidget> m_target;
    float m_value;
    float m_to;
    float m_from;
    float m_delta;
    QRegion m_redrawRegion;
};

#endif
