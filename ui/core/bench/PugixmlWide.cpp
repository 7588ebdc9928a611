// Built with PUGIXML_WCHAR_MODE and pugi=pugi_wide, as the wide-mode library beside the
// default one.
#include <pugixml.hpp>

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
