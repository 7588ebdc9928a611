#pragma once
#include "Zy5Protocol.h"

#include <QWidget>

class DPILeft;
class QButtonGroup;
class QLabel;
class QSlider;

// The ZY5 pointer settings: DPI levels on the left, report rate and aim-key DPI on the
// right. Every change is written to the mouse at once.
class ZY5_Pointer_Config : public QWidget
{
    Q_OBJECT
public:
    explicit ZY5_Pointer_Config(QWidget *parent = nullptr);

    QString dev_path;  // the command interface, set by the device page

    DPILeft *dpi_left() const { return m_dpiLeft; }
    QButtonGroup *report_rate_group() const { return m_rateGroup; }
    QSlider *aim_slider() const { return m_aimSlider; }
    QLabel *aim_value_label() const { return m_aimValueLabel; }

    // Shows what the mouse reported; nothing is written back.
    void show_dpi(const zy5::DpiSettings &dpi);
    void show_report_rate(std::uint8_t rate_code);

public slots:
    void change_rpt_rate(int ID, bool checked);
    void aim_dpi_changed();
    void aim_value_update();
    void change_level_no(int ID, bool checked);
    void dpi_value_update();

private:
    void add_report_rate_buttons();
    void add_aim_slider();
    void write_dpi_block();
    QList<QObject *> level_sliders() const;

    DPILeft *m_dpiLeft;
    QButtonGroup *m_rateGroup;
    QSlider *m_aimSlider;
    QLabel *m_aimValueLabel;
    // The level count the mouse works with: the last one read or chosen, also when the
    // mouse reported one that no button stands for.
    std::uint8_t m_levelCountIndex = kAllLevels;
    static constexpr std::uint8_t kAllLevels = 4;
};
