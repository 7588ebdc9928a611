// The largest skin file the framework reads: an XML file on disk, an archive entry, and a skin
// with its includes expanded.
#pragma once

#include <cstdint>

namespace ui {

constexpr uint32_t kMaxSkinFileBytes = 0x400000;  // 4 MiB; exactly 4 MiB is accepted

}  // namespace ui
