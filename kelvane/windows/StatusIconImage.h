// The picture of the status icon window: a PNG resource with per-pixel alpha and, when the
// text has exactly two characters, those two characters drawn over it.
#pragma once

#include <windows.h>

#include <string>

// A 32-bit top-down DIB section with premultiplied alpha, of the image's size, for
// UpdateLayeredWindow; the caller deletes it. Null when the PNG resource (type "PNG", name
// matched without regard to case) cannot be loaded. Needs GDI+ started.
HBITMAP RenderStatusIcon(HINSTANCE module, const wchar_t* imageName, const std::wstring& text,
                         SIZE* size);
