#pragma once
#include <QColor>
#include <QPushButton>

// A round, checkable colour swatch. Checked or under the pointer it shows as a ring,
// otherwise as a disc. Only the left button presses it.
class ColorBtn : public QPushButton
{
    Q_OBJECT
public:
    enum PointerState { Normal = 0, Inside = 1, Pressed = 2 };

    explicit ColorBtn(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    int pointer_state() const { return m_pointerState; }
    bool press_pending() const { return m_pressed; }

public slots:
    void setBtnColor(QColor s_color);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    int m_pointerState = Normal;
    bool m_pressed = false;
    QColor m_color;
};
