// Feeds arbitrary bytes to the XML parser and walks whatever tree it accepts.
#include <cstddef>
#include <cstdint>
#include <cwchar>

#include "markup/XmlMarkup.h"

namespace {

constexpr int kMaxVisits = 10000;
volatile size_t text_length_sink = 0;  // keeps the reads of every returned text

void Touch(const wchar_t* text) { text_length_sink = text_length_sink + std::wcslen(text); }

void Walk(ui::XmlNode node, int& visits) {
  for (; node.IsValid() && visits < kMaxVisits; node = node.NextSibling(), ++visits) {
    Touch(node.Name());
    const int count = static_cast<int>(node.AttributeCount());
    for (int i = -1; i <= count; ++i) {
      Touch(node.AttributeName(i));
      Touch(node.AttributeValue(i));
    }
    Walk(node.FirstChild(), visits);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (bool preserve : {true, false}) {
    ui::XmlMarkup xml(preserve);
    int visits = 0;
    if (xml.LoadFromBytes(data, size)) Walk(xml.Root(), visits);
  }
  return 0;
}
