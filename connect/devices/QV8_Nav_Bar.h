#pragma once
#include <QWidget>

class QButtonGroup;
class QLabel;
class QPushButton;

// The QV8 page's bottom bar: button settings (id 0) and device configuration (id 1),
// with a tip above the button under the pointer.
class QV8_Nav_Bar : public QWidget
{
    Q_OBJECT
public:
    explicit QV8_Nav_Bar(QWidget *parent = nullptr);

    QPushButton *button_settings() const { return m_buttonSettings; }
    QPushButton *device_settings() const { return m_deviceSettings; }
    QLabel *tip() const { return m_tip; }

signals:
    void nav_btn_selected(int);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void nav_btn_toggled(int ID, bool checked);

private:
    QPushButton *add_button(int x, const QString &image, const QString &checked_image);
    void show_tip(int x, const QString &text);

    QButtonGroup *m_group;
    QPushButton *m_buttonSettings;
    QPushButton *m_deviceSettings;
    QLabel *m_tip;
};
