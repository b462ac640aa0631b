// numbers.cpp — ToInt and ToLong on any text, against the rule as written:
// leading bytes below 33 skipped, an optional sign, then decimal digits, or
// binary after "%", or hexadecimal after "$", up to the first other
// character; no digits give 0; the value wraps modulo 2^64 (2^32).
#include <cctype>
#include <cstring>

#include "media/media.h"
#include "tests/fuzz/fuzz.h"

namespace {

uint64_t Expected(const std::string& s) {
  size_t i = 0;
  while (i < s.size() && uint8_t(s[i]) <= ' ') i++;
  bool negative = i < s.size() && s[i] == '-';
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) i++;
  int base = 10;
  if (i < s.size() && s[i] == '%') base = 2, i++;
  else if (i < s.size() && s[i] == '$') base = 16, i++;
  static const char Digits[] = "0123456789abcdef";
  unsigned __int128 value = 0;
  for (; i < s.size(); i++) {
    const char* at = std::strchr(Digits, std::tolower(uint8_t(s[i])));
    if (!at || at - Digits >= base) break;
    value = (value * unsigned(base) + unsigned(at - Digits)) % ((unsigned __int128)1 << 64);
  }
  return negative ? 0 - uint64_t(value) : uint64_t(value);
}

}  // namespace

int FuzzNumbers(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  uint64_t expected = Expected(text);
  FUZZ_CHECK(ToLong(text) == int64_t(expected), "ToLong(\"" + text + "\") is " + std::to_string(ToLong(text)));
  FUZZ_CHECK(ToInt(text) == int32_t(uint32_t(expected)), "ToInt(\"" + text + "\") is " + std::to_string(ToInt(text)));
  return 0;
}
