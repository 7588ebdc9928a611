// The settings folder and the protobuf files kept in it.
#pragma once

#include <cstdint>
#include <string>

#include "config.pb.h"

namespace google::protobuf {
class Message;
}

// Mode values of LoadProtoFile.
constexpr int kProtoFileBinary = 0;
constexpr int kProtoFileText = 1;

// %APPDATA%\Tavri\Kelvane, without a trailing backslash; computed at each call. Empty
// when the shell cannot name the application data folder.
std::wstring GetAppDataFolder();

// Creates every missing folder of the path; true when all of them exist afterwards.
bool CreateFolderPath(const std::wstring& path);

// Settings files are a few kilobytes; a larger file than this is refused unread.
constexpr uint64_t kMaxSettingsFileBytes = 16 * 1024 * 1024;

// Fills the message from the file: text format when mode is kProtoFileText, the binary
// encoding otherwise. False when the file cannot be opened or is larger than
// kMaxSettingsFileBytes (message untouched, a refused file is logged) or does not parse
// (message holds what was read before the error; text errors are logged).
bool LoadProtoFile(const std::wstring& path, google::protobuf::Message* message, int mode);

// Writes the message in the binary encoding. The file is replaced atomically: a failed
// save leaves the previous file as it was.
bool SaveProtoFile(const std::wstring& path, const google::protobuf::Message& message);

// Writes the message in protobuf text format with CR LF line ends (plain ASCII: bytes
// above 0x7F are octal escapes). The text is printed before anything is written and the
// file is replaced atomically, so a failed save leaves the previous file as it was.
bool SaveProtoText(const std::wstring& path, const google::protobuf::Message& message);

// Writes the built-in default settings into the message, over what it holds.
void SetDefaultConfig(ORVANE::Config::ConfigPb* config);
