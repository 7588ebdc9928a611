#include "archive/ZipNameIndex.h"

namespace ui {
namespace {

std::string FoldAscii(std::string name) {
  for (char& c : name)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return name;
}

}  // namespace

void ZipNameIndex::Add(const std::string& name, uint32_t index) {
  if (name.size() <= kMaxNameBytes) entries_.emplace(FoldAscii(name), index);
}

std::optional<uint32_t> ZipNameIndex::Find(const std::string& name) const {
  if (name.size() > kMaxNameBytes) return std::nullopt;
  auto found = entries_.find(FoldAscii(name));
  if (found == entries_.end()) return std::nullopt;
  return found->second;
}

}  // namespace ui
