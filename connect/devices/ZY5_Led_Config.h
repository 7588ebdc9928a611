#pragma once
#include "Zy5Protocol.h"

#include <QColor>
#include <QWidget>

#include <array>

class ColorBtn;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QSettings;
class SpeedSlider;
class color_picker_Square;

// The ZY5 lighting settings: effect, frequency and colour, each change written to the
// mouse at once. The colour comes from the square, typed values or one of six presets
// kept in "user_color.ini"; while a preset is chosen, picked colours are stored in it.
class ZY5_Led_Config : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kPresets = 6;

    explicit ZY5_Led_Config(QWidget *parent = nullptr);

    QString dev_path;  // the command interface, set by the device page

    QButtonGroup *effect_group() const { return m_effectGroup; }
    SpeedSlider *speed_slider() const { return m_speedSlider; }
    QLabel *frequency_label() const { return m_frequencyLabel; }
    color_picker_Square *color_square() const { return m_colorSquare; }
    QButtonGroup *preset_group() const { return m_presetGroup; }
    ColorBtn *preset(int n) const { return m_presets[std::size_t(n - 1)]; }  // n = 1 to 6
    QPushButton *restore_presets_button() const { return m_restorePresetsButton; }
    QLineEdit *red_edit() const { return m_redEdit; }
    QLineEdit *green_edit() const { return m_greenEdit; }
    QLineEdit *blue_edit() const { return m_blueEdit; }
    QLineEdit *hex_edit() const { return m_hexEdit; }

    // Shows what the mouse reported; nothing is written back.
    void show_lighting(const zy5::Lighting &lighting);
    void set_color_enabled(bool on);

    static QColor default_preset(int n);

public slots:
    void color_picked();
    void change_mouse_color();
    void change_speedslider_status(int btn_ID, bool checked);
    void rst_color();
    void get_saved_color();

private slots:
    void rgb_value_edited(QString value);
    void hex_value_edited(QString value);
    void clr_btns_checked(int ID, bool checked);

private:
    void build_left_panel(QWidget *panel);
    void build_right_panel(QWidget *panel);
    void build_value_panel(QWidget *panel);
    void show_color_values();
    void store_preset(int n, const QColor &colour);

    QSettings &m_presetStore;
    QButtonGroup *m_effectGroup;
    QLabel *m_frequencyLabel;
    SpeedSlider *m_speedSlider;
    QLabel *m_colorLabel;
    QLabel *m_mixerLabel;
    std::array<ColorBtn *, kPresets> m_presets{};
    QButtonGroup *m_presetGroup;
    QPushButton *m_restorePresetsButton;
    color_picker_Square *m_colorSquare;
    QLabel *m_valuePanel;
    QLineEdit *m_redEdit;
    QLineEdit *m_greenEdit;
    QLineEdit *m_blueEdit;
    QLineEdit *m_hexEdit;
};
