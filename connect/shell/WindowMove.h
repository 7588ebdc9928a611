#pragma once
class QWidget;

// Lets the system move a frameless top-level window with the mouse; false when it cannot.
bool start_window_move(QWidget *window);
