// A receiver of trace lines.
#pragma once

class ITraceService {
 public:
  virtual ~ITraceService() = default;
  // Writes one line of the level; true also when the level's filter drops it.
  virtual bool Trace(const wchar_t* text, int level) = 0;
};
