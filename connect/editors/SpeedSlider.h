#pragma once
#include <QSlider>

class QLabel;

// The lighting frequency, 1 to 8, over eight tick marks; a label under the handle shows
// the value once it has changed (or move_value was called).
class SpeedSlider : public QSlider
{
    Q_OBJECT
public:
    explicit SpeedSlider(QWidget *parent = nullptr);

    QLabel *value_label() const { return m_valueLabel; }

public slots:
    void move_value(int value);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QLabel *m_valueLabel;
};
