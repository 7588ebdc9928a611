#include "ZY5_Led_Config.h"

#include "PageLabel.h"
#include "UserColorSettings.h"
#include "Zy5Link.h"
#include "common/SharedStyles.h"
#include "editors/ColorBtn.h"
#include "editors/SpeedSlider.h"
#include "editors/color_picker_Square.h"

#include <QButtonGroup>
#include <QDebug>
#include <QIcon>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegExpValidator>
#include <QSettings>
#include <QSignalBlocker>

#include <algorithm>

namespace {

enum Effect { Off = 0, Steady = 1, Breathing = 2, Carousel = 3, Shooting = 4, Rage = 6 };

struct EffectButton {
    Effect effect;
    const char *text;
    const char *icon;
    const char *checked_icon;
    QPoint position;
};

const EffectButton kEffectButtons[] = {
    {Steady, QT_TRANSLATE_NOOP("ZY5_Led_Config", " 常亮"), ":/img/on.png", ":/img/on_s.png", {40, 230}},
    {Shooting, QT_TRANSLATE_NOOP("ZY5_Led_Config", " 射击"), ":/img/fire.png", ":/img/fire_s.png", {40, 270}},
    {Breathing, QT_TRANSLATE_NOOP("ZY5_Led_Config", " 呼吸"), ":/img/breath.png", ":/img/breath_s.png", {40, 310}},
    {Rage, QT_TRANSLATE_NOOP("ZY5_Led_Config", " 狂暴"), ":/img/hit.png", ":/img/hit_s.png", {190, 230}},
    {Carousel, QT_TRANSLATE_NOOP("ZY5_Led_Config", " 轮播"), ":/img/loop.png", ":/img/loop_s.png", {190, 270}},
    {Off, QT_TRANSLATE_NOOP("ZY5_Led_Config", " 关闭"), ":/img/off.png", ":/img/off_s.png", {190, 310}},
};

constexpr QRgb kDefaultPresets[ZY5_Led_Config::kPresets] = {
    qRgb(255, 0, 0), qRgb(255, 135, 0), qRgb(255, 255, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 0, 255),
};

QString preset_key(int n, const char *component)
{
    return QStringLiteral("COLOR%1/%2").arg(n).arg(QLatin1String(component));
}

// A stored component: not a number reads as 0, above 255 as 255.
int component_value(const QVariant &stored)
{
    return int(std::min(stored.toUInt(), 255u));
}

} // namespace

ZY5_Led_Config::ZY5_Led_Config(QWidget *parent)
    : QWidget(parent)
    , m_presetStore(user_color_settings())
{
    auto *picture = new QLabel(this);
    picture->setGeometry(0, 9, 1100, 648);
    picture->setStyleSheet(QStringLiteral("QLabel {image:url(:/img/ZY5_top.png)}"));
    auto *left = new QWidget(this);
    left->setGeometry(0, 0, 400, 750);
    auto *right = new QWidget(this);
    right->setGeometry(800, 0, 400, 750);
    build_left_panel(left);
    build_right_panel(right);

    m_effectGroup->button(Steady)->setChecked(true);
    m_colorSquare->setHue(0);

    connect(m_effectGroup, &QButtonGroup::idToggled, this, &ZY5_Led_Config::change_mouse_color);
    connect(m_effectGroup, &QButtonGroup::idToggled, this, &ZY5_Led_Config::change_speedslider_status);
    connect(m_speedSlider, &QSlider::valueChanged, this, &ZY5_Led_Config::change_mouse_color);
    connect(m_presetGroup, &QButtonGroup::idToggled, this, &ZY5_Led_Config::clr_btns_checked);
    connect(m_restorePresetsButton, &QPushButton::clicked, this, &ZY5_Led_Config::rst_color);
    connect(m_colorSquare, &color_picker_Square::color_selected, this, &ZY5_Led_Config::color_picked);
    for (QLineEdit *edit : {m_redEdit, m_greenEdit, m_blueEdit})
        connect(edit, &QLineEdit::textEdited, this, &ZY5_Led_Config::rgb_value_edited);
    connect(m_hexEdit, &QLineEdit::textEdited, this, &ZY5_Led_Config::hex_value_edited);
}

