// Where the settings store reports a file it refuses or cannot parse, one line each.
#pragma once

#include <functional>
#include <string>

using StoreLogSink = std::function<void(const std::string& line)>;

// Replaces the sink and returns the previous one. The default sink writes to the debugger
// output; an empty sink restores it.
StoreLogSink SetStoreLogSink(StoreLogSink sink);

void LogStoreProblem(const std::string& line);
