#pragma once
#include <QDialog>

class QButtonGroup;
class QLabel;
class QPropertyAnimation;
class QPushButton;
class QScrollArea;
class combo_List;
class func_List;
class micro_Widget;

// The popup in which the user chooses what one mouse button does: a function, a key
// combination or a recorded macro, one tab each. It shows and hides with a fade.
class btn_Dialog : public QDialog
{
    Q_OBJECT
public:
    enum Tab { FunctionTab = 0, CombinationTab = 1, MacroTab = 2 };

    explicit btn_Dialog(QWidget *parent = nullptr);

    void setVisible(bool visible) override;

    // What the button page sets and reads.
    QLabel *title;
    QScrollArea *func_area;
    QScrollArea *combo_area;
    func_List *func_list;
    combo_List *combo_list;
    micro_Widget *recorder;
    QPushButton *func_tab;
    QPushButton *combo_tab;
    QPushButton *macro_tab;
    QButtonGroup *tab_group;

signals:
    void set_btn(int ID);
    void save_micro_clicked(int ID);
    void save_mkey_clicked(int ID);

public slots:
    void btn_clear(int ID, bool checked);
    void show_btn_text(int ID, bool checked);

private slots:
    void dg_switch(int btn_id, bool checked);
    void set_checked_btn(int ID, bool checked);
    void save_micro();
    void set_hide();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPropertyAnimation *m_fadeOut;
    QPropertyAnimation *m_fadeIn;
};
