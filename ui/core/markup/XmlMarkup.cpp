#include "markup/XmlMarkup.h"

#include <algorithm>
#include <cwchar>

#include "text/Utf8.h"

namespace ui {
namespace {

constexpr size_t kMaxMessage = 99;
constexpr size_t kMaxLocation = 49;

bool IsWhitespace(wchar_t c) { return c >= 1 && c <= 32; }

// Name characters: ASCII letters and digits, "_", ":" and every non-ASCII character.
bool IsNameChar(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
         c == L'_' || c == L':' || static_cast<uint32_t>(c) >= 0x80;
}

void SkipWhitespace(wchar_t*& p) {
  while (IsWhitespace(*p)) ++p;
}

void SkipIdentifier(wchar_t*& p) {
  while (IsNameChar(*p)) ++p;
}

struct Entity {
  const wchar_t* name;
  wchar_t character;
};
constexpr Entity kEntities[] = {
    {L"amp;", L'&'}, {L"lt;", L'<'}, {L"gt;", L'>'}, {L"quot;", L'"'}, {L"apos;", L'\''}};

// `source` points at "&"; an unknown name leaves a literal "&".
void DecodeEntity(wchar_t*& source, wchar_t*& destination) {
  ++source;
  for (const Entity& entity : kEntities) {
    const size_t length = std::wcslen(entity.name);
    if (std::wcsncmp(source, entity.name, length) == 0) {
      *destination++ = entity.character;
      source += length;
      return;
    }
  }
  *destination++ = L'&';
}

}  // namespace

bool XmlMarkup::LoadFromString(const wchar_t* text) {
  Release();
  return Parse(text ? text : L"");
}

bool XmlMarkup::LoadFromBytes(const uint8_t* bytes, size_t count) {
  Release();
  if (count > 2 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    bytes += 3;
    count -= 3;
  }
  return Parse(Utf8BytesToWide(reinterpret_cast<const char*>(bytes), count));
}

void XmlMarkup::Release() {
  text_.clear();
  text_.shrink_to_fit();
  elements_.clear();
  elements_.shrink_to_fit();
}

XmlNode XmlMarkup::Root() { return elements_.size() > 1 ? XmlNode(this, 1) : XmlNode(); }

bool XmlMarkup::Parse(std::wstring text) {
  text_.assign(text.c_str(), text.c_str() + std::wcslen(text.c_str()) + 1);
  elements_.clear();
  error_message_.clear();
  error_location_.clear();
  ReserveElement();  // element 0 is the document
  wchar_t* p = text_.data();
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
    if (!ParseAttributes(p)) return false;
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
  if (std::wcsncmp(p, text_.data() + element.name, name_length) != 0)
    return Fail(L"Unmatched closing tag", p);
  p += name_length;
  SkipWhitespace(p);
  if (*p != L'>') return Fail(L"Unmatched closing tag", p);
  ++p;
  return true;
}

bool XmlMarkup::ParseAttributes(wchar_t*& p) {
  if (*p == L'>' || *p == L'/') return true;
  *p++ = 0;
  SkipWhitespace(p);
  while (*p && *p != L'>' && *p != L'/') {
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
  for (wchar_t* fill = destination + 1; fill < source; ++fill) *fill = L' ';
}

XmlNode XmlNode::NextSibling() const {
  if (!document_) return XmlNode();
  const uint32_t next = document_->elements_[element_].next_sibling;
  return next ? XmlNode(document_, next) : XmlNode();
}

XmlNode XmlNode::FirstChild() const {
  if (!document_) return XmlNode();
  const uint32_t child = document_->elements_[element_].first_child;
  return child ? XmlNode(document_, child) : XmlNode();
}

const wchar_t* XmlNode::Name() const {
  if (!document_) return L"";
  return document_->text_.data() + document_->elements_[element_].name;
}

void XmlNode::MapAttributes() {
  if (!document_ || attribute_count_) return;
  const wchar_t* text = document_->text_.data();
  const XmlMarkup::Element& element = document_->elements_[element_];
  const wchar_t* end = text + element.data;
  const wchar_t* p = text + element.name;
  p += std::wcslen(p) + 1;
  // Every step stays inside the element's attribute area.
  auto skip_whitespace = [&] {
    while (p < end && IsWhitespace(*p)) ++p;
  };
  while (p < end && attribute_count_ < kMaxAttributes) {
    skip_whitespace();
    if (p >= end) return;
    const wchar_t* name = p;
    p += std::wcslen(p) + 1;
    skip_whitespace();
    if (p >= end || *p != L'"') return;
    const wchar_t* value = ++p;
    attributes_[attribute_count_++] = {static_cast<uint32_t>(name - text),
                                       static_cast<uint32_t>(value - text)};
    p += std::wcslen(p) + 1;
  }
}

uint32_t XmlNode::AttributeCount() {
  MapAttributes();
  return attribute_count_;
}

const wchar_t* XmlNode::AttributeName(int index) {
  MapAttributes();
  if (index < 0 || static_cast<uint32_t>(index) >= attribute_count_) return L"";
  return document_->text_.data() + attributes_[index].name;
}

const wchar_t* XmlNode::AttributeValue(int index) {
  MapAttributes();
  if (index < 0 || static_cast<uint32_t>(index) >= attribute_count_) return L"";
  return document_->text_.data() + attributes_[index].value;
}

}  // namespace ui
