// The wide-mode pugixml lives in its own namespace, beside the library's default mode.
#define PUGIXML_WCHAR_MODE
#define PUGIXML_HEADER_ONLY
#define pugi pugi_wide
#include <pugixml.hpp>
#undef pugi

#include "PugixmlWide.h"

namespace {

bool Load(pugi_wide::xml_document& document, const char* bytes, size_t count) {
  return document.load_buffer(bytes, count, pugi_wide::parse_default, pugi_wide::encoding_utf8);
}

}  // namespace

bool PugixmlWideLoad(const char* bytes, size_t count) {
  pugi_wide::xml_document document;
  return Load(document, bytes, count);
}

bool PugixmlWideLoadAndRead(const char* bytes, size_t count, XmlCounts& counts) {
  pugi_wide::xml_document document;
  if (!Load(document, bytes, count)) return false;
  ReadPugixml(document, pugi_wide::node_element, counts);
  return true;
}
