// The skin tags of the widgets in this folder, for the window builder.
#pragma once

#include <string>

namespace ui {

class Control;

// A new control for one of the widget tags, or null for any other tag.
Control* CreateWidgetByClass(const std::wstring& class_name);

}  // namespace ui