void ZY5_Led_Config::build_left_panel(QWidget *panel)
{
    add_label(panel, tr("灯光模式"), QRect(40, 193, 48, 12));
    m_effectGroup = new QButtonGroup(this);
    m_effectGroup->setExclusive(true);
    for (const EffectButton &row : kEffectButtons) {
        auto *button = new QPushButton(tr(row.text), panel);
        QIcon icon;
        icon.addFile(QString::fromLatin1(row.icon), QSize(), QIcon::Normal, QIcon::Off);
        icon.addFile(QString::fromLatin1(row.checked_icon), QSize(), QIcon::Normal, QIcon::On);
        button->setIcon(icon);
        button->setGeometry(QRect(row.position, QSize(130, 26)));
        button->setCheckable(true);
        button->setStyleSheet(style_check_button);
        m_effectGroup->addButton(button, row.effect);
    }
    m_frequencyLabel = add_label(panel, tr("频率调节"), QRect(40, 370, 48, 12));
    m_speedSlider = new SpeedSlider(panel);
    m_speedSlider->move(34, 400);
}

void ZY5_Led_Config::build_right_panel(QWidget *panel)
{
    m_colorLabel = add_label(panel, tr("颜色"), QRect(80, 193, 48, 12));
    m_presetGroup = new QButtonGroup(this);
    m_presetGroup->setExclusive(true);
    for (int n = 1; n <= kPresets; ++n) {
        auto *swatch = new ColorBtn(panel);
        swatch->setGeometry(80 + 31 * (n - 1), 230, 18, 18);
        swatch->setBtnColor(default_preset(n));
        m_presetGroup->addButton(swatch, n);
        m_presets[std::size_t(n - 1)] = swatch;
    }
    m_restorePresetsButton = new QPushButton(tr("恢复预设"), panel);
    m_restorePresetsButton->setGeometry(280, 226, 78, 26);
    m_restorePresetsButton->setStyleSheet(style_push_button);
    m_mixerLabel = add_label(panel, tr("调色器"), QRect(80, 283, 48, 12));
    m_colorSquare = new color_picker_Square(panel);
    m_colorSquare->setGeometry(74, 304, 196, 300);

    m_valuePanel = new QLabel(panel);
    m_valuePanel->setGeometry(280, 311, 80, 160);
    build_value_panel(m_valuePanel);
}

void ZY5_Led_Config::build_value_panel(QWidget *panel)
{
    const auto add_edit = [panel](const QString &caption, int y) {
        add_label(panel, caption, QRect(0, y + 7, 30, 12));
        auto *edit = new QLineEdit(panel);
        edit->setGeometry(18, y, 60, 26);
        edit->setStyleSheet(style_line_edit);
        edit->setAlignment(Qt::AlignCenter);
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        return edit;
    };
    m_redEdit = add_edit(QStringLiteral("R:"), 0);
    m_greenEdit = add_edit(QStringLiteral("G:"), 40);
    m_blueEdit = add_edit(QStringLiteral("B:"), 80);
    m_hexEdit = add_edit(QStringLiteral("#:"), 132);
    auto *component = new QIntValidator(0, 255, this);
    for (QLineEdit *edit : {m_redEdit, m_greenEdit, m_blueEdit})
        edit->setValidator(component);
    m_hexEdit->setValidator(new QRegExpValidator(QRegExp(QStringLiteral("[a-fA-F0-9]{6}")), this));
}

QColor ZY5_Led_Config::default_preset(int n)
{
    return QColor(kDefaultPresets[n - 1]);
}

// An effect beyond 4 shows as rage; the controls follow the effect as reported.
void ZY5_Led_Config::show_lighting(const zy5::Lighting &lighting)
{
    const QSignalBlocker effects(m_effectGroup);
    const QSignalBlocker speed(m_speedSlider);
    m_effectGroup->button(lighting.effect > Shooting ? int(Rage) : int(lighting.effect))->setChecked(true);
    change_speedslider_status(lighting.effect, true);
    if (lighting.frequency >= 1 && lighting.frequency <= 8) {
        m_speedSlider->setValue(lighting.frequency);
        m_speedSlider->move_value(lighting.frequency);
    }
    m_colorSquare->setColor(QColor(lighting.red, lighting.green, lighting.blue));
    show_color_values();
    qDebug() << "update DPI";
}

void ZY5_Led_Config::show_color_values()
{
    const QColor colour = m_colorSquare->color();
    m_redEdit->setText(QString::number(colour.red()));
    m_greenEdit->setText(QString::number(colour.green()));
    m_blueEdit->setText(QString::number(colour.blue()));
    m_hexEdit->setText(colour.name().mid(1).toUpper());
}

void ZY5_Led_Config::set_color_enabled(bool on)
{
    for (ColorBtn *swatch : m_presets)
        swatch->setEnabled(on);
    for (QWidget *widget : {static_cast<QWidget *>(m_colorSquare), static_cast<QWidget *>(m_restorePresetsButton),
                            static_cast<QWidget *>(m_valuePanel), static_cast<QWidget *>(m_colorLabel),
                            static_cast<QWidget *>(m_mixerLabel)})
        widget->setEnabled(on);
}

