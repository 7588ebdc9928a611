#include "text/Utf8.h"

#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace ui {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr bool kUtf16 = sizeof(wchar_t) == 2;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

wchar_t* PutCodePoint(char32_t c, wchar_t* out) {
  if (kUtf16 && c >= 0x10000) {
    c -= 0x10000;
    *out++ = static_cast<wchar_t>(0xD800 + (c >> 10));
    *out++ = static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
  } else {
    *out++ = static_cast<wchar_t>(c);
  }
  return out;
}

#ifdef __SSE2__
// Sixteen ASCII bytes to sixteen wide characters.
wchar_t* WidenAscii(__m128i block, wchar_t* out) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i halves[2] = {_mm_unpacklo_epi8(block, zero), _mm_unpackhi_epi8(block, zero)};
  auto* target = reinterpret_cast<__m128i*>(out);
  for (const __m128i& half : halves) {
    if constexpr (kUtf16) {
      _mm_storeu_si128(target++, half);
    } else {
      _mm_storeu_si128(target++, _mm_unpacklo_epi16(half, zero));
      _mm_storeu_si128(target++, _mm_unpackhi_epi16(half, zero));
    }
  }
  return out + 16;
}
#endif

// The lead byte's payload, how many continuation bytes follow and the range the first of them
// must fall in (which rules out overlong forms, surrogates and values above U+10FFFF).
struct Lead {
  char32_t bits;
  int continuations;
  uint8_t low, high;
};

bool ReadLead(uint8_t c, Lead& lead) {
  if (c >= 0xC2 && c <= 0xDF) lead = {c & 0x1Fu, 1, 0x80, 0xBF};
  else if (c >= 0xE0 && c <= 0xEF)
    lead = {c & 0x0Fu, 2, uint8_t(c == 0xE0 ? 0xA0 : 0x80), uint8_t(c == 0xED ? 0x9F : 0xBF)};
  else if (c >= 0xF0 && c <= 0xF4)
    lead = {c & 0x07u, 3, uint8_t(c == 0xF0 ? 0x90 : 0x80), uint8_t(c == 0xF4 ? 0x8F : 0xBF)};
  else
    return false;
  return true;
}

void PutUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

size_t DecodeUtf8(const char* bytes, size_t count, wchar_t* out) {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(bytes);
  const uint8_t* const end = p + count;
  wchar_t* const start = out;
  while (p < end) {
#ifdef __SSE2__
    // Runs of ASCII, sixteen bytes at a time.
    while (end - p >= 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      if (_mm_movemask_epi8(block) != 0) break;
      out = WidenAscii(block, out);
      p += 16;
    }
    if (p == end) break;
#endif
    if (*p < 0x80) {
      *out++ = static_cast<wchar_t>(*p++);
      continue;
    }
    Lead lead;
    if (!ReadLead(*p++, lead)) {
      *out++ = static_cast<wchar_t>(kReplacement);
      continue;
    }
    char32_t c = lead.bits;
    int read = 0;
    for (; read < lead.continuations && p < end && *p >= lead.low && *p <= lead.high; ++read) {
      c = (c << 6) | (*p++ & 0x3F);
      lead.low = 0x80;
      lead.high = 0xBF;
    }
    out = PutCodePoint(read == lead.continuations ? c : kReplacement, out);
  }
  return static_cast<size_t>(out - start);
}

std::wstring Utf8BytesToWide(const char* bytes, size_t count) {
  std::wstring wide(count, L'\0');
  wide.resize(DecodeUtf8(bytes, count, wide.data()));
  return wide;
}

std::string WideToUtf8Bytes(const std::wstring& text) {
  std::string utf8;
  utf8.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if (kUtf16 && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
    } else if (IsSurrogate(c) || c > 0x10FFFF) {
      c = kReplacement;
    }
    PutUtf8(c, utf8);
  }
  return utf8;
}

}  // namespace ui
