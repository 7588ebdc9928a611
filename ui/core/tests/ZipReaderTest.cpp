// The skin-archive reader over archives built by the test itself.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "archive/ZipApi.h"
#include "archive/ZipEntryRecord.h"
#include "ZipWriter.h"

namespace ui {
namespace {

constexpr uint64_t kApril11Noon2025 = 133888464000000000ull;  // FILETIME, UTC

const std::string kText = "<Window size=\"300,200\">\n  <Label text=\"界面\"/>\n</Window>\n";

std::string Repeated(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

// An archive opened over a copy of its bytes; closed with the test.
class OpenArchive {
 public:
  explicit OpenArchive(std::string bytes, const char* password = "")
      : bytes_(std::move(bytes)),
        handle_(OpenZip(bytes_.data(), static_cast<uint32_t>(bytes_.size()), password)) {}
  ~OpenArchive() { delete handle_; }
  bool opened() const { return handle_ != nullptr; }
  Unzipper* unzipper() const { return handle_ ? handle_->unzipper.get() : nullptr; }

  // Finds `name` and reads it whole; the archive-layer result of whichever step failed.
  uint32_t ReadWhole(const std::wstring& name, std::string& out) {
    int index = -1;
    ZipEntry entry;
    uint32_t result = FindZipEntry(unzipper(), name, index, entry);
    if (result != kZipOk) return result;
    out.assign(entry.uncompressed_size, '\0');
    return ReadZipEntry(unzipper(), index, out.data(), entry.uncompressed_size);
  }

 private:
  std::string bytes_;
  ZipHandle* handle_;
};

ZipWriterEntry Entry(const std::string& name, const std::string& data, bool deflate = true) {
  ZipWriterEntry entry;
  entry.name = name;
  entry.data = data;
  entry.deflate = deflate;
  return entry;
}

struct ArchiveCase {
  const char* what;
  std::string archive;
  const char* password;
  uint32_t expected;
};

std::string CorruptStoredData() {
  ZipLayout layout;
  std::string zip = BuildZip({Entry("a.xml", kText, false)}, "", &layout);
  zip[layout.local_headers[0] + 30 + 5] ^= 0x20;
  return zip;
}

std::string CrcChangedInBothHeaders() {
  ZipLayout layout;
  std::string zip = BuildZip({Entry("a.xml", kText)}, "", &layout);
  PutU32(zip, layout.local_headers[0] + 14, 0x12345678);
  PutU32(zip, layout.central_headers[0] + 16, 0x12345678);
  return zip;
}

std::string CrcChangedInCentralHeaderOnly() {
  ZipLayout layout;
  std::string zip = BuildZip({Entry("a.xml", kText)}, "", &layout);
  PutU32(zip, layout.central_headers[0] + 16, 0x12345678);
  return zip;
}

std::string LocalMethod12() {
  ZipLayout layout;
  std::string zip = BuildZip({Entry("a.xml", kText)}, "", &layout);
  PutU16(zip, layout.local_headers[0] + 8, 12);
  return zip;
}

// The stored entry claims more bytes than its data holds.
std::string StoredSizeLargerThanData() {
  ZipLayout layout;
  std::string zip = BuildZip({Entry("a.xml", kText, false)}, "", &layout);
  const uint32_t larger = static_cast<uint32_t>(kText.size() + 10);
  PutU32(zip, layout.local_headers[0] + 22, larger);
  PutU32(zip, layout.central_headers[0] + 24, larger);
  return zip;
}

// The deflate stream ends before the declared size.
std::string DeflateEndsEarly() {
  ZipLayout layout;
  std::string zip = BuildZip({Entry("a.xml", kText)}, "", &layout);
  const uint32_t larger = static_cast<uint32_t>(kText.size() + 10);
  PutU32(zip, layout.local_headers[0] + 22, larger);
  PutU32(zip, layout.central_headers[0] + 24, larger);
  return zip;
}

std::string WithZip64Sizes() {
  ZipLayout layout;
  std::string zip = BuildZip({Entry("a.xml", kText)}, "", &layout);
  PutU32(zip, layout.local_headers[0] + 18, 0xffffffff);
  PutU32(zip, layout.local_headers[0] + 22, 0xffffffff);
  PutU32(zip, layout.central_headers[0] + 20, 0xffffffff);
  PutU32(zip, layout.central_headers[0] + 24, 0xffffffff);
  return zip;
}

std::string WithOversizedEntry() {
  ZipLayout layout;
  std::string zip = BuildZip({Entry("a.xml", kText)}, "", &layout);
  PutU32(zip, layout.local_headers[0] + 22, kZipMaxEntrySize + 1);
  PutU32(zip, layout.central_headers[0] + 24, kZipMaxEntrySize + 1);
  return zip;
}

ZipWriterEntry Encrypted(bool descriptor) {
  ZipWriterEntry entry = Entry("a.xml", kText);
  entry.password = "secret";
  entry.data_descriptor = descriptor;
  return entry;
}

ZipWriterEntry WithDescriptor() {
  ZipWriterEntry entry = Entry("a.xml", kText);
  entry.data_descriptor = true;
  return entry;
}

TEST(ZipReader, ReadsOrRejectsEachKindOfArchive) {
  const ArchiveCase cases[] = {
      {"stored", BuildZip({Entry("a.xml", kText, false)}), "", kZipOk},
      {"deflated", BuildZip({Entry("a.xml", kText)}), "", kZipOk},
      {"data descriptor", BuildZip({WithDescriptor()}), "", kZipOk},
      {"encrypted, right password", BuildZip({Encrypted(false)}), "secret", kZipOk},
      {"encrypted with descriptor, right password", BuildZip({Encrypted(true)}), "secret", kZipOk},
      {"encrypted, empty password", BuildZip({Encrypted(false)}), "", kZipWrongPassword},
      {"bad CRC in the data", CorruptStoredData(), "", kZipReadError},
      {"bad CRC in both headers", CrcChangedInBothHeaders(), "", kZipReadError},
      {"CRC differs between headers", CrcChangedInCentralHeaderOnly(), "", kZipBadLocalHeader},
      {"local method 12", LocalMethod12(), "", kZipBadLocalHeader},
      {"stored size larger than data", StoredSizeLargerThanData(), "", kZipReadError},
      {"deflate stream ends early", DeflateEndsEarly(), "", kZipReadError},
      {"zip64 size markers", WithZip64Sizes(), "", kZipBadLocalHeader},
      {"entry above the size cap", WithOversizedEntry(), "", kZipBadLocalHeader},
      {"comment holding PK\\5\\6", BuildZip({Entry("a.xml", kText)}, "x PK\5\6 y"), "", kZipOk},
  };
  for (const ArchiveCase& c : cases) {
    SCOPED_TRACE(c.what);
    OpenArchive archive(c.archive, c.password);
    ASSERT_TRUE(archive.opened());
    std::string data;
    EXPECT_EQ(archive.ReadWhole(L"a.xml", data), c.expected);
    if (c.expected == kZipOk) {
      EXPECT_EQ(data, kText);
    }
  }
}

TEST(ZipReader, RejectsArchivesItCannotOpen) {
  std::string plain = BuildZip({Entry("a.xml", kText)});
  ZipLayout layout;
  std::string zip = BuildZip({Entry("a.xml", kText)}, "", &layout);
  auto patched = [&](size_t offset, uint16_t value) {
    std::string copy = zip;
    PutU16(copy, layout.end_record + offset, value);
    return copy;
  };
  std::string locator = plain.substr(0, layout.end_record) + "PK\6\7" + std::string(16, '\0') +
                        plain.substr(layout.end_record);
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"not an archive", "just some text that is long enough to be searched"},
      {"disk number 1", patched(4, 1)},
      {"central directory on disk 1", patched(6, 1)},
      {"entries on this disk differ from total", patched(8, 2)},
      {"zip64 entry count",
       [&] {
         std::string c = patched(8, 0xffff);
         PutU16(c, layout.end_record + 10, 0xffff);
         return c;
       }()},
      {"zip64 locator", locator},
      {"central directory past the end record",
       [&] {
         std::string c = zip;
         PutU32(c, layout.end_record + 16, 0x7fffffff);
         return c;
       }()},
      {"end record beyond 64 KiB", plain.substr(0, layout.end_record) +
                                       [&] {
                                         std::string end = plain.substr(layout.end_record);
                                         PutU16(end, 20, 0xffff);
                                         return end + std::string(0xffff, ' ');
                                       }()},
  };
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    OpenArchive archive(bytes);
    EXPECT_FALSE(archive.opened());
    EXPECT_EQ(LastZipResult(), kZipCannotOpen);
  }
}