void ZY5_Led_Config::change_mouse_color()
{
    const QSignalBlocker effects(m_effectGroup);
    const QSignalBlocker speed(m_speedSlider);
    const QColor colour = m_colorSquare->color();
    const zy5::Lighting lighting{std::uint8_t(m_effectGroup->checkedId()), std::uint8_t(m_speedSlider->value()),
                                 std::uint8_t(colour.red()), std::uint8_t(colour.green()),
                                 std::uint8_t(colour.blue())};
    zy5::tell(dev_path, zy5::write_lighting(lighting));
}

void ZY5_Led_Config::change_speedslider_status(int btn_ID, bool checked)
{
    if (!checked)
        return;
    bool speed = false;
    bool colour = false;
    switch (btn_ID) {
    case Off: break;
    case Steady: colour = true; break;
    case Breathing: speed = colour = true; break;
    case Carousel: speed = true; break;
    case Shooting: colour = true; break;
    case Rage: break;
    default: return;
    }
    m_speedSlider->setEnabled(speed);
    m_frequencyLabel->setEnabled(speed);
    set_color_enabled(colour);
}

// The square's colour becomes the mouse's, and the chosen preset's.
void ZY5_Led_Config::color_picked()
{
    show_color_values();
    const int n = m_presetGroup->checkedId();
    if (n >= 1 && n <= kPresets) {
        preset(n)->setBtnColor(m_colorSquare->color());
        store_preset(n, m_colorSquare->color());
    }
    change_mouse_color();
}

void ZY5_Led_Config::clr_btns_checked(int ID, bool checked)
{
    if (!checked)
        return;
    qDebug() << "CLR_BTN_" << ID << " checked";
    if (ID < 1 || ID > kPresets)
        return;
    m_colorSquare->setColor(preset(ID)->color());
    color_picked();
}

// Only three complete components apply: a value the validator still calls intermediate
// (empty, or above 255) changes nothing.
void ZY5_Led_Config::rgb_value_edited(QString)
{
    if (!m_redEdit->hasAcceptableInput() || !m_greenEdit->hasAcceptableInput() || !m_blueEdit->hasAcceptableInput())
        return;
    m_colorSquare->setColor(
        QColor(m_redEdit->text().toInt(), m_greenEdit->text().toInt(), m_blueEdit->text().toInt()));
    color_picked();
}

// Only six hex digits apply. A typed colour is not stored in the chosen preset.
void ZY5_Led_Config::hex_value_edited(QString value)
{
    qDebug() << "hex_edited";
    m_hexEdit->setText(value.toUpper());
    if (!m_hexEdit->hasAcceptableInput())
        return;
    m_colorSquare->setColor(QColor(QLatin1Char('#') + m_hexEdit->text()));
    const QColor colour = m_colorSquare->color();
    m_redEdit->setText(QString::number(colour.red()));
    m_greenEdit->setText(QString::number(colour.green()));
    m_blueEdit->setText(QString::number(colour.blue()));
    change_mouse_color();
}

// The presets go back to their defaults; none stays chosen. The mouse is not told.
void ZY5_Led_Config::rst_color()
{
    for (int n = 1; n <= kPresets; ++n) {
        preset(n)->setBtnColor(default_preset(n));
        store_preset(n, default_preset(n));
    }
    m_presetGroup->setExclusive(false);
    if (QAbstractButton *checked = m_presetGroup->checkedButton())
        checked->setChecked(false);
    m_presetGroup->setExclusive(true);
}

// A missing or partial preset is repaired with its default.
void ZY5_Led_Config::get_saved_color()
{
    for (int n = 1; n <= kPresets; ++n) {
        const QVariant red = m_presetStore.value(preset_key(n, "Red"));
        const QVariant green = red.isValid() ? m_presetStore.value(preset_key(n, "Green")) : QVariant();
        const QVariant blue = green.isValid() ? m_presetStore.value(preset_key(n, "Blue")) : QVariant();
        if (blue.isValid()) {
            preset(n)->setBtnColor(QColor(component_value(red), component_value(green), component_value(blue)));
        } else {
            preset(n)->setBtnColor(default_preset(n));
            store_preset(n, default_preset(n));
        }
    }
}

void ZY5_Led_Config::store_preset(int n, const QColor &colour)
{
    m_presetStore.setValue(preset_key(n, "Red"), colour.red());
    m_presetStore.setValue(preset_key(n, "Green"), colour.green());
    m_presetStore.setValue(preset_key(n, "Blue"), colour.blue());
}
