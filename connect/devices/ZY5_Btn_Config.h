#pragma once
#include "Zy5Protocol.h"

#include <QWidget>

class PopBox;
class QButtonGroup;
class btn_Dialog;

// The ZY5 button settings: the mouse's eight assignable buttons on its pictures. A click
// reads that button's assignment, opens the assignment dialog beside it with the current
// choice marked, and writes what the user saves back to the mouse.
class ZY5_Btn_Config : public QWidget
{
    Q_OBJECT
public:
    explicit ZY5_Btn_Config(QWidget *parent = nullptr);

    // Set by the device page.
    QString dev_command_path;
    QString dev_macro_path;

    QButtonGroup *button_group() const { return m_buttons; }
    btn_Dialog *dialog() const { return m_dialog; }
    PopBox *notice() const { return m_notice; }

private slots:
    void show_btn_dg(int btn_id, bool checked);
    void get_btn_state(int btn_id);
    void get_micro_btn(int btn_id);
    void set_mouse_btn(int func_id);
    void set_mkey_function();
    void set_micro_function();
    void btn_clicked(int btn_id);

private:
    void open_btn_dialog(int btn_id);
    void show_assignment_in_dialog();
    std::uint8_t chosen_button() const;
    // A written function or key combination is the assignment in force from then on.
    void assign(const QByteArray &report, const zy5::ButtonAssignment &assignment);
    void remember_in_force(const zy5::ButtonAssignment &assignment, std::optional<std::vector<MacroEvent>> macro);
    void put_back_assignment_in_force();
    void tell_user(const QString &text);

    QButtonGroup *m_buttons;
    btn_Dialog *m_dialog;
    PopBox *m_notice;
    zy5::ButtonAssignment m_assignment;  // as last read: what the dialog shows
    zy5::ButtonAssignment m_inForce;     // as last read or written
    int m_inForceButton = 0;             // whose it is; 0 when the last read failed
    std::optional<std::vector<MacroEvent>> m_macroInForce;  // its events, when it is a macro known whole
};
