#pragma once
#include <QWidget>

#include <array>

class QButtonGroup;
class QLabel;
class QSlider;

// The DPI level editor: how many levels the mouse cycles through (one to five) and the
// value of each, 1 to 144 for 100 to 7250 dpi. Releasing a level's slider makes that
// level the current one and asks for the DPI block to be written.
class DPILeft : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kLevels = 5;

    explicit DPILeft(QWidget *parent = nullptr);

    QButtonGroup *level_count_group() const { return m_levelCountGroup; }
    QSlider *level_slider(int index) const { return m_sliders[std::size_t(index)]; }
    QLabel *value_label(int index) const { return m_valueLabels[std::size_t(index)]; }
    QLabel *name_label(int index) const { return m_nameLabels[std::size_t(index)]; }

    // Index 0 to 4 of the current level; what the device said, even beyond 4.
    int current_dpi_level() const { return m_currentDpiLevel; }
    void set_current_dpi_level(int level) { m_currentDpiLevel = level; }

    // Highlights the name of the current level (none when it is beyond level V).
    void highlight_current_level();
    // Levels II to V take part only up to the level count (index 0 to 4, beyond: all).
    void enable_levels(int level_count_index);
    // Shows each slider's value in its label.
    void show_values();

signals:
    void dpi_value_update();

public slots:
    void dpi1_changed() { level_changed(0); }
    void dpi2_changed() { level_changed(1); }
    void dpi3_changed() { level_changed(2); }
    void dpi4_changed() { level_changed(3); }
    void dpi5_changed() { level_changed(4); }
    void dpi_value_update_1() { level_released(0); }
    void dpi_value_update_2() { level_released(1); }
    void dpi_value_update_3() { level_released(2); }
    void dpi_value_update_4() { level_released(3); }
    void dpi_value_update_5() { level_released(4); }

private:
    void add_level_count_buttons();
    void add_level(int index);
    void show_value(int index);
    void level_changed(int index);
    void level_released(int index);

    QButtonGroup *m_levelCountGroup;
    std::array<QSlider *, kLevels> m_sliders{};
    std::array<QLabel *, kLevels> m_valueLabels{};
    std::array<QLabel *, kLevels> m_nameLabels{};
    int m_currentDpiLevel = 0;
};

// What a DPI value means to the user.
inline int dpi_of_value(int value)
{
    return value * 50 + 50;
}
