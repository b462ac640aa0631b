// text.cpp — byte-string helpers and degree trigonometry.
//
// Characters are bytes and positions are 1-based, as the program's text
// handling counts them. Nothing here throws: out-of-range positions and
// lengths are clipped.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "media/core.h"

std::string Mid(const std::string& s, int pos, int len) {
  int64_t size = int64_t(s.size());
  int64_t start = pos, count = len;
  if (count < 0) count = size;
  if (start < 1) {  // characters before position 1 count but do not exist
    count += start - 1;
    start = 1;
  }
  if (start > size || count <= 0) return "";
  return s.substr(size_t(start - 1), size_t(std::min(count, size - start + 1)));
}

int Instr(const std::string& s, const std::string& find, int start) {
  if (start < 1) start = 1;
  if (size_t(start - 1) > s.size()) return 0;
  size_t at = s.find(find, size_t(start - 1));
  return at == std::string::npos ? 0 : int(at) + 1;
}

std::string Left(const std::string& s, int n) {
  if (n <= 0) return "";
  return s.substr(0, size_t(n));
}

std::string Right(const std::string& s, int n) {
  if (n <= 0) return "";
  if (size_t(n) >= s.size()) return s;
  return s.substr(s.size() - size_t(n));
}

std::string Replace(const std::string& s, const std::string& from, const std::string& to) {
  if (from.empty()) return s;
  std::string out;
  size_t at = 0;
  for (size_t hit; (hit = s.find(from, at)) != std::string::npos; at = hit + from.size())
    out.append(s, at, hit - at).append(to);
  return out.append(s, at, std::string::npos);
}

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && (unsigned char)s[a] < 33) a++;
  while (b > a && (unsigned char)s[b - 1] < 33) b--;
  return s.substr(a, b - a);
}

std::string Upper(const std::string& s) {
  std::string out = s;
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = char(c - 32);
  return out;
}

std::string Lower(const std::string& s) {
  std::string out = s;
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c + 32);
  return out;
}

std::string Chr(int code) { return std::string(1, char(code & 255)); }

int Asc(const std::string& s) { return s.empty() ? -1 : (unsigned char)s[0]; }

// Unsigned accumulation so that over-long digit strings wrap instead of
// overflowing a signed integer.
static uint64_t ParseInteger(const std::string& s) {
  size_t i = 0, n = s.size();
  while (i < n && (unsigned char)s[i] < 33) i++;
  bool negative = false;
  if (i < n && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  unsigned base = 10;
  if (i < n && s[i] == '%') base = 2, i++;
  else if (i < n && s[i] == '$') base = 16, i++;
  uint64_t value = 0;
  for (; i < n; i++) {
    char c = s[i];
    unsigned digit;
    if (c >= '0' && c <= '9') digit = unsigned(c - '0');
    else if (c >= 'a' && c <= 'f') digit = unsigned(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F') digit = unsigned(c - 'A' + 10);
    else break;
    if (digit >= base) break;
    value = value * base + digit;
  }
  return negative ? 0 - value : value;
}

int32_t ToInt(const std::string& s) { return int32_t(uint32_t(ParseInteger(s))); }
int64_t ToLong(const std::string& s) { return int64_t(ParseInteger(s)); }

float SinDeg(float degrees) { return float(std::sin(double(degrees) * (M_PI / 180.0))); }
float CosDeg(float degrees) { return float(std::cos(double(degrees) * (M_PI / 180.0))); }
