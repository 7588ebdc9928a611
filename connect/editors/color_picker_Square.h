#pragma once
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QWidget>

class QHueSlider;

// A saturation/value square for one hue, with its hue bar below. A press in the square
// or on the hue bar picks a colour and says so through color_selected(); setColor shows
// a colour without saying so.
class color_picker_Square : public QWidget
{
    Q_OBJECT
public:
    explicit color_picker_Square(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    double hue() const { return m_hue; }
    QPoint marker() const { return QPoint(m_markerX, m_markerY); }
    QHueSlider *hue_slider() const { return m_hueSlider; }

signals:
    void color_selected();

public slots:
    void setHue(int h);
    void setColor(QColor set_color);
    void qsliderRelease();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    QColor colour_at_marker() const;

    QImage m_gradient;
    QColor m_color = Qt::green;
    double m_hue = 0.0;
    QHueSlider *m_hueSlider;
    quint16 m_markerX = 0;
    quint16 m_markerY = 0;
};
