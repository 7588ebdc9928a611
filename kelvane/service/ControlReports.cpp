#include "ControlReports.h"

#include <cstring>

#include "NameTables.h"

namespace {

constexpr unsigned long kHidReportLength = 17;
constexpr unsigned long kBleReportLength = 16;
constexpr size_t kHidOutputLength = 128;
constexpr size_t kBleOutputLength = 16;

// A button report: the prefix, the button state, zeros, and the trailing check byte.
std::vector<unsigned char> ButtonPattern(int deviceType, bool pressed) {
  std::vector<unsigned char> pattern(ButtonReportLength(deviceType), 0);
  size_t at = 0;
  if (deviceType == DT_Ctl_HID) pattern[at++] = 0x01;
  pattern[at++] = 0xB0;
  pattern[at] = pressed ? 0x01 : 0x00;
  pattern.back() = pressed ? 0x7B : 0x57;
  return pattern;
}

bool Matches(const std::vector<unsigned char>& pattern, const unsigned char* bytes) {
  return std::memcmp(pattern.data(), bytes, pattern.size()) == 0;
}

}  // namespace

unsigned long ButtonReportLength(int deviceType) {
  return deviceType == DT_Ctl_HID ? kHidReportLength : kBleReportLength;
}

ButtonReport ReadButtonReport(int deviceType, const unsigned char* bytes) {
  if (Matches(ButtonPattern(deviceType, true), bytes)) return ButtonReport::Pressed;
  if (Matches(ButtonPattern(deviceType, false), bytes)) return ButtonReport::Released;
  return ButtonReport::Unknown;
}

std::vector<unsigned char> IndicatorReport(int deviceType, bool on) {
  if (deviceType == DT_Ctl_HID) {
    std::vector<unsigned char> report(kHidOutputLength, 0);
    report[0] = 0x02;
    report[1] = 0xB2;
    report[2] = on ? 0x01 : 0x00;
    return report;
  }
  std::vector<unsigned char> report(kBleOutputLength, 0);
  report[0] = 0xB2;
  report[1] = on ? 0x01 : 0x00;
  return report;
}

std::vector<unsigned char> PeriodicReport() {
  std::vector<unsigned char> report(kHidOutputLength, 0);
  report[0] = 0x02;
  report[1] = 0xB1;
  return report;
}
