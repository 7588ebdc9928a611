#include "SpeedSlider.h"

#include "common/SharedStyles.h"

#include <QLabel>
#include <QPainter>

namespace {

const QString kStyle = QStringLiteral(
    "QSlider::groove:horizontal {background:transparent;height:6px;margin-left:6px;margin-right:6px;}"
    "QSlider::add-page:Horizontal {margin-left:7px;margin-right:6px;background-color:rgba(255,255,255,0.08);height:4px;}"
    "QSlider::sub-page:Horizontal {margin-left:6px;margin-right:9px;background-color:qlineargradient(spread:pad, x1:0, "
    "y1:0, x2:1, y2:0, stop:0 rgba(255,255,255,0.08), stop:1 rgba(255,255,255,1));height:4px;}"
    "QSlider::sub-page:disabled {background-color:rgba(255,255,255,0.08)}"
    "QSlider::handle:horizontal {background: #afafaf;width:12px;margin-top:-3px;margin-bottom:-3px;margin-left:-6px;"
    "margin-right:-6px;border-radius:2px;}"
    "QSlider::handle:disabled {background: #2f333c;}");

// Tick i (1 to 8) stands 40 pixels after the one before.
int tick_x(int i)
{
    return 6 + 40 * (i - 1);
}

} // namespace

SpeedSlider::SpeedSlider(QWidget *parent)
    : QSlider(parent)
{
    setFixedSize(292, 50);
    setStyleSheet(kStyle);
    setOrientation(Qt::Horizontal);
    setMinimum(1);
    setMaximum(8);
    setPageStep(1);
    setValue(4);

    m_valueLabel = new QLabel(this);
    m_valueLabel->setGeometry(1, 38, 10, 12);
    m_valueLabel->setAlignment(Qt::AlignCenter);
    m_valueLabel->setStyleSheet(style_label);
    connect(this, &QSlider::sliderMoved, this, &SpeedSlider::move_value);
    connect(this, &QSlider::valueChanged, this, &SpeedSlider::move_value);
}

void SpeedSlider::move_value(int value)
{
    if (value < minimum() || value > maximum())
        return;
    m_valueLabel->setNum(value);
    m_valueLabel->move(value * 40 - 39, 38);
}

// The ticks go under the slider's own drawing; the one under the value label is left out.
void SpeedSlider::paintEvent(QPaintEvent *e)
{
    {
        QPainter painter(this);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, isEnabled() ? 76 : 36));
        bool numeric = false;
        const int shown = m_valueLabel->text().toInt(&numeric);
        for (int i = 1; i <= 8; ++i) {
            if (numeric && shown == i)
                continue;
            if (i == 1 || i == 8)
                painter.drawRect(tick_x(i), 43, 2, 4);
            else
                painter.drawRect(tick_x(i), 44, 2, 2);
        }
    }
    QSlider::paintEvent(e);
}
