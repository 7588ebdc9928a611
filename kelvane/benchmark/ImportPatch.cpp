#include "ImportPatch.h"

#include <cstring>

bool PatchImport(const char* dll, WORD ordinal, const char* name, void* replacement,
                 void** original) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       entry->Name != 0; ++entry) {
    if (_stricmp(reinterpret_cast<char*>(base + entry->Name), dll) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      const bool byOrdinal = IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal);
      const bool match =
          byOrdinal ? ordinal != 0 && IMAGE_ORDINAL(names->u1.Ordinal) == ordinal
                    : name != nullptr &&
                          std::strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(
                                          base + names->u1.AddressOfData)->Name,
                                      name) == 0;
      if (!match) continue;
      DWORD protection = 0;
      VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &protection);
      *original = reinterpret_cast<void*>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof(void*), protection, &protection);
      return true;
    }
  }
  return false;
}
