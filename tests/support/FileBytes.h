// Writes and reads test files byte for byte.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <filesystem>

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
