// fields.cpp — FieldOf on any text, separator and field number. With one
// separator character and no space ending a field, it must follow the rule
// the score file is read by: the text trimmed, cut at every separator; a
// field past the last separator reads "-+-", except field 2 of a text
// without any, which is the whole text.
#include <vector>

#include "frame/draw.h"
#include "media/media.h"
#include "tests/fuzz/fuzz.h"

namespace {

std::string ExpectedField(const std::string& raw, char separator, int n) {
  std::string text = Trim(raw);
  std::vector<std::string> fields(1);
  for (char c : text) {
    if (c == separator) fields.emplace_back();
    else fields.back() += c;
  }
  if (n < 1) n = 1;
  if (size_t(n) <= fields.size()) return fields[size_t(n) - 1];
  return n == 2 ? text : "-+-";
}

}  // namespace

// Input: field number and flags, the separator (one or two bytes), then the text.
int FuzzFields(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  int n = int(data[0] & 15) - 1;  // -1 .. 14
  bool spaceEnds = data[0] & 16, twoBytes = data[0] & 32;
  size_t separatorBytes = twoBytes && size >= 3 ? 2 : 1;
  std::string separator(reinterpret_cast<const char*>(data) + 1, separatorBytes);
  std::string text(reinterpret_cast<const char*>(data) + 1 + separatorBytes, size - 1 - separatorBytes);
  std::string field = FieldOf(text, separator, n, spaceEnds ? 1 : 0);
  FUZZ_CHECK(field == "-+-" || Trim(text).find(field) != std::string::npos, "a field that is not part of the text");
  if (separatorBytes == 1 && !spaceEnds)
    FUZZ_CHECK(field == ExpectedField(text, separator[0], n),
               "field " + std::to_string(n) + " of \"" + text + "\" is \"" + field + "\"");
  return 0;
}
