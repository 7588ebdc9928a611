#pragma once
#include <QImage>
#include <QSlider>

// The hue bar under the colour square: a rainbow strip with a handle in the hue's colour.
// Keys and page steps move nothing; a press also says so through slider_pressed().
class QHueSlider : public QSlider
{
    Q_OBJECT
public:
    explicit QHueSlider(QWidget *parent = nullptr);

signals:
    void slider_pressed();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    QImage m_bar;
};
