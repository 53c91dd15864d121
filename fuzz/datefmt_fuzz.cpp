// Fuzzes the formatter against a plain reference built from std::string and
// snprintf: 16 bytes of record, one byte of flags, then the pattern.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "datefmt/datefmt.h"

namespace {

struct Token {
  const char* text;
  int field;  // index of the 16-bit field
};
// The date tokens in processing order; fields as in SYSTEMTIME.
constexpr Token kTokens[] = {{"MO", 1}, {"WD", 2}, {"ss", 6}, {"mm", 5}, {"hh", 4},
                             {"dd", 3}, {"mo", 1}, {"yy", 0}, {"wd", 2}};
const char* const kMonths[] = {"",     "Jan ", "Feb ", "M\xE4rz", "Apr ", "Mai ", "Juni",
                               "Juli", "Aug ", "Sept", "Okt ",    "Nov ", "Dez "};
const char* const kWeekdays[] = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};

// The expected result, or false when it would not fit 99 bytes.
bool reference(const std::string& pattern, const uint16_t* fields, int flags, std::string* out) {
  std::string text = pattern;
  if (text.size() >= 100) {
    return false;
  }
  for (size_t k = 0; k < sizeof kTokens / sizeof *kTokens; ++k) {
    const size_t at = text.find(kTokens[k].text);
    if (at == std::string::npos) {
      continue;
    }
    int w = 1;
    while (at + static_cast<size_t>(w) < text.size() &&
           text[at + static_cast<size_t>(w)] == kTokens[k].text[1]) {
      ++w;
    }
    unsigned v = fields[kTokens[k].field];
    if ((flags & FMT_YEAR_RULE) != 0 && kTokens[k].field == 0) {
      if (w < 4 && v >= 1900) {
        v %= 100;
      } else if (w >= 4 && v < 1900) {
        v += 1900;
      }
    }
    char piece[256];
    if (k == 0) {
      snprintf(piece, sizeof piece, "%*.*s", w, w, v <= 12 ? kMonths[v] : "");
    } else if (k == 1) {
      snprintf(piece, sizeof piece, "%*.*s", w, w, v <= 6 ? kWeekdays[v] : "");
    } else {
      snprintf(piece, sizeof piece, "%*.*d", w, (flags & FMT_ZERO_PAD) != 0 ? w : 0,
               static_cast<int>(v));
    }
    text.replace(at, static_cast<size_t>(w), piece);
    if (text.size() >= 100) {
      return false;
    }
  }
  *out = text;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 17) {
    return 0;
  }
  SYSTEMTIME date;
  memcpy(&date, data, sizeof date);
  uint16_t fields[8];
  memcpy(fields, data, sizeof fields);
  const int flags = data[16] & 3;
  const std::string pattern(reinterpret_cast<const char*>(data + 17),
                            strnlen(reinterpret_cast<const char*>(data + 17), size - 17));

  std::string expected;
  const bool fits = reference(pattern, fields, flags, &expected);
  const char* got = format_date(pattern.c_str(), &date, flags);
  if ((got != nullptr) != fits) {
    fprintf(stderr, "refusal differs: got %s, expected %s\n", got ? "text" : "none",
            fits ? "text" : "none");
    abort();
  }
  if (got != nullptr && (strlen(got) >= 100 || expected != got)) {
    fprintf(stderr, "result differs:\n  got      [%s]\n  expected [%s]\n", got, expected.c_str());
    abort();
  }
  return 0;
}
