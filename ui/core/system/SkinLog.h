// Where the framework reports what a skin asks for and does not get (a class that names itself,
// an image above the budget), one line each.
#pragma once

#include <functional>
#include <string>

namespace ui {

using SkinLogSink = std::function<void(const std::wstring& line)>;

// Replaces the sink and returns the previous one. The default sink writes to the debugger
// output; an empty sink restores it.
SkinLogSink SetSkinLogSink(SkinLogSink sink);

void LogSkinProblem(const std::wstring& line);

}  // namespace ui
