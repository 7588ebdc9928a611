#include "ColorBtn.h"

#include <QMouseEvent>
#include <QPainter>

ColorBtn::ColorBtn(QWidget *parent)
    : QPushButton(parent)
{
    setCheckable(true);
}

void ColorBtn::setBtnColor(QColor s_color)
{
    m_color = s_color;
    update();
}

void ColorBtn::enterEvent(QEvent *)
{
    m_pointerState = Inside;
    update();
}

void ColorBtn::leaveEvent(QEvent *)
{
    m_pointerState = Normal;
    update();
}

// Other buttons are dropped before the push button sees them.
void ColorBtn::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    m_pressed = true;
    m_pointerState = Pressed;
    update();
    QPushButton::mousePressEvent(e);
}

// Every release ends the press; only one inside the swatch clicks it.
void ColorBtn::mouseReleaseEvent(QMouseEvent *e)
{
    if (!m_pressed)
        return;
    m_pressed = false;
    m_pointerState = rect().contains(e->localPos().toPoint()) ? Inside : Normal;
    update();
    QPushButton::mouseReleaseEvent(e);
}

void ColorBtn::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = isEnabled() ? m_color : QColor(255, 255, 255, 36);
    const QPen pen(colour, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    const bool ring = isChecked() || (isEnabled() && m_pointerState != Normal);
    const int w = width();
    const int h = height();
    if (ring) {
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(0, 0, w, h, 50, 50, Qt::RelativeSize);
        if (!isEnabled())
            painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRoundedRect(3, 3, w - 6, h - 6, 50, 50, Qt::RelativeSize);
    } else {
        painter.setPen(isEnabled() ? pen : QPen(Qt::NoPen));
        painter.setBrush(colour);
        painter.drawRoundedRect(1, 1, w - 2, h - 2, 50, 50, Qt::RelativeSize);
    }
}