TEST(ZipReader, FindsEndRecordBehindLongComment) {
  OpenArchive archive(BuildZip({Entry("a.xml", kText)}, std::string(5000, 'c')));
  std::string data;
  EXPECT_EQ(archive.ReadWhole(L"a.xml", data), kZipOk);
}

TEST(ZipReader, TruncatedArchiveNeverReadsGarbage) {
  const std::string zip =
      BuildZip({Entry("a.xml", kText), Entry("b.txt", "stored text", false)}, "note");
  for (size_t length = 0; length < zip.size(); ++length) {
    SCOPED_TRACE(length);
    OpenArchive archive(zip.substr(0, length));
    if (!archive.opened()) continue;
    for (const wchar_t* name : {L"a.xml", L"b.txt"}) {
      std::string data;
      const uint32_t result = archive.ReadWhole(name, data);
      if (result == kZipOk) {
        EXPECT_TRUE(data == kText || data == "stored text");
      }
    }
  }
}

TEST(ZipReader, LooksNamesUpIgnoringAsciiCaseOnly) {
  const std::string long_name = Repeated("n", 300);
  OpenArchive archive(BuildZip({Entry(long_name, "long"), Entry("Themes/Default/ÄBC.xml", kText),
                                Entry("last.txt", "last")}));
  const std::pair<std::wstring, uint32_t> cases[] = {
      {L"themes/default/Äbc.xml", kZipOk},
      {L"THEMES/DEFAULT/ÄBC.XML", kZipOk},
      {L"themes/default/äbc.xml", kZipNotFound},
      {std::wstring(300, L'n'), kZipNotFound},
      {std::wstring(255, L'n'), kZipNotFound},
      {L"missing.xml", kZipNotFound},
      {L"last.txt", kZipOk},
  };
  for (const auto& [name, expected] : cases) {
    int index = 7;
    ZipEntry entry;
    EXPECT_EQ(FindZipEntry(archive.unzipper(), name, index, entry), expected);
    if (expected != kZipOk) {
      EXPECT_EQ(index, -1);
    }
  }
}

