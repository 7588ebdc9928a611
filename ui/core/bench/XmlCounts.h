// What a benchmark walk over a loaded XML tree saw: elements, attributes, and the characters
// of every element name, attribute name and value, read in full.
#pragma once

#include <cstddef>
#include <cstdint>

struct XmlCounts {
  size_t elements = 0;
  size_t attributes = 0;
  size_t characters = 0;
  uint64_t checksum = 0;  // sum of the character codes

  template <typename Char>
  void Read(const Char* text) {
    for (; *text; ++text) {
      ++characters;
      checksum += static_cast<uint32_t>(*text);
    }
  }
  bool SameTree(const XmlCounts& other) const {
    return elements == other.elements && attributes == other.attributes;
  }
  bool SameText(const XmlCounts& other) const {
    return SameTree(other) && characters == other.characters && checksum == other.checksum;
  }
};

// Reads a pugixml tree in either of its character modes; `element` is its node_element.
template <typename Node, typename NodeType>
void ReadPugixml(const Node& parent, NodeType element, XmlCounts& counts) {
  for (auto node = parent.first_child(); node; node = node.next_sibling()) {
    if (node.type() != element) continue;
    ++counts.elements;
    counts.Read(node.name());
    for (const auto& attribute : node.attributes()) {
      ++counts.attributes;
      counts.Read(attribute.name());
      counts.Read(attribute.value());
    }
    ReadPugixml(node, element, counts);
  }
}
