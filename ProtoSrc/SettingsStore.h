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

// The names under which a save keeps the bytes of a file that does not load: number 0
// is "<path>.bad", number n "<path>.<n>.bad". A save tries them in turn, up to
// kMaxKeptCopies of them.
std::wstring KeptCopyPathFor(const std::wstring& path, int number);
constexpr int kMaxKeptCopies = 100;

// Fills the message from the file: text format when mode is kProtoFileText, the binary
// encoding otherwise (fields this program does not know are kept in the message, so a
// save writes them back). False when the file is absent or cannot be opened (message
// untouched), is larger than kMaxSettingsFileBytes (message untouched) or does not parse
// (the message holds what was read before the error). A file that is there but does not
// load stays as it is, for a later save to keep a copy of first; one line naming it and
// its problem is logged. unreadable, when given, tells whether that was the case.
bool LoadProtoFile(const std::wstring& path, google::protobuf::Message* message, int mode,
                   bool* unreadable = nullptr);

// What a save did with a file in its place that does not load as the saved kind of
// message (the file that LoadProtoFile reported unreadable, or any other).
struct KeptCopy {
  std::wstring path;     // its copy, made now or by an earlier save; empty when there was none to keep
  bool refused = false;  // no copy could be made, so nothing was written
};

// The saves below first keep a copy of a file in their place that does not load: its
// bytes go to the first of the KeptCopyPathFor names that is free, unless one of them
// already holds the same bytes; one line naming both files is logged. When no copy can
// be made (the file cannot be read, or no name can be written) the save is refused and
// the file is left as it is. kept, when given, tells what was done.

// Writes the message in the binary encoding. The file is replaced atomically: a failed
// save leaves the previous file as it was.
bool SaveProtoFile(const std::wstring& path, const google::protobuf::Message& message,
                   KeptCopy* kept = nullptr);

// Writes the message in protobuf text format with CR LF line ends (plain ASCII: bytes
// above 0x7F are octal escapes). The text is printed before anything is written and the
// file is replaced atomically, so a failed save leaves the previous file as it was.
bool SaveProtoText(const std::wstring& path, const google::protobuf::Message& message,
                   KeptCopy* kept = nullptr);

// Writes the built-in default settings into the message, over what it holds.
void SetDefaultConfig(ORVANE::Config::ConfigPb* config);
