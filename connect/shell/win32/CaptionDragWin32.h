#pragma once
// Lets the system move a frameless window as if its caption were dragged.

// window: the HWND; false when the mouse capture could not be released.
bool start_caption_drag(void *window);
