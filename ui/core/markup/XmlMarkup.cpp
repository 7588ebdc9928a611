#include "markup/XmlMarkup.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "text/Utf8.h"

namespace ui {
namespace {

constexpr size_t kMaxMessage = 99;
constexpr size_t kMaxLocation = 49;

bool IsWhitespace(wchar_t c) { return c >= 1 && c <= 32; }

// Name characters: ASCII letters and digits, "_", ":" and every non-ASCII character.
struct NameCharTable {
  bool ascii[128] = {};
  constexpr NameCharTable() {
    for (int c = 0; c < 128; ++c)
      ascii[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                 c == '_' || c == ':';
  }
};
constexpr NameCharTable kNameChars;

bool IsNameChar(wchar_t c) {
  const auto code = static_cast<uint32_t>(c);
  return code >= 0x80 || kNameChars.ascii[code];
}

void SkipWhitespace(wchar_t*& p) {
  while (IsWhitespace(*p)) ++p;
}

void SkipIdentifier(wchar_t*& p) {
  while (IsNameChar(*p)) ++p;
}

// Characters that end a plain run of character data or of an attribute value.
enum DataStop : uint8_t { kEnd = 1, kQuoteEnd = 2, kTagEnd = 4, kSpace = 8 };
struct DataStopTable {
  uint8_t ascii[128] = {};
  constexpr DataStopTable() {
    ascii[0] = ascii['&'] = kEnd;
    ascii['"'] = kQuoteEnd;
    ascii['<'] = kTagEnd;
    ascii[' '] = kSpace;
  }
};
constexpr DataStopTable kDataStops;

uint8_t DataStops(wchar_t end, bool preserve_whitespace) {
  return kEnd | (end == L'"' ? kQuoteEnd : kTagEnd) | (preserve_whitespace ? 0 : kSpace);
}

bool IsDataStop(wchar_t c, uint8_t stops) {
  const auto code = static_cast<uint32_t>(c);
  return code < 128 && (kDataStops.ascii[code] & stops);
}

bool StartsWith(const wchar_t* text, const wchar_t* prefix, size_t length) {
  for (size_t i = 0; i < length; ++i)
    if (text[i] != prefix[i]) return false;
  return true;
}

// `source` points at "&": one of the five named entities, or a literal "&".
void DecodeEntity(wchar_t*& source, wchar_t*& destination) {
  struct Entity {
    const wchar_t* name;  // after "&", with its ";"
    size_t length;
    wchar_t character;
  };
  static constexpr Entity kAmp{L"amp;", 4, L'&'}, kApos{L"apos;", 5, L'\''}, kLt{L"lt;", 3, L'<'},
      kGt{L"gt;", 3, L'>'}, kQuot{L"quot;", 5, L'"'};
  ++source;
  const Entity* entity = nullptr;
  switch (*source) {
    case L'a': entity = source[1] == L'm' ? &kAmp : &kApos; break;
    case L'l': entity = &kLt; break;
    case L'g': entity = &kGt; break;
    case L'q': entity = &kQuot; break;
    default: break;
  }
  if (entity && StartsWith(source, entity->name, entity->length)) {
    *destination++ = entity->character;
    source += entity->length;
    return;
  }
  *destination++ = L'&';
}

}  // namespace

bool XmlMarkup::LoadFromString(const wchar_t* text) {
  Release();
  if (!text) text = L"";
  const size_t length = std::wcslen(text);
  if (length >= UINT32_MAX) return Fail(L"File too large", nullptr);  // offsets are 32-bit
  wchar_t* buffer = static_cast<wchar_t*>(std::malloc((length + 1) * sizeof(wchar_t)));
  if (!buffer) return Fail(L"Out of memory", nullptr);
  std::memcpy(buffer, text, (length + 1) * sizeof(wchar_t));
  return Parse(buffer, length);
}

bool XmlMarkup::LoadFromBytes(const uint8_t* bytes, size_t count) {
  Release();
  if (count > 2 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    bytes += 3;
    count -= 3;
  }
  // Offsets are 32-bit; UTF-8 never decodes to more characters than it has bytes.
  if (count >= UINT32_MAX) return Fail(L"File too large", nullptr);
  wchar_t* buffer = static_cast<wchar_t*>(std::malloc((count + 1) * sizeof(wchar_t)));
  if (!buffer) return Fail(L"Out of memory", nullptr);
  const size_t length = DecodeUtf8(reinterpret_cast<const char*>(bytes), count, buffer);
  buffer[length] = 0;
  return Parse(buffer, length);
}

void XmlMarkup::Release() {
  text_.reset();
  text_length_ = 0;
  elements_ = {};
  attributes_ = {};
}

XmlNode XmlMarkup::Root() { return elements_.size() > 1 ? XmlNode(this, 1) : XmlNode(); }

bool XmlMarkup::Parse(wchar_t* text, size_t length) {
  text_.reset(text);
  text_length_ = length;
  error_message_.clear();
  error_location_.clear();
  // Skins hold about one element per 200 characters and eight attributes per element.
  elements_.reserve(length / 200 + 16);
  attributes_.reserve(length / 25 + 16);
  ReserveElement();  // element 0 is the document
  wchar_t* p = text_.get();
  if (ParseElement(p, 0, 0)) return true;
  Release();
  return false;
}

uint32_t XmlMarkup::ReserveElement() {
  elements_.push_back(Element{});
  return static_cast<uint32_t>(elements_.size() - 1);
}

bool XmlMarkup::Fail(const wchar_t* message, const wchar_t* location) {
  error_message_.assign(message, std::min(std::wcslen(message), kMaxMessage));
  error_location_.clear();
  for (size_t i = 0; location && i < kMaxLocation && location[i]; ++i)
    error_location_ += location[i];
  return false;
}

bool XmlMarkup::SkipToMarkupEnd(wchar_t*& p) {
  const bool comment = *p == L'!';
  wchar_t* end = std::wcsstr(p + 1, comment ? L"->" : L"?>");
  if (!end)
    return Fail(comment ? L"Unterminated comment" : L"Unterminated processing instruction", p);
  p = end + 2;
  return true;
}

bool XmlMarkup::ParseElement(wchar_t*& p, uint32_t parent, int depth) {
  uint32_t previous = 0;
  for (;;) {
    SkipWhitespace(p);
    if (!*p) return parent <= 1 || Fail(L"Unexpected end of text", p);
    if (*p != L'<') return Fail(L"Expected start tag", p);
    if (p[1] == L'/') return true;
    *p++ = 0;
    SkipWhitespace(p);
    if (*p == L'!' || *p == L'?') {
      if (!SkipToMarkupEnd(p)) return false;
      continue;
    }
    if (depth >= kMaxDepth) return Fail(L"Elements nested too deeply", p);

    const uint32_t index = ReserveElement();
    elements_[index].name = Offset(p);
    elements_[index].parent = parent;
    if (previous)
      elements_[previous].next_sibling = index;
    else if (parent)
      elements_[parent].first_child = index;
    previous = index;

    wchar_t* name = p;
    SkipIdentifier(p);
    const size_t name_length = static_cast<size_t>(p - name);
    if (!*p) return Fail(L"Error parsing element name", p);
    if (!ParseAttributes(p, elements_[index])) return false;
    SkipWhitespace(p);
    if (p[0] == L'/' && p[1] == L'>') {
      elements_[index].data = Offset(p);
      *p = 0;
      p += 2;
      name[name_length] = 0;
    } else {
      if (*p != L'>') return Fail(L"Expected start-tag closing", p);
      elements_[index].data = Offset(++p);
      name[name_length] = 0;
      wchar_t* destination = p;
      ParseData(p, destination, L'<');
      if (!*p) return parent <= 1 || Fail(L"Unexpected end of text", p);
      if (p[1] != L'/' && !ParseElement(p, index, depth + 1)) return false;
      if (p[0] == L'<' && p[1] == L'/') {
        *destination = 0;
        if (!CloseElement(p, elements_[index], name_length)) return false;
      }
    }
  }
}

bool XmlMarkup::CloseElement(wchar_t*& p, const Element& element, size_t name_length) {
  *p = 0;
  p += 2;
  SkipWhitespace(p);
  if (std::wcsncmp(p, text_.get() + element.name, name_length) != 0)
    return Fail(L"Unmatched closing tag", p);
  p += name_length;
  SkipWhitespace(p);
  if (*p != L'>') return Fail(L"Unmatched closing tag", p);
  ++p;
  return true;
}

bool XmlMarkup::ParseAttributes(wchar_t*& p, Element& element) {
  element.first_attribute = static_cast<uint32_t>(attributes_.size());
  if (*p == L'>' || *p == L'/') return true;
  *p++ = 0;
  SkipWhitespace(p);
  while (*p && *p != L'>' && *p != L'/') {
    const wchar_t* name = p;
    wchar_t* name_end = p;
    SkipIdentifier(name_end);
    p = name_end;
    SkipWhitespace(p);
    if (*p != L'=') return Fail(L"Error while parsing attributes", p);
    *p++ = L' ';
    *name_end = 0;
    SkipWhitespace(p);
    if (*p != L'"') return Fail(L"Expected attribute value", p);
    wchar_t* destination = ++p;
    if (element.attribute_count < XmlNode::kMaxAttributes) {
      attributes_.push_back(Attribute{Offset(name), Offset(p)});
      ++element.attribute_count;
    }
    ParseData(p, destination, L'"');
    if (!*p) return Fail(L"Error while parsing attribute string", p);
    *destination = 0;
    if (destination != p) *p = L' ';
    ++p;
    SkipWhitespace(p);
  }
  return true;
}

void XmlMarkup::ParseData(wchar_t*& source, wchar_t*& destination, wchar_t end) const {
  // Nothing moves until the first entity or collapsed space.
  if (destination == source) {
    const uint8_t stops = DataStops(end, preserve_whitespace_);
    wchar_t* p = source;
    while (!IsDataStop(*p, stops)) ++p;
    source = destination = p;
  }
  while (*source && *source != end) {
    if (*source == L'&') {
      while (*source == L'&') DecodeEntity(source, destination);
      if (*source == end) break;
    } else if (*source == L' ') {
      *destination++ = *source++;
      if (!preserve_whitespace_) SkipWhitespace(source);
    } else {
      *destination++ = *source++;
    }
  }
}

}  // namespace ui