TEST(ZipReader, TheFirstOfNamesEqualButForCaseWins) {
  OpenArchive archive(BuildZip({Entry("b.xml", "other"), Entry("a.xml", "first"),
                                Entry("A.XML", "second")}));
  std::string data;
  EXPECT_EQ(archive.ReadWhole(L"A.xml", data), kZipOk);
  EXPECT_EQ(data, "first");
}

TEST(ZipReader, ReadsInPiecesAndRejectsBadIndexes) {
  OpenArchive archive(BuildZip({Entry("a.xml", kText), Entry("b.xml", "second")}));
  int index = -1;
  ZipEntry entry;
  ASSERT_EQ(FindZipEntry(archive.unzipper(), L"a.xml", index, entry), kZipOk);
  std::string first(10, '\0'), rest(kText.size() - 10, '\0');
  EXPECT_EQ(ReadZipEntry(archive.unzipper(), index, first.data(), 10), kZipMore);
  EXPECT_EQ(
      ReadZipEntry(archive.unzipper(), index, rest.data(), static_cast<uint32_t>(rest.size())),
      kZipOk);
  EXPECT_EQ(first + rest, kText);

  char byte = 0;
  EXPECT_EQ(ReadZipEntry(archive.unzipper(), -1, &byte, 1), kZipBadArgument);
  EXPECT_EQ(ReadZipEntry(archive.unzipper(), 2, &byte, 1), kZipBadArgument);
  std::string second(6, '\0');
  EXPECT_EQ(ReadZipEntry(archive.unzipper(), 1, second.data(), 6), kZipOk);
  EXPECT_EQ(second, "second");
  std::string again(kText.size(), '\0');
  EXPECT_EQ(ReadZipEntry(archive.unzipper(), 0, again.data(), static_cast<uint32_t>(again.size())),
            kZipOk);
  EXPECT_EQ(again, kText);
}

