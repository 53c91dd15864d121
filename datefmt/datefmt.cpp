#include "datefmt/datefmt.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

char static_buffer[100];

// The ä of "März" is the single byte 0xE4 (Latin-1), written as an escape.
constexpr DateNames kDateNames = {
    {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"},
    {"", "Jan ", "Feb ", "M\xE4rz", "Apr ", "Mai ", "Juni", "Juli", "Aug ", "Sept", "Okt ", "Nov ",
     "Dez "},
};

static_assert(offsetof(SYSTEMTIME, wYear) == 0 && offsetof(SYSTEMTIME, wMonth) == 2 &&
                  offsetof(SYSTEMTIME, wDayOfWeek) == 4 && offsetof(SYSTEMTIME, wDay) == 6 &&
                  offsetof(SYSTEMTIME, wHour) == 8 && offsetof(SYSTEMTIME, wMinute) == 10 &&
                  offsetof(SYSTEMTIME, wSecond) == 12,
              "the date token table addresses SYSTEMTIME by these offsets");

// The order decides overlaps: names first, then the small units, so that in
// "wdd" the day is taken before the weekday number is looked for.
constexpr FormatToken kDateTokens[] = {
    {"MO", offsetof(SYSTEMTIME, wMonth)},      // name table 0: months
    {"WD", offsetof(SYSTEMTIME, wDayOfWeek)},  // name table 1: weekdays
    {"ss", offsetof(SYSTEMTIME, wSecond)},    {"mm", offsetof(SYSTEMTIME, wMinute)},
    {"hh", offsetof(SYSTEMTIME, wHour)},      {"dd", offsetof(SYSTEMTIME, wDay)},
    {"mo", offsetof(SYSTEMTIME, wMonth)},     {"yy", offsetof(SYSTEMTIME, wYear)},
    {"wd", offsetof(SYSTEMTIME, wDayOfWeek)}, {nullptr, 0},
};

struct NameTable {
  const char* const* names;
  unsigned count;
};

// Writes `count` blanks at `out`.
char* write_blanks(char* out, int count) {
  for (int i = 0; i < count; ++i) {
    *out++ = ' ';
  }
  return out;
}

// How many digits "%.*d" gives for v with precision p: at least p, and
// none at all for the value 0 with precision 0.
int digit_count(unsigned v, int p) {
  int n = 0;
  for (; v != 0; v /= 10) {
    ++n;
  }
  return n > p ? n : p;
}

// Writes v as `digits` digits (leading zeros), right-aligned with blanks in
// `length` bytes, which is as "%*.*d" lays it out.
void write_number(char* out, unsigned v, int length, int digits) {
  char* end = out + length;
  for (int i = 0; i < digits; ++i) {
    *--end = static_cast<char>('0' + v % 10);
    v /= 10;
  }
  write_blanks(out, length - digits);
}

// Writes `name` as "%*.*s" would with width and precision w: its first w
// bytes, right-aligned with blanks when it is shorter. Always w bytes.
void write_name(char* out, const char* name, int w) {
  const int len = static_cast<int>(strnlen(name, static_cast<size_t>(w)));
  memcpy(write_blanks(out, w - len), name, static_cast<size_t>(len));
}

// The year rule applied to v shown w characters wide.
unsigned apply_year_rule(unsigned v, int w) {
  if (w < 4 && v >= 1900) {
    return v % 100;
  }
  if (w >= 4 && v < 1900) {
    return v + 1900;
  }
  return v;
}

// The width of the token at `at`: its first character plus the run of its
// second.
int token_width(const char* at) {
  int w = 1;
  while (at[w] == at[1]) {
    ++w;
  }
  return w;
}

// Turns the w bytes of the token at `at` into room for `size` bytes, moving
// the rest of the text and its terminator. False when it would not fit.
bool resize_token(char* at, int w, int size, size_t* length) {
  const size_t tail = static_cast<size_t>(at - format_buffer) + static_cast<size_t>(w);
  const size_t new_length = *length - static_cast<size_t>(w) + static_cast<size_t>(size);
  if (new_length >= static_cast<size_t>(format_buffer_size)) {
    return false;
  }
  memmove(at + size, format_buffer + tail, *length - tail + 1);
  *length = new_length;
  return true;
}

}  // namespace

char* format_buffer = static_buffer;
int format_buffer_size = sizeof static_buffer;

const char* format_record(const char* pattern, const void* record, int flags,
                          const FormatToken* table, int key) {
  size_t length = strlen(pattern);
  if (length >= static_cast<size_t>(format_buffer_size)) {
    return nullptr;
  }
  memcpy(format_buffer, pattern, length + 1);

  NameTable name_tables[2] = {};
  get_name_tables(&name_tables[1].names, &name_tables[0].names);
  name_tables[0].count = sizeof kDateNames.month_names / sizeof *kDateNames.month_names;
  name_tables[1].count = sizeof kDateNames.weekday_names / sizeof *kDateNames.weekday_names;

  const auto* bytes = static_cast<const unsigned char*>(record);
  for (unsigned k = 0; table[k].token != nullptr; ++k) {
    const FormatToken& entry = table[k];
    char* at = strstr(format_buffer, entry.token);
    if (at == nullptr) {
      continue;
    }
    const int w = token_width(at);
    uint16_t field = 0;
    memcpy(&field, bytes + entry.offset, sizeof field);
    unsigned v = field;
    if ((flags & FMT_YEAR_RULE) != 0 && entry.offset == key) {
      v = apply_year_rule(v, w);
    }

    const bool is_name = entry.token[0] >= 'A' && entry.token[0] <= 'Z';
    const int digits = is_name ? 0 : digit_count(v, (flags & FMT_ZERO_PAD) != 0 ? w : 0);
    // A name is always w bytes and fits where the token stood; a number with
    // more digits than w is written whole and the rest of the text moves right.
    const int text_length = digits > w ? digits : w;
    if (!resize_token(at, w, text_length, &length)) {
      return nullptr;
    }
    if (is_name) {
      // An unknown table position or a value past the table shows as the
      // empty name: w blanks.
      const bool known = k < 2 && v < name_tables[k].count;
      write_name(at, known ? name_tables[k].names[v] : "", w);
    } else {
      write_number(at, v, text_length, digits);
    }
  }
  return format_buffer;
}

const char* format_date(const char* pattern, const SYSTEMTIME* date, int flags) {
  return format_record(pattern, date, flags, kDateTokens, offsetof(SYSTEMTIME, wYear));
}

void get_name_tables(const char* const** weekday_names, const char* const** month_names) {
  *weekday_names = kDateNames.weekday_names;
  *month_names = kDateNames.month_names;
}
