#include "QV8_Btn_Config.h"

#include "common/SharedStyles.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

QV8_Btn_Config::QV8_Btn_Config(QWidget *parent)
    : QWidget(parent)
{
    auto *picture = new QLabel(this);
    picture->setGeometry(0, 50, 1200, 550);
    picture->setPixmap(QPixmap(QStringLiteral(":/img/QV8")));
    picture->setAlignment(Qt::AlignCenter);

    m_mainBtnGroup = add_group(QT_TR_NOOP("选择主按键"), {126, 218}, {{"左键", 126, 255}, {"右键", 292, 255}});
    auto *swap = new QLabel(this);
    swap->setGeometry(242, 255, 40, 26);
    swap->setPixmap(QPixmap(QStringLiteral(":/img/switch_btn")));
    swap->setAlignment(Qt::AlignCenter);

    m_wheelDirectionGroup = add_group(QT_TR_NOOP("滚轮方向"), {126, 320}, {{"传统", 126, 357}, {"反向", 248, 357}});
    m_powerOnStateGroup =
        add_group(QT_TR_NOOP("电源键"), {126, 422}, {{"通电自动抬起", 126, 459}, {"仅通电", 248, 459}});
    m_dpiGroup = add_group(QT_TR_NOOP("分辨率"), {846, 218},
                           {{"1200 dpi", 846, 255}, {"1600 dpi", 846, 299}, {"2400 dpi", 846, 343}});
    add_hint(tr("*建议2K屏幕使用"), 990, 307);
    add_hint(tr("*建议4K屏幕使用"), 990, 351);

    const auto toggled = &QButtonGroup::idToggled;
    connect(m_mainBtnGroup, toggled, this, &QV8_Btn_Config::send_main_btn_id);
    connect(m_wheelDirectionGroup, toggled, this, &QV8_Btn_Config::send_wheel_direction_id);
    connect(m_powerOnStateGroup, toggled, this, &QV8_Btn_Config::send_power_on_state_id);
    connect(m_dpiGroup, toggled, this, &QV8_Btn_Config::send_dpi_id);
}

// Choice ids follow the order of the choices, from 0.
QButtonGroup *QV8_Btn_Config::add_group(const char *title, QPoint title_at, std::initializer_list<Choice> choices)
{
    auto *label = new QLabel(tr(title), this);
    label->setGeometry(title_at.x(), title_at.y(), 70, 14);

    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    int id = 0;
    for (const Choice &choice : choices) {
        auto *button = new QPushButton(QString::fromUtf8(choice.text), this);
        button->setGeometry(choice.x, choice.y, 106, 26);
        button->setCheckable(true);
        button->setStyleSheet(style_check_button);
        group->addButton(button, id++);
    }
    return group;
}

void QV8_Btn_Config::add_hint(const QString &text, int x, int y)
{
    auto *hint = new QLabel(text, this);
    hint->setGeometry(x, y, 95, 12);
    hint->setStyleSheet(QStringLiteral("QLabel {font:12px}"));
}

void QV8_Btn_Config::send_main_btn_id(int id, bool checked)
{
    if (checked)
        emit main_btn_id(id);
}

void QV8_Btn_Config::send_wheel_direction_id(int id, bool checked)
{
    if (checked)
        emit wheel_direction_id(id);
}

void QV8_Btn_Config::send_power_on_state_id(int id, bool checked)
{
    if (checked)
        emit power_on_state_id(id);
}

void QV8_Btn_Config::send_dpi_id(int id, bool checked)
{
    if (checked)
        emit dpi_id(id);
}
