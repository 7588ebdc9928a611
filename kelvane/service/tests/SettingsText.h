// Settings files for Kelvane in tests, demos and benchmarks: a HID control device at a path
// and a general microphone of a name, in the protobuf text form the service reads.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

inline void WriteTextFile(const std::wstring& path, const std::string& text) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << text;
}

// Text with its backslashes escaped for a quoted protobuf text value.
inline std::string Escaped(const std::string& text) {
  std::string escaped;
  for (char c : text) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return escaped;
}

// Settings of a HID control device at the path and a general microphone of the name.
inline std::string SettingsText(const std::string& ctlPath, const std::string& micName,
                                const std::string& more = std::string()) {
  return "ctl_config {\n  ctl_mode: CtlMode_HID\n  device_descriptor {\n    path: \"" + Escaped(ctlPath) +
         "\"\n  }\n}\nmic_config {\n  mic_mode: MicMode_Gen\n  device_descriptor {\n    name: \"" +
         micName + "\"\n  }\n}\n" + more;
}

// An ASCII wide text as bytes.
inline std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }
