#pragma once
#include <QList>
#include <QWidget>

class QPushButton;
class QSignalMapper;
class Tavri_Device_Btn;

// The row of device squares, followed by the add-device square.
class m_Devlist : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kSquare = 138;
    static constexpr int kPitch = 144;

    explicit m_Devlist(QWidget *parent = nullptr);

    QPushButton *add_button() const { return m_addButton; }
    QSignalMapper *enter_mapper() const { return m_enterMapper; }
    QSignalMapper *click_mapper() const { return m_clickMapper; }
    const QList<Tavri_Device_Btn *> &buttons() const { return m_buttons; }
    bool has_dev(const QString &dev_config_path, const QString &dev_sn) const;

signals:
    void dev_cnt_changed();
    void leave_btn();

public slots:
    void add_dev(QString dev_config_path, QString dev_update_path, QString dev_sn, QString icon,
                 QString icon_hover, QString product_name);
    void del_dev(QString dev_config_path, QString dev_sn);

private:
    Tavri_Device_Btn *find_dev(const QString &dev_config_path, const QString &dev_sn) const;
    void resize_for_buttons();

    QList<Tavri_Device_Btn *> m_buttons;
    QPushButton *m_addButton;
    QSignalMapper *m_enterMapper;
    QSignalMapper *m_clickMapper;
};
