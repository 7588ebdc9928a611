#include "ZY5_Btn_Config.h"

#include "Zy5Link.h"
#include "common/SharedStyles.h"
#include "editors/FunctionLists.h"
#include "editors/PopBox.h"
#include "editors/btn_Dialog.h"
#include "editors/micro_Widget.h"
#include "editors/mkey_Edit.h"

#include <QButtonGroup>
#include <QDebug>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

struct ButtonPlace {
    int id;
    QPoint position;
    QPoint dialog_offset;  // where the dialog opens, from the button
};

// In creation order.
const ButtonPlace kButtonPlaces[] = {
    {2, {386, 208}, {30, -12}},  {5, {386, 276}, {30, -12}},  {6, {386, 306}, {30, -12}},
    {8, {360, 214}, {30, -12}},  {9, {412, 214}, {30, -12}},  {7, {786, 276}, {30, -12}},
    {4, {814, 302}, {-350, -60}}, {3, {820, 350}, {-350, -60}},
};

const ButtonPlace *place_of(int id)
{
    for (const ButtonPlace &place : kButtonPlaces)
        if (place.id == id)
            return &place;
    return nullptr;
}

// Checks the row of a list, or none when the device names a row the list does not have.
void check_row(QButtonGroup *group, int rows, int id)
{
    if (id < rows)
        group->button(id)->setChecked(true);
    else
        clear_choice(group);
}

} // namespace

ZY5_Btn_Config::ZY5_Btn_Config(QWidget *parent)
    : QWidget(parent)
    , m_buttons(new QButtonGroup(this))
    , m_dialog(new btn_Dialog(this))
    , m_notice(new PopBox(this))
{
    auto *side = new QLabel(this);
    side->setGeometry(390, 9, 692, 648);
    side->setPixmap(QPixmap(QStringLiteral(":/img/ZY5_side")));
    auto *top = new QLabel(this);
    top->setGeometry(7, 9, 665, 648);
    top->setPixmap(QPixmap(QStringLiteral(":/img/ZY5_top")));

    for (const ButtonPlace &place : kButtonPlaces) {
        auto *button = new QPushButton(this);
        button->setGeometry(QRect(place.position, QSize(22, 22)));
        button->setCheckable(true);
        button->setStyleSheet(style_image_check_button);
        m_buttons->addButton(button, place.id);
    }
    m_dialog->setGeometry(0, 0, 334, 334);
    m_dialog->hide();
    m_notice->setOkBtnText(tr("确定"));
    m_notice->cancel_button()->hide();

    connect(m_buttons, &QButtonGroup::idToggled, this, &ZY5_Btn_Config::show_btn_dg);
    connect(m_buttons, &QButtonGroup::idClicked, this, &ZY5_Btn_Config::btn_clicked);
    connect(m_dialog, &btn_Dialog::set_btn, this, &ZY5_Btn_Config::set_mouse_btn);
    connect(m_dialog, &btn_Dialog::save_mkey_clicked, this, &ZY5_Btn_Config::set_mouse_btn);
    connect(m_dialog, &btn_Dialog::save_micro_clicked, this, &ZY5_Btn_Config::set_mouse_btn);
}

void ZY5_Btn_Config::show_btn_dg(int btn_id, bool checked)
{
    if (checked)
        open_btn_dialog(btn_id);
}

void ZY5_Btn_Config::btn_clicked(int btn_id)
{
    if (btn_id == m_buttons->checkedId())
        open_btn_dialog(btn_id);
}

void ZY5_Btn_Config::get_btn_state(int btn_id)
{
    const std::optional<QByteArray> reply = zy5::ask(dev_command_path, zy5::read_assignment(std::uint8_t(btn_id)));
    const std::optional<zy5::ButtonAssignment> assignment = reply ? zy5::assignment_in_reply(*reply) : std::nullopt;
    m_macroInForce.reset();
    if (!assignment) {
        // The dialog shows the last assignment read; a macro of another button is not offered.
        m_inForceButton = 0;
        m_dialog->recorder->set_unread();
        return;
    }
    m_assignment = *assignment;
    m_inForce = *assignment;
    m_inForceButton = btn_id;
    if (m_assignment.type == zy5::Macro)
        get_micro_btn(btn_id);
}

void ZY5_Btn_Config::get_micro_btn(int btn_id)
{
    m_macroInForce = zy5::read_macro(dev_macro_path, std::uint8_t(btn_id), m_assignment.modifiers);
    if (m_macroInForce)
        m_dialog->recorder->set_events(*m_macroInForce);
    else
        m_dialog->recorder->set_unread();
}

void ZY5_Btn_Config::open_btn_dialog(int btn_id)
{
    get_btn_state(btn_id);
    show_assignment_in_dialog();
    if (const ButtonPlace *place = place_of(btn_id)) {
        m_dialog->move(mapToGlobal(QPoint(0, 0)) + place->position + place->dialog_offset);
        m_dialog->show();
    }
}

