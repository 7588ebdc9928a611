#pragma once
// Style sheets shared by the device pages and editors.
#include <QString>

extern const QString style_scroll_panel;
extern const QString style_image_check_button;
extern const QString style_radio_button;
extern const QString style_label;
extern const QString style_label_accent;
extern const QString style_tab_label;
extern const QString style_line_edit;
extern const QString style_check_button;
extern const QString style_push_button;
extern const QString style_slider;
extern const QString style_list;
