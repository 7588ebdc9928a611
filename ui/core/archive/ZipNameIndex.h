// The entries of a central directory by name: ASCII letters match in any case, the first entry
// of a name wins, names of more than 255 bytes are never found.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

namespace ui {

class ZipNameIndex {
 public:
  static constexpr size_t kMaxNameBytes = 255;  // a name must fit 256 bytes with its terminator

  void Add(const std::string& name, uint32_t index);
  std::optional<uint32_t> Find(const std::string& name) const;

 private:
  std::unordered_map<std::string, uint32_t> entries_;
};

}  // namespace ui
