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

// The name an unreadable settings file is kept under.
std::wstring KeptAsidePathFor(const std::wstring& path);

// Fills the message from the file: text format when mode is kProtoFileText, the binary
// encoding otherwise (where fields this program does not know make the file unreadable).
// False when the file cannot be opened (message untouched), is larger than
// kMaxSettingsFileBytes (message untouched) or does not parse (message cleared).
// A file that is too large or does not parse is moved to KeptAsidePathFor(path),
// replacing an older one, so that no later save overwrites it; one line naming both files
// is logged. kept_aside_as, when given, receives that name, or is emptied when no file
// was moved aside.
bool LoadProtoFile(const std::wstring& path, google::protobuf::Message* message, int mode,
                   std::wstring* kept_aside_as = nullptr);

// Writes the message in the binary encoding. The file is replaced atomically: a failed
// save leaves the previous file as it was.
bool SaveProtoFile(const std::wstring& path, const google::protobuf::Message& message);

// Writes the message in protobuf text format with CR LF line ends (plain ASCII: bytes
// above 0x7F are octal escapes). The text is printed before anything is written and the
// file is replaced atomically, so a failed save leaves the previous file as it was.
bool SaveProtoText(const std::wstring& path, const google::protobuf::Message& message);

// Writes the built-in default settings into the message, over what it holds.
void SetDefaultConfig(ORVANE::Config::ConfigPb* config);
