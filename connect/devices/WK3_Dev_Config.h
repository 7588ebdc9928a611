#pragma once
#include <QWidget>

class QPushButton;
class QRadioButton;

// The WK3 page's only settings page: start Kelvane, and switch its autorun.
class WK3_Dev_Config : public QWidget
{
    Q_OBJECT
public:
    explicit WK3_Dev_Config(QWidget *parent = nullptr);

    QPushButton *start_button() const { return m_startButton; }
    QRadioButton *autorun_switch() const { return m_autorunSwitch; }

public slots:
    void run_orvane();
    void enable_autorun(bool enabled);

private:
    QPushButton *m_startButton;
    QRadioButton *m_autorunSwitch;
};
