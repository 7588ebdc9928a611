#include "QHueSlider.h"

#include <QPainter>

namespace {

constexpr int kBarX = 6;
constexpr int kBarY = 13;
constexpr int kBarWidth = 180;
constexpr int kBarHeight = 20;

const QColor kDisabledColour(255, 255, 255, 36);

} // namespace

QHueSlider::QHueSlider(QWidget *parent)
    : QSlider(parent)
{
    setSingleStep(0);
    setPageStep(0);
}

void QHueSlider::mousePressEvent(QMouseEvent *e)
{
    QSlider::mousePressEvent(e);
    emit slider_pressed();
}

// The handle stands over the hue: value / 360 of the bar.
void QHueSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double position = value() / 360.0 * kBarWidth + kBarX;
    const int handle_x = int(position - 5);
    const int stem_x = int(position - 1);

    if (!isEnabled()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kDisabledColour);
        painter.drawRect(kBarX, kBarY, kBarWidth, kBarHeight);
    } else {
        m_bar = QImage(kBarWidth, kBarHeight, QImage::Format_RGB32);
        for (int i = 0; i < kBarWidth; ++i) {
            const QRgb pixel = QColor::fromHsvF(double(i) / kBarWidth, 1.0, 1.0).rgb();
            for (int j = 0; j < kBarHeight; ++j)
                m_bar.setPixel(i, j, pixel);
        }
        painter.setPen(Qt::NoPen);
        painter.drawImage(QRect(kBarX, kBarY, kBarWidth, kBarHeight), m_bar);
        const QColor handle = QColor::fromHsvF(qBound(0.0, value() / 360.0, 1.0), 1.0, 1.0);
        painter.setBrush(handle);
        painter.setPen(QPen(handle, 1));
    }
    painter.drawRoundedRect(handle_x, 0, 10, 8, 50, 50, Qt::RelativeSize);
    painter.drawRect(stem_x, 8, 2, 4);
}
