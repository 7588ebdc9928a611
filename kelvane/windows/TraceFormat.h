// How a trace line looks: its level's colour and letter, and its time stamp.
#pragma once

#include <windows.h>

#include "mfc/AfxString.h"

// Console text colour of the level; black for a level outside 0 to 4.
COLORREF TraceLevelColor(int level);
// Letter of the level in the log file: I, N, W, E, D, or U outside 0 to 4.
wchar_t TraceLevelLetter(int level);
// "【 yyyy-mm-dd hh:mm:ss 】".
CString FormatTraceStamp(const SYSTEMTIME& time);
