#include "DPILeft.h"

#include "PageLabel.h"
#include "common/SharedStyles.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>

namespace {

constexpr int kLevelSpacing = 50;

} // namespace

DPILeft::DPILeft(QWidget *parent)
    : QWidget(parent)
{
    setGeometry(0, 0, 400, 750);
    add_label(this, tr("DPI灵敏度数量"), QRect(40, 193, 80, 12));
    add_label(this, tr("级别数量"), QRect(40, 233, 80, 12));
    add_level_count_buttons();
    for (int index = 0; index < kLevels; ++index)
        add_level(index);
}

// Button n + 1 has id n: the level-count index the device takes.
void DPILeft::add_level_count_buttons()
{
    m_levelCountGroup = new QButtonGroup(this);
    m_levelCountGroup->setExclusive(true);
    for (int id = 0; id < kLevels; ++id) {
        auto *button = new QPushButton(QString::number(id + 1), this);
        button->setGeometry(104 + 47 * id, 226, 32, 26);
        button->setCheckable(true);
        button->setStyleSheet(style_check_button);
        m_levelCountGroup->addButton(button, id);
    }
}

void DPILeft::add_level(int index)
{
    static const char *const kNames[kLevels] = {QT_TR_NOOP("级别I"), QT_TR_NOOP("级别II"), QT_TR_NOOP("级别III"),
                                                QT_TR_NOOP("级别IV"), QT_TR_NOOP("级别V")};
    const int d = kLevelSpacing * index;
    const auto i = std::size_t(index);
    m_nameLabels[i] = add_label(this, tr(kNames[index]), QRect(40, 286 + d, 50, 12));

    QSlider *slider = new QSlider(Qt::Horizontal, this);
    slider->setGeometry(102, 286 + d, 218, 10);
    slider->setRange(1, 144);
    slider->setPageStep(0);
    slider->setSingleStep(0);
    slider->setStyleSheet(style_slider);
    m_sliders[i] = slider;

    auto *grid = new QLabel(this);
    grid->setGeometry(102, 303 + d, 218, 8);
    grid->setPixmap(QPixmap(QStringLiteral(":/img/pointer_grid")));

    m_valueLabels[i] = add_label(this, QString(), QRect(102, 312 + d, 50, 10));
    m_valueLabels[i]->setAlignment(Qt::AlignCenter);

    using Slot = void (DPILeft::*)();
    static constexpr Slot kChanged[kLevels] = {&DPILeft::dpi1_changed, &DPILeft::dpi2_changed, &DPILeft::dpi3_changed,
                                               &DPILeft::dpi4_changed, &DPILeft::dpi5_changed};
    static constexpr Slot kReleased[kLevels] = {&DPILeft::dpi_value_update_1, &DPILeft::dpi_value_update_2,
                                                &DPILeft::dpi_value_update_3, &DPILeft::dpi_value_update_4,
                                                &DPILeft::dpi_value_update_5};
    connect(slider, &QSlider::valueChanged, this, kChanged[index]);
    connect(slider, &QSlider::sliderPressed, this, kChanged[index]);
    connect(slider, &QSlider::sliderReleased, this, kReleased[index]);
}

void DPILeft::show_value(int index)
{
    const int value = m_sliders[std::size_t(index)]->value();
    QLabel *label = m_valueLabels[std::size_t(index)];
    label->setNum(dpi_of_value(value));
    label->move(value * 208 / 143 + 82, 312 + kLevelSpacing * index);
}

void DPILeft::show_values()
{
    for (int index = 0; index < kLevels; ++index)
        show_value(index);
}

// The level being changed is highlighted while it changes.
void DPILeft::level_changed(int index)
{
    show_value(index);
    for (int other = 0; other < kLevels; ++other)
        m_nameLabels[std::size_t(other)]->setStyleSheet(other == index ? style_label_accent : style_label);
}

void DPILeft::level_released(int index)
{
    m_currentDpiLevel = index;
    emit dpi_value_update();
}

void DPILeft::highlight_current_level()
{
    for (int index = 0; index < kLevels; ++index)
        m_nameLabels[std::size_t(index)]->setStyleSheet(index == m_currentDpiLevel ? style_label_accent : style_label);
}

void DPILeft::enable_levels(int level_count_index)
{
    for (int index = 1; index < kLevels; ++index) {
        const bool enabled = level_count_index >= index;
        for (QWidget *widget : {static_cast<QWidget *>(m_sliders[std::size_t(index)]),
                                static_cast<QWidget *>(m_valueLabels[std::size_t(index)]),
                                static_cast<QWidget *>(m_nameLabels[std::size_t(index)])})
            widget->setEnabled(enabled);
    }
}
