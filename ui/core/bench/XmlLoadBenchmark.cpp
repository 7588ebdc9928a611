// Loads one skin file with the framework's XML parser and with pugixml, checks that both see
// the same elements and attributes, and prints the time of each and their ratio.
//   ui_xml_benchmark FILE [ROUNDS]
#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "markup/XmlMarkup.h"
#include "text/Utf8.h"

namespace {

struct Counts {
  size_t elements = 0;
  size_t attributes = 0;
  size_t text_length = 0;  // attribute values, so that every value is read
  bool operator==(const Counts& other) const {
    return elements == other.elements && attributes == other.attributes;
  }
};

void Count(ui::XmlNode node, Counts& counts) {
  for (; node.IsValid(); node = node.NextSibling()) {
    ++counts.elements;
    const int attributes = static_cast<int>(node.AttributeCount());
    counts.attributes += attributes;
    for (int i = 0; i < attributes; ++i) counts.text_length += *node.AttributeValue(i) != 0;
    Count(node.FirstChild(), counts);
  }
}

void Count(const pugi::xml_node& parent, Counts& counts) {
  for (pugi::xml_node node = parent.first_child(); node; node = node.next_sibling()) {
    if (node.type() != pugi::node_element) continue;
    ++counts.elements;
    for (pugi::xml_attribute attribute : node.attributes()) {
      ++counts.attributes;
      counts.text_length += *attribute.value() != 0;
    }
    Count(node, counts);
  }
}

// Times `ours` and `peer` in alternation, `rounds` times; the best of each, in microseconds per
// call, so that other load on the machine spoils as little as possible.
template <typename Ours, typename Peer>
std::pair<double, double> BestMicroseconds(int rounds, Ours ours, Peer peer) {
  constexpr int kCalls = 5;
  auto time = [](auto& load) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) load();
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / kCalls;
  };
  std::pair<double, double> best{1e300, 1e300};
  for (int round = 0; round < rounds; ++round) {
    best.first = std::min(best.first, time(ours));
    best.second = std::min(best.second, time(peer));
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE [ROUNDS]\n", argv[0]);
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());

  Counts ours, peer;
  {
    ui::XmlMarkup xml;
    pugi::xml_document document;
    if (!xml.LoadFromBytes(data, bytes.size()) || !document.load_buffer(bytes.data(), bytes.size())) {
      std::fprintf(stderr, "%s: does not load (%ls)\n", argv[1], xml.GetLastErrorMessage());
      return 1;
    }
    Count(xml.Root(), ours);
    Count(document, peer);
  }
  std::printf("%s: %zu bytes, %zu elements, %zu attributes\n", argv[1], bytes.size(),
              ours.elements, ours.attributes);
  if (!(ours == peer)) {
    std::fprintf(stderr, "pugixml sees %zu elements, %zu attributes\n", peer.elements,
                 peer.attributes);
    return 1;
  }

  auto load = [&] {
    ui::XmlMarkup xml;
    xml.LoadFromBytes(data, bytes.size());
  };
  auto peer_load = [&] {
    pugi::xml_document document;
    document.load_buffer(bytes.data(), bytes.size());
  };
  const std::wstring wide = ui::Utf8BytesToWide(bytes.data(), bytes.size());
  auto wide_load = [&] {
    ui::XmlMarkup xml;
    xml.LoadFromString(wide.c_str());
  };
  auto walk = [&] {
    ui::XmlMarkup xml;
    xml.LoadFromBytes(data, bytes.size());
    Counts counts;
    Count(xml.Root(), counts);
  };
  auto peer_walk = [&] {
    pugi::xml_document document;
    document.load_buffer(bytes.data(), bytes.size());
    Counts counts;
    Count(document, counts);
  };
  const auto [load_us, peer_load_us] = BestMicroseconds(rounds, load, peer_load);
  const auto [wide_us, peer_wide_us] = BestMicroseconds(rounds, wide_load, peer_load);
  const auto [walk_us, peer_walk_us] = BestMicroseconds(rounds, walk, peer_walk);
  std::printf("load (bytes to tree):          %6.0f us, pugixml %6.0f us, speed %.2fx pugixml\n",
              load_us, peer_load_us, peer_load_us / load_us);
  std::printf("load of text already wide:     %6.0f us, pugixml %6.0f us, speed %.2fx pugixml\n",
              wide_us, peer_wide_us, peer_wide_us / wide_us);
  std::printf("load and read every attribute: %6.0f us, pugixml %6.0f us, speed %.2fx pugixml\n",
              walk_us, peer_walk_us, peer_walk_us / walk_us);
  return 0;
}
