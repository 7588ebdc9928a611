#pragma once

namespace base {

// Parses [first, last) as a decimal int. True only for an optional sign followed by
// digits and nothing else; leading white space is skipped but makes the result false.
// *value gets what was parsed, clamped to the int range on overflow.
bool StringToInt(const wchar_t* first, const wchar_t* last, int* value);

}  // namespace base
