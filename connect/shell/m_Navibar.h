#pragma once
#include <QWidget>

class QLabel;
class QPushButton;
class QScrollArea;
class m_Devlist;

// The device bar: the scrollable device list, its arrows and the name of the device under the pointer.
class m_Navibar : public QWidget
{
    Q_OBJECT
public:
    explicit m_Navibar(QWidget *parent = nullptr);

    m_Devlist *devlist() const { return m_devlist; }
    QPushButton *left_arrow() const { return m_leftArrow; }
    QPushButton *right_arrow() const { return m_rightArrow; }
    QScrollArea *scroll_area() const { return m_scrollArea; }
    QLabel *name_label() const { return m_nameLabel; }

public slots:
    void scroll_left();
    void scroll_right();
    void scroll_btn_update();
    void show_dev_name(QString dev_name);
    void hide_dev_name();

private:
    void scroll_by(int pixels);

    QPushButton *m_leftArrow;
    QPushButton *m_rightArrow;
    QScrollArea *m_scrollArea;
    QLabel *m_nameLabel;
    m_Devlist *m_devlist;
};
