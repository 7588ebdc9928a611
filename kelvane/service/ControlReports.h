// The control device's button reports and the reports Kelvane writes to it.
#pragma once

#include <vector>

enum class ButtonReport { Pressed, Released, Unknown };

// Length of a button report of the control device type: 17 for HID, 16 for BLE.
unsigned long ButtonReportLength(int deviceType);

// What a report of at least ButtonReportLength bytes says; bytes past the pattern are ignored.
ButtonReport ReadButtonReport(int deviceType, const unsigned char* bytes);

// Switches the indicator: 128 bytes 02 B2 01/00 ... for HID, 16 bytes B2 01/00 ... otherwise.
std::vector<unsigned char> IndicatorReport(int deviceType, bool on);

// Written every fifth microphone buffer: 128 bytes 02 B1 ...
std::vector<unsigned char> PeriodicReport();
