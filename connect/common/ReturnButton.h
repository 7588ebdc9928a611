#pragma once
class QPushButton;
class QWidget;

// The small return arrow at the bottom left of the information and device pages.
QPushButton *add_return_button(QWidget *page);
