#include "color_picker_Square.h"

#include "QHueSlider.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// The picking area: saturation grows to the right, value downwards falls to 0.
constexpr int kLeft = 6;
constexpr int kTop = 6;
constexpr int kWidth = 180;
constexpr int kHeight = 106;

const QColor kDisabledColour(255, 255, 255, 36);

} // namespace

color_picker_Square::color_picker_Square(QWidget *parent)
    : QWidget(parent)
{
    m_hueSlider = new QHueSlider(this);
    m_hueSlider->setGeometry(0, 135, 192, 35);
    m_hueSlider->setOrientation(Qt::Horizontal);
    m_hueSlider->setMaximum(359);
    connect(m_hueSlider, &QSlider::valueChanged, this, &color_picker_Square::setHue);
    connect(m_hueSlider, &QSlider::sliderReleased, this, &color_picker_Square::qsliderRelease);
    connect(m_hueSlider, &QHueSlider::slider_pressed, this, &color_picker_Square::qsliderRelease);
}

void color_picker_Square::setHue(int h)
{
    m_hue = qBound(0.0, h / 359.0, 1.0);
    update();
}

void color_picker_Square::setColor(QColor set_color)
{
    m_color = set_color;
    m_hueSlider->setValue(set_color.hue());
    m_markerX = quint16(set_color.saturationF() * kWidth + kLeft);
    m_markerY = quint16((1.0 - set_color.valueF()) * kHeight + kTop);
    update();
}

void color_picker_Square::qsliderRelease()
{
    m_color = colour_at_marker();
    emit color_selected();
}

QColor color_picker_Square::colour_at_marker() const
{
    const double saturation = qBound(0.0, double(m_markerX - kLeft) / kWidth, 1.0);
    const double value = qBound(0.0, 1.0 - double(m_markerY - kTop) / kHeight, 1.0);
    return QColor::fromHsvF(m_hue, saturation, value, 1.0);
}

// One pixel beyond the picture on the right and at the bottom still counts.
void color_picker_Square::mousePressEvent(QMouseEvent *e)
{
    const int x = qRound(e->localPos().x());
    const int y = qRound(e->localPos().y());
    if (x < kLeft || x > kLeft + kWidth || y < kTop || y > kTop + kHeight)
        return;
    m_markerX = quint16(x);
    m_markerY = quint16(y);
    m_color = colour_at_marker();
    emit color_selected();
    update();
}

void color_picker_Square::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kDisabledColour);
        painter.drawRect(kLeft, kTop, kWidth, kHeight);
        return;
    }
    m_gradient = QImage(kWidth, kHeight, QImage::Format_RGB32);
    for (int i = 0; i < kWidth; ++i)
        for (int j = 0; j < kHeight; ++j)
            m_gradient.setPixel(i, j, QColor::fromHsvF(m_hue, double(i) / kWidth, 1.0 - double(j) / kHeight).rgb());
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::NoBrush);
    painter.drawImage(QRect(kLeft, kTop, kWidth, kHeight), m_gradient);
    painter.setPen(QPen(m_color.valueF() > 0.5 ? Qt::black : Qt::white, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.drawRoundedRect(m_markerX - 6, m_markerY - 6, 12, 12, 25, 25, Qt::RelativeSize);
}
