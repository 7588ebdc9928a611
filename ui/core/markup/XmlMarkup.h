// In-place XML parser for skin files: elements, double-quoted attributes, character data,
// five named entities, comments and processing instructions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class XmlMarkup;

// A light handle on one element; valid while its document stays loaded.
class XmlNode {
 public:
  XmlNode() = default;

  bool IsValid() const { return document_ != nullptr; }
  XmlNode NextSibling() const;
  XmlNode FirstChild() const;
  const wchar_t* Name() const;
  // At most kMaxAttributes; later attributes are not visible.
  uint32_t AttributeCount() const;
  const wchar_t* AttributeName(int index) const;
  const wchar_t* AttributeValue(int index) const;

  static constexpr int kMaxAttributes = 64;

 private:
  friend class XmlMarkup;
  XmlNode(const XmlMarkup* document, uint32_t element) : element_(element), document_(document) {}

  uint32_t element_ = 0;
  const XmlMarkup* document_ = nullptr;
};

class XmlMarkup {
 public:
  explicit XmlMarkup(bool preserve_whitespace = true) : preserve_whitespace_(preserve_whitespace) {}

  bool LoadFromString(const wchar_t* text);
  // UTF-8 bytes; a leading byte-order mark is dropped.
  bool LoadFromBytes(const uint8_t* bytes, size_t count);
  // A relative path is taken from the global resource folder.
  bool LoadFromFile(const std::wstring& path);
  void Release();

  XmlNode Root();
  // Characters of the loaded document.
  size_t TextLength() const { return text_length_; }
  const wchar_t* GetLastErrorMessage() const { return error_message_.c_str(); }
  const wchar_t* GetLastErrorLocation() const { return error_location_.c_str(); }

  // Nesting levels of elements, the root being the first.
  static constexpr int kMaxDepth = 256;

 private:
  friend class XmlNode;
  struct Element {
    uint32_t name;
    uint32_t first_child;
    uint32_t next_sibling;
    uint32_t parent;
    uint32_t data;
    // The element's attributes: a run in `attributes_`, recorded while parsing.
    uint32_t first_attribute;
    uint32_t attribute_count;
  };
  // Offsets of an attribute's name and value in the text.
  struct Attribute {
    uint32_t name;
    uint32_t value;
  };
  struct FreeText {
    void operator()(wchar_t* text) const { std::free(text); }
  };

  // Takes a zero-terminated buffer of `length` characters and parses it in place.
  bool Parse(wchar_t* text, size_t length);
  bool ParseElement(wchar_t*& p, uint32_t parent, int depth);
  bool ParseAttributes(wchar_t*& p, Element& element);
  void ParseData(wchar_t*& source, wchar_t*& destination, wchar_t end) const;
  bool SkipToMarkupEnd(wchar_t*& p);
  bool CloseElement(wchar_t*& p, const Element& element, size_t name_length);
  uint32_t ReserveElement();
  bool Fail(const wchar_t* message, const wchar_t* location);
  uint32_t Offset(const wchar_t* p) const { return static_cast<uint32_t>(p - text_.get()); }

  std::unique_ptr<wchar_t[], FreeText> text_;
  size_t text_length_ = 0;
  std::vector<Element> elements_;
  std::vector<Attribute> attributes_;
  std::wstring error_message_;
  std::wstring error_location_;
  bool preserve_whitespace_;
};

// The handle's reads are inline: a walk over every attribute makes many of them.
inline XmlNode XmlNode::NextSibling() const {
  if (!document_) return XmlNode();
  const uint32_t next = document_->elements_[element_].next_sibling;
  return next ? XmlNode(document_, next) : XmlNode();
}

inline XmlNode XmlNode::FirstChild() const {
  if (!document_) return XmlNode();
  const uint32_t child = document_->elements_[element_].first_child;
  return child ? XmlNode(document_, child) : XmlNode();
}

inline const wchar_t* XmlNode::Name() const {
  if (!document_) return L"";
  return document_->text_.get() + document_->elements_[element_].name;
}

inline uint32_t XmlNode::AttributeCount() const {
  return document_ ? document_->elements_[element_].attribute_count : 0;
}

inline const wchar_t* XmlNode::AttributeName(int index) const {
  if (index < 0 || static_cast<uint32_t>(index) >= AttributeCount()) return L"";
  const XmlMarkup::Element& element = document_->elements_[element_];
  return document_->text_.get() + document_->attributes_[element.first_attribute + index].name;
}

inline const wchar_t* XmlNode::AttributeValue(int index) const {
  if (index < 0 || static_cast<uint32_t>(index) >= AttributeCount()) return L"";
  const XmlMarkup::Element& element = document_->elements_[element_];
  return document_->text_.get() + document_->attributes_[element.first_attribute + index].value;
}

}  // namespace ui