TEST(ZipReader, FailedStepDoesNotHideEarlierEntries) {
  ZipLayout layout;
  std::string zip = BuildZip({Entry("a.xml", kText), Entry("b.xml", "second")}, "", &layout);
  PutU32(zip, layout.central_headers[1], 0x12345678);  // second central header broken
  OpenArchive archive(zip);
  char byte = 0;
  EXPECT_EQ(ReadZipEntry(archive.unzipper(), 1, &byte, 1), kZipReadError);
  std::string data;
  EXPECT_EQ(archive.ReadWhole(L"a.xml", data), kZipOk);
  EXPECT_EQ(data, kText);
  EXPECT_EQ(archive.ReadWhole(L"b.xml", data), kZipNotFound);
}

TEST(ZipReader, EntryRecordCarriesSanitisedNameAttributesAndTimes) {
  ZipWriterEntry folder = Entry("C:/skins/../x.png", "png");
  folder.local_extra = UnixTimeExtra(0x07, {1000, 2000, 3000});
  ZipWriterEntry dos = Entry("/dos.txt", "dos");
  dos.version_made_by = 0x0014;    // DOS host
  dos.external_attributes = 0x23;  // read-only, hidden, archive
  ZipWriterEntry truncated_ut = Entry("ut.txt", "ut");
  truncated_ut.local_extra = UnixTimeExtra(0x03, {1000});  // access time announced but missing
  OpenArchive archive(BuildZip({folder, dos, truncated_ut}));

  int index = -1;
  ZipEntry entry;
  ASSERT_EQ(FindZipEntry(archive.unzipper(), L"c:/SKINS/../x.png", index, entry), kZipOk);
  EXPECT_EQ(entry.name, L"x.png");
  EXPECT_EQ(entry.attributes, kZipAttrArchive);
  EXPECT_EQ(entry.modification_time, (1000 + 11644473600ull) * 10000000);
  EXPECT_EQ(entry.access_time, (2000 + 11644473600ull) * 10000000);
  EXPECT_EQ(entry.creation_time, (3000 + 11644473600ull) * 10000000);

  ASSERT_EQ(FindZipEntry(archive.unzipper(), L"/dos.txt", index, entry), kZipOk);
  EXPECT_EQ(entry.name, L"dos.txt");
  EXPECT_EQ(entry.attributes, kZipAttrReadOnly | kZipAttrHidden | kZipAttrArchive);
  EXPECT_EQ(entry.modification_time, kApril11Noon2025);
  EXPECT_EQ(entry.uncompressed_size, 3u);

  ASSERT_EQ(FindZipEntry(archive.unzipper(), L"ut.txt", index, entry), kZipOk);
  EXPECT_EQ(entry.modification_time, (1000 + 11644473600ull) * 10000000);
  EXPECT_EQ(entry.access_time, kApril11Noon2025);
}

TEST(ZipReader, SanitisesEntryNames) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"d:\\skin\\..\\file.png", L"file.png"},
      {L"/lead.png", L"lead.png"},
      {L"../up.png", L"../up.png"},
      {L"a/../b/..\\c.png", L"c.png"},
      {L"plain/name.xml", L"plain/name.xml"},
  };
  for (const auto& [stored, expected] : cases) EXPECT_EQ(SanitizeZipEntryName(stored), expected);
}

TEST(ZipReader, UnixAttributes) {
  ZipCentralHeader header;
  header.version_made_by = 0x0314;
  header.external_attributes = 0x41ED0000;  // directory, rwxr-xr-x
  EXPECT_EQ(ZipEntryAttributes(header), kZipAttrDirectory | kZipAttrArchive);
  header.external_attributes = 0x81240000;  // regular, r--r--r--
  EXPECT_EQ(ZipEntryAttributes(header), kZipAttrReadOnly | kZipAttrArchive);
}

TEST(ZipReader, CloseZipEmptiesTheResourceSlot) {
  std::string zip = BuildZip({Entry("a.xml", kText)});
  ResourceZip() = OpenZip(zip.data(), static_cast<uint32_t>(zip.size()), "");
  ASSERT_NE(ResourceZip(), nullptr);
  EXPECT_EQ(CloseZip(), kZipOk);
  EXPECT_EQ(ResourceZip(), nullptr);
  EXPECT_EQ(CloseZip(), kZipBadArgument);
  EXPECT_EQ(LastZipResult(), kZipBadArgument);
}

}  // namespace
}  // namespace ui