void ZY5_Btn_Config::show_assignment_in_dialog()
{
    btn_Dialog &dialog = *m_dialog;
    const QSignalBlocker functions_quiet(dialog.func_list->group);
    const QSignalBlocker combinations_quiet(dialog.combo_list->group);
    switch (m_assignment.type) {
    case zy5::KeyCombination:
        dialog.combo_tab->setChecked(true);
        if (m_assignment.sub == 0) {
            dialog.combo_list->editor->load_combination(m_assignment.modifiers, m_assignment.key_usage);
            dialog.combo_list->editor->show_mkey();
            dialog.combo_list->get_mkey_value();
        }
        check_row(dialog.combo_list->group, dialog.combo_list->texts.size(), m_assignment.sub);
        break;
    case zy5::MouseFunction:
        dialog.func_tab->setChecked(true);
        check_row(dialog.func_list->group, dialog.func_list->texts.size(), m_assignment.sub);
        break;
    case zy5::Macro:
        dialog.macro_tab->setChecked(true);
        dialog.recorder->set_record_delay(m_assignment.sub != 0);
        dialog.recorder->show_records_list(m_assignment.sub != 0);
        break;
    default:
        return;
    }
    dialog.show_btn_text(0, true);
    dialog.btn_clear(0, true);
}

std::uint8_t ZY5_Btn_Config::chosen_button() const
{
    return std::uint8_t(m_buttons->checkedId());
}

void ZY5_Btn_Config::set_mouse_btn(int func_id)
{
    if (!place_of(m_buttons->checkedId())) {
        qDebug() << "ZY5 button assignment without a chosen button";
        return;
    }
    const int tab = m_dialog->tab_group->checkedId();
    if (func_id == 0 && tab == btn_Dialog::CombinationTab) {
        m_dialog->combo_list->get_mkey_value();
        set_mkey_function();
    } else if (tab == btn_Dialog::MacroTab) {
        set_micro_function();
    } else if (tab == btn_Dialog::FunctionTab) {
        assign(zy5::assign_function(chosen_button(), std::uint8_t(func_id)),
               {zy5::MouseFunction, std::uint8_t(func_id)});
    } else {
        assign(zy5::assign_preset_keys(chosen_button(), std::uint8_t(func_id)),
               {zy5::KeyCombination, std::uint8_t(func_id)});
    }
}

void ZY5_Btn_Config::set_mkey_function()
{
    const KeyCombination &combination = m_dialog->combo_list->editor->combination();
    assign(zy5::assign_custom_keys(chosen_button(), combination.modifiers, combination.key_usage),
           {zy5::KeyCombination, 0, combination.modifiers, combination.key_usage});
}

void ZY5_Btn_Config::assign(const QByteArray &report, const zy5::ButtonAssignment &assignment)
{
    if (zy5::tell(dev_command_path, report))
        remember_in_force(assignment, std::nullopt);
}

void ZY5_Btn_Config::remember_in_force(const zy5::ButtonAssignment &assignment,
                                       std::optional<std::vector<MacroEvent>> macro)
{
    m_inForce = assignment;
    m_inForceButton = chosen_button();
    m_macroInForce = std::move(macro);
}

void ZY5_Btn_Config::set_micro_function()
{
    const micro_Widget &recorder = *m_dialog->recorder;
    const bool record_delay = recorder.record_delay();
    switch (zy5::write_macro(dev_command_path, dev_macro_path, chosen_button(), record_delay, recorder.events())) {
    case zy5::MacroWrite::Written:
        remember_in_force({zy5::Macro, std::uint8_t(record_delay), std::uint8_t(recorder.events().size())},
                          recorder.events());
        return;
    case zy5::MacroWrite::TooLong:
        tell_user(tr("多键宏最多%1个按键事件，未写入").arg(zy5::kMaxMacroEvents));
        return;
    case zy5::MacroWrite::Failed:
        put_back_assignment_in_force();
        tell_user(tr("多键宏写入失败，请检查鼠标连接"));
        return;
    }
}

// After a macro write that failed part way, the button gets back the assignment it had
// just before, as far as that is known.
void ZY5_Btn_Config::put_back_assignment_in_force()
{
    if (m_inForceButton != chosen_button())
        return;
    if (m_inForce.type != zy5::Macro)
        zy5::tell(dev_command_path, zy5::assign_as_read(chosen_button(), m_inForce));
    else if (m_macroInForce)
        zy5::write_macro(dev_command_path, dev_macro_path, chosen_button(), m_inForce.sub != 0, *m_macroInForce);
}

void ZY5_Btn_Config::tell_user(const QString &text)
{
    m_notice->setPopupText(text);
    m_notice->move(mapToGlobal(rect().center()) - m_notice->rect().center());
    m_notice->show();
}
