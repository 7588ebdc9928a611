// Where the settings store reports a file it cannot load or keep, one line each.
#pragma once

#include <functional>
#include <string>

using StoreLogSink = std::function<void(const std::wstring& line)>;

// Replaces the sink and returns the previous one. The default sink writes to the debugger
// output; an empty sink restores it.
StoreLogSink SetStoreLogSink(StoreLogSink sink);

void LogStoreProblem(const std::wstring& line);
