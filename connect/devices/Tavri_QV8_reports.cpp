// The QV8 page's exchanges with the receiver. Reads check the matching choice with the
// group's signals blocked, so that showing the device's state never sends it back.
#include "Tavri_QV8.h"

#include "QV8_Btn_Config.h"
#include "QV8_Dev_Config.h"
#include "Qv8Link.h"
#include "common/ResponsiveWait.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDebug>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

using qv8::Setting;

namespace {

constexpr int kRestoreSettleMs = 300;

// A choice the group does not have leaves the group as it is.
void check_choice(QButtonGroup *group, int id)
{
    QAbstractButton *button = group->button(id);
    if (!button)
        return;
    const QSignalBlocker blocker(group);
    button->setChecked(true);
}

} // namespace

void Tavri_QV8::get_qv8_state()
{
    get_qv8_dongle_version();
    get_qv8_main_btn();
    get_qv8_wheel_direction();
    get_qv8_power_on_state();
    get_qv8_dpi();
}

void Tavri_QV8::get_qv8_dongle_version()
{
    const std::optional<QByteArray> reply = qv8::ask(dev_config_path, qv8::version_query());
    if (reply)
        m_devConfig->version_label()->setText(QStringLiteral("固件版本：") + qv8::version_in_reply(*reply));
}

void Tavri_QV8::get_qv8_main_btn()
{
    qDebug() << "get_main_btn\n";
    read_switch(Setting::MainButton, m_btnConfig->main_btn_group());
}

void Tavri_QV8::get_qv8_wheel_direction()
{
    qDebug() << "get_wheel_dir\n";
    read_switch(Setting::WheelDirection, m_btnConfig->wheel_direction_group());
}

void Tavri_QV8::get_qv8_power_on_state()
{
    qDebug() << "get_power_state\n";
    read_switch(Setting::PowerOnState, m_btnConfig->power_on_state_group());
}

void Tavri_QV8::read_switch(Setting setting, QButtonGroup *group)
{
    const std::optional<QByteArray> reply = qv8::ask(dev_config_path, qv8::query(setting));
    const std::optional<int> choice = reply ? qv8::choice_in_reply(*reply) : std::nullopt;
    if (!choice)
        return;
    qDebug() << "choice" << *choice;
    check_choice(group, *choice);
}

void Tavri_QV8::get_qv8_dpi()
{
    qDebug() << "get_dpi\n";
    const std::optional<QByteArray> reply = qv8::ask(dev_config_path, qv8::query(Setting::Dpi));
    const std::optional<int> dpi = reply ? qv8::dpi_in_reply(*reply) : std::nullopt;
    if (!dpi)
        return;
    qDebug() << "dpi_value:" << *dpi;
    check_choice(m_btnConfig->dpi_group(), qv8::dpi_choice(*dpi));
}

void Tavri_QV8::set_qv8_main_btn(int ID)
{
    qDebug() << "set_main_btn id:" << ID;
    send(Setting::MainButton, ID);
}

void Tavri_QV8::set_qv8_power_on_state(int ID)
{
    qDebug() << "set_power id:" << ID;
    send(Setting::PowerOnState, ID);
}

void Tavri_QV8::set_qv8_wheel_direction(int ID)
{
    qDebug() << "set wheel id:" << ID;
    send(Setting::WheelDirection, ID);
}

void Tavri_QV8::set_qv8_dpi(int ID)
{
    qDebug() << "set dpi id:" << ID;
    send(Setting::Dpi, ID);
}

// A receiver that cannot be opened gets nothing; the page keeps showing the user's choice.
void Tavri_QV8::send(Setting setting, int ID)
{
    qv8::tell(dev_config_path, qv8::set_command(setting, ID));
}

// The receiver needs a moment after a restore before it answers the re-read. The
// interface stays alive meanwhile, so the page may be gone (returned or unplugged) after it.
void Tavri_QV8::set_qv8_default()
{
    m_restoreButton->setEnabled(false);
    qDebug() << "set default";
    qv8::tell(dev_config_path, qv8::restore_defaults());
    const QPointer<Tavri_QV8> alive(this);
    wait_processing_events(kRestoreSettleMs);
    if (!alive)
        return;
    get_qv8_state();
    m_restoreButton->setEnabled(true);
}
