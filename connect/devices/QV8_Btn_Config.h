#pragma once
#include <QWidget>

class QButtonGroup;

// The QV8 page's button settings: main button, wheel direction, power-on state and DPI,
// each an exclusive group of choice buttons. A signal fires only for the newly checked
// button; reads from the device block the groups' signals.
class QV8_Btn_Config : public QWidget
{
    Q_OBJECT
public:
    explicit QV8_Btn_Config(QWidget *parent = nullptr);

    QButtonGroup *main_btn_group() const { return m_mainBtnGroup; }
    QButtonGroup *wheel_direction_group() const { return m_wheelDirectionGroup; }
    QButtonGroup *power_on_state_group() const { return m_powerOnStateGroup; }
    QButtonGroup *dpi_group() const { return m_dpiGroup; }

signals:
    void main_btn_id(int);
    void wheel_direction_id(int);
    void power_on_state_id(int);
    void dpi_id(int);

public slots:
    void send_main_btn_id(int id, bool checked);
    void send_wheel_direction_id(int id, bool checked);
    void send_power_on_state_id(int id, bool checked);
    void send_dpi_id(int id, bool checked);

private:
    struct Choice {
        const char *text;
        int x;
        int y;
    };
    QButtonGroup *add_group(const char *title, QPoint title_at, std::initializer_list<Choice> choices);
    void add_hint(const QString &text, int x, int y);

    QButtonGroup *m_mainBtnGroup;
    QButtonGroup *m_wheelDirectionGroup;
    QButtonGroup *m_powerOnStateGroup;
    QButtonGroup *m_dpiGroup;
};
