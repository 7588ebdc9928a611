#include "SharedStyles.h"

const QString style_scroll_panel = QStringLiteral(
    "QWidget {background:transparent; border:none;}"
    "QScrollBar:vertical {width:15px; border:none; background:transparent}"
    "QScrollBar::handle:vertical {margin-left:6px; margin-right:6px; border:none; background:white}"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical"
    " {margin-left:7px; margin-right:7px; border:none; background:rgba(255,255,255,0.14)}"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical {border:none; background:transparent;}");

const QString style_image_check_button = QStringLiteral(
    "QPushButton {border:none; background-color:transparent; image: url(:/img/button.png)}"
    "QPushButton:checked {image: url(:/img/button_selected.png)}"
    "QPushButton:hover {image: url(:/img/button_selected.png)}");

const QString style_radio_button = QStringLiteral(
    "QRadioButton {spacing:12px; font: 12px; color:rgba(255,255,255,0.7);}"
    "QRadioButton:checked {color:#2bac39;}"
    "QRadioButton::indicator {height:16px; width:16px;}"
    "QRadioButton::indicator:checked {image: url(:/img/button_selected.png);}"
    "QRadioButton::indicator:unchecked {image: url(:/img/button.png);}");

const QString style_label = QStringLiteral(
    "QLabel {background-color:transparent; margin:0px; font:12px; color:rgba(255,255,255,0.7)}"
    "QLabel:disabled {background-color:transparent; margin:0px; font:12px; color:rgba(255,255,255,0.3)}");

const QString style_label_accent = QStringLiteral(
    "QLabel {background-color:transparent; margin:0px; font:12px; color:#2bac39}");

const QString style_tab_label = QStringLiteral(
    "background-color:transparent; margin-left:20px; font:12px; color:white");

const QString style_line_edit = QStringLiteral(
    "QLineEdit {border-radius:2px; border-width:1px; border-style:solid; border-color: rgba(255,255,255,0.3);"
    " background-color:rgba(0,0,0,0.34); font: 12px; color:rgba(255,255,255,0.7);}"
    "QLineEdit:disabled {border-color: rgba(255,255,255,0.14); color:rgba(255,255,255,0.3);}"
    "QLineEdit:hover, QLineEdit:focus {border-color: #2bac39;}");

const QString style_check_button = QStringLiteral(
    "QPushButton {border-radius:2px; border-width:1px; border-style:solid; border-color: rgba(255,255,255,0.1);"
    " background-color:transparent; font: 12px; color:rgba(255,255,255,0.7); text-align: center;}"
    "QPushButton:checked {border:none; background-color:#2bac39; color:white}"
    "QPushButton:hover {border-color: rgba(255,255,255,0.2);}");

const QString style_push_button = QStringLiteral(
    "QPushButton {border-width:1px; border-radius:2px; border-style:solid; border-color: rgba(255,255,255,0.1);"
    " background-color:transparent; font: 12px; color:rgba(255,255,255,0.7); text-align: center;}"
    "QPushButton:pressed {background-color:#2bac39; color:white}"
    "QPushButton:hover {border-color: rgba(255,255,255,0.2)}"
    "QPushButton:disabled {border-color:rgba(255,255,255,0.1); color:rgba(255,255,255,0.3)}");

const QString style_slider = QStringLiteral(
    "QSlider::groove:horizontal {background:transparent; height:4px; border-radius:2px;}"
    "QSlider::handle:horizontal {background:rgba(255,255,255,0.7); width:10px; margin-top:-3px;"
    " margin-bottom:-3px; border-radius:2px;}"
    "QSlider::handle:horizontal:disabled {background:rgba(255,255,255,0.14);}"
    "QSlider::add-page:horizontal {background:rgba(255,255,255,0.08); margin-left:7px; border-radius:1px;}"
    "QSlider::add-page:horizontal:disabled {background:rgba(255,255,255,0.08)}"
    "QSlider::sub-page:horizontal {background:#2bac39; margin-right:9px; border-radius:1px;}"
    "QSlider::sub-page:horizontal:disabled {background:rgba(255,255,255,0.08)}");

const QString style_list = QStringLiteral(
    "QListWidget {border-width:1px; border-radius:2px; border-style:solid; border-color: rgba(255,255,255,0.14);"
    " background-color:rgba(0,0,0,0.34); padding:4px; font:12px; color:rgba(255,255,255,0.7)}"
    "QListWidget::Item {padding:4px}"
    "QScrollBar:vertical {width:15px; border:none; background:transparent}"
    "QScrollBar::handle:vertical {margin-left:6px; margin-right:6px; border:none; background:rgba(255,255,255,0.1)}"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical"
    " {margin-left:7px; margin-right:7px; border:none; background:transparent}"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical {border:none; background:transparent;}");
