// The GDI+ flat API with its types in scope.
#pragma once

#include <windows.h>

#include <gdiplus.h>

namespace ui {
using namespace Gdiplus;
using namespace Gdiplus::DllExports;
}  // namespace ui
