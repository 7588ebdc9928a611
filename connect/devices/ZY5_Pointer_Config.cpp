#include "ZY5_Pointer_Config.h"

#include "ButtonGroupChoice.h"
#include "DPILeft.h"
#include "PageLabel.h"
#include "Zy5Link.h"
#include "common/SharedStyles.h"

#include <QButtonGroup>
#include <QDebug>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <vector>

namespace {

// Blocks the signals of each object as long as the result lives.
std::vector<QSignalBlocker> block_signals(const QList<QObject *> &objects)
{
    std::vector<QSignalBlocker> blockers;
    blockers.reserve(std::size_t(objects.size()));
    for (QObject *object : objects)
        blockers.emplace_back(object);
    return blockers;
}

} // namespace

ZY5_Pointer_Config::ZY5_Pointer_Config(QWidget *parent)
    : QWidget(parent)
{
    auto *picture = new QLabel(this);
    picture->setGeometry(0, 9, 1100, 648);
    picture->setStyleSheet(QStringLiteral("QLabel {image:url(:/img/ZY5_top.png)}"));

    m_dpiLeft = new DPILeft(this);
    add_report_rate_buttons();
    add_aim_slider();

    connect(m_rateGroup, &QButtonGroup::idToggled, this, &ZY5_Pointer_Config::change_rpt_rate);
    connect(m_aimSlider, &QSlider::valueChanged, this, &ZY5_Pointer_Config::aim_dpi_changed);
    connect(m_aimSlider, &QSlider::sliderReleased, this, &ZY5_Pointer_Config::aim_value_update);
    connect(m_dpiLeft, &DPILeft::dpi_value_update, this, &ZY5_Pointer_Config::dpi_value_update);
    connect(m_dpiLeft->level_count_group(), &QButtonGroup::idToggled, this, &ZY5_Pointer_Config::change_level_no);
}

// Each button's id is the rate code the mouse takes.
void ZY5_Pointer_Config::add_report_rate_buttons()
{
    add_label(this, tr("报告率"), QRect(880, 193, 100, 12));
    m_rateGroup = new QButtonGroup(this);
    m_rateGroup->setExclusive(true);
    const struct {
        const char *text;
        QPoint position;
        int code;
    } rates[] = {{"125", {880, 230}, zy5::Rate125Hz},
                 {"250", {1030, 230}, zy5::Rate250Hz},
                 {"500", {880, 272}, zy5::Rate500Hz},
                 {"1000", {1030, 272}, zy5::Rate1000Hz}};
    for (const auto &rate : rates) {
        auto *button = new QPushButton(QString::fromLatin1(rate.text), this);
        button->setGeometry(QRect(rate.position, QSize(130, 26)));
        button->setCheckable(true);
        button->setStyleSheet(style_check_button);
        m_rateGroup->addButton(button, rate.code);
    }
}

void ZY5_Pointer_Config::add_aim_slider()
{
    add_label(this, tr("瞄准键DPI速度"), QRect(880, 350, 160, 12));
    m_aimSlider = new QSlider(Qt::Horizontal, this);
    m_aimSlider->setGeometry(880, 374, 280, 10);
    m_aimSlider->setRange(1, 144);
    m_aimSlider->setPageStep(0);
    m_aimSlider->setSingleStep(0);
    m_aimSlider->setStyleSheet(style_slider);

    auto *grid = new QLabel(this);
    grid->setGeometry(880, 393, 280, 8);
    grid->setPixmap(QPixmap(QStringLiteral(":/img/aim_grid")));

    m_aimValueLabel = add_label(this, QString(), QRect(-110, 400, 50, 10));
    m_aimValueLabel->setAlignment(Qt::AlignCenter);
}

void ZY5_Pointer_Config::show_dpi(const zy5::DpiSettings &dpi)
{
    const auto blockers = block_signals(level_sliders() << m_dpiLeft->level_count_group() << m_aimSlider);

    qDebug() << "DPI_max_level:" << dpi.level_count_index;
    m_levelCountIndex = dpi.level_count_index;
    show_choice(m_dpiLeft->level_count_group(), dpi.level_count_index);
    for (int index = 0; index < DPILeft::kLevels; ++index)
        m_dpiLeft->level_slider(index)->setValue(dpi.levels[std::size_t(index)]);
    m_aimSlider->setValue(dpi.aim);
    m_dpiLeft->show_values();
    aim_dpi_changed();

    qDebug() << "DPI_current_level" << dpi.current_level;
    m_dpiLeft->set_current_dpi_level(dpi.current_level);
    m_dpiLeft->highlight_current_level();
    m_dpiLeft->enable_levels(dpi.level_count_index);
}

void ZY5_Pointer_Config::show_report_rate(std::uint8_t rate_code)
{
    const QSignalBlocker blocker(m_rateGroup);
    show_choice(m_rateGroup, rate_code);
}

void ZY5_Pointer_Config::change_rpt_rate(int ID, bool checked)
{
    if (checked)
        zy5::tell(dev_path, zy5::write_report_rate(std::uint8_t(ID)));
}

void ZY5_Pointer_Config::aim_dpi_changed()
{
    const int value = m_aimSlider->value();
    m_aimValueLabel->setNum(dpi_of_value(value));
    m_aimValueLabel->move(value * 270 / 143 + 860, 400);
}

void ZY5_Pointer_Config::aim_value_update()
{
    write_dpi_block();
}

void ZY5_Pointer_Config::dpi_value_update()
{
    if (m_dpiLeft->current_dpi_level() >= DPILeft::kLevels)
        return;
    const auto blockers = block_signals(level_sliders());
    qDebug() << "current_dpi_level" << m_dpiLeft->current_dpi_level();
    write_dpi_block();
}

// The current level never lies beyond the new count. When the mouse does not answer,
// the level known before stands in for its answer.
void ZY5_Pointer_Config::change_level_no(int ID, bool checked)
{
    if (!checked)
        return;
    const std::optional<QByteArray> reply = zy5::ask(dev_path, zy5::read_dpi());
    const std::optional<zy5::DpiSettings> read = reply ? zy5::dpi_in_reply(*reply) : std::nullopt;
    const int current = read ? read->current_level : m_dpiLeft->current_dpi_level();
    m_dpiLeft->set_current_dpi_level(std::min(current, ID));
    m_dpiLeft->highlight_current_level();
    m_levelCountIndex = std::uint8_t(ID);
    write_dpi_block();
    m_dpiLeft->enable_levels(ID);
}

QList<QObject *> ZY5_Pointer_Config::level_sliders() const
{
    QList<QObject *> sliders;
    for (int index = 0; index < DPILeft::kLevels; ++index)
        sliders.append(m_dpiLeft->level_slider(index));
    return sliders;
}

void ZY5_Pointer_Config::write_dpi_block()
{
    zy5::DpiSettings dpi;
    for (int index = 0; index < DPILeft::kLevels; ++index)
        dpi.levels[std::size_t(index)] = std::uint8_t(m_dpiLeft->level_slider(index)->value());
    dpi.current_level = std::uint8_t(m_dpiLeft->current_dpi_level());
    dpi.aim = std::uint8_t(m_aimSlider->value());
    dpi.level_count_index = m_levelCountIndex;
    zy5::tell(dev_path, zy5::write_dpi(dpi));
}
