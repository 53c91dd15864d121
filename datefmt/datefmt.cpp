#include "datefmt/datefmt.h"

#include <algorithm>
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
// none at all for the value 0 with precision 0. A field, even raised by the
// year rule, stays below 100000.
int digit_count(unsigned v, int p) {
  const int n = v == 0 ? 0 : v < 10 ? 1 : v < 100 ? 2 : v < 1000 ? 3 : v < 10000 ? 4 : 5;
  return n > p ? n : p;
}

// Writes v as `digits` digits (leading zeros), right-aligned with blanks in
// `length` bytes, which is as "%*.*d" lays it out.
void write_number(char* out, unsigned v, int length, int digits) {
  // Two digits a step, from a table of the pairs 00 to 99.
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char* end = out + length;
  int left = digits;
  for (; left >= 2; left -= 2) {
    const unsigned pair = (v % 100) * 2;
    v /= 100;
    *--end = kPairs[pair + 1];
    *--end = kPairs[pair];
  }
  if (left == 1) {
    *--end = static_cast<char>('0' + v % 10);
  }
  write_blanks(out, length - digits);
}

// Writes `name` as "%*.*s" would with width and precision w: its first w
// bytes, right-aligned with blanks when it is shorter. Always w bytes.
void write_name(char* out, const char* name, int w) {
  int len = 0;
  while (len < w && name[len] != '\0') {
    ++len;
  }
  out = write_blanks(out, w - len);
  for (int i = 0; i < len; ++i) {
    out[i] = name[i];
  }
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

// The value that a token w wide shows: the record's 16-bit field at
// `offset`, under the year rule when the flags ask for it there.
unsigned field_value(const void* record, int offset, int w, int flags, int key) {
  uint16_t field = 0;
  memcpy(&field, static_cast<const unsigned char*>(record) + offset, sizeof field);
  const bool year = (flags & FMT_YEAR_RULE) != 0 && offset == key;
  return year ? apply_year_rule(field, w) : field;
}

// The first occurrence of the two-character `token` in the `length` bytes
// at `text`, or null.
char* find_token(char* text, size_t length, const char* token) {
  const char first = token[0];
  const char second = token[1];
  for (size_t i = 0; i + 1 < length; ++i) {
    if (text[i] == first && text[i + 1] == second) {
      return text + i;
    }
  }
  return nullptr;
}

// A set of byte values, as 128 bits (a byte above 0x7F shares the bit of
// the byte 0x80 below it, which only makes the set larger). Two words rather
// than an array keep it in registers.
struct ByteSet {
  uint64_t low;   // bytes 0x00-0x3F
  uint64_t high;  // bytes 0x40-0x7F
};

constexpr void add_byte(ByteSet* set, char c) {
  const auto b = static_cast<unsigned char>(c);
  const uint64_t bit = uint64_t{1} << (b & 63);
  if ((b & 64) != 0) {
    set->high |= bit;
  } else {
    set->low |= bit;
  }
}

constexpr void add_bytes(ByteSet* set, const char* text) {
  for (; *text != '\0'; ++text) {
    add_byte(set, *text);
  }
}

bool has_byte(const ByteSet& set, char c) {
  const auto b = static_cast<unsigned char>(c);
  return (((b & 64) != 0 ? set.high : set.low) >> (b & 63) & 1) != 0;
}

void add_set(ByteSet* set, const ByteSet& more) {
  set->low |= more.low;
  set->high |= more.high;
}

// What a number may bring into the text: blanks and digits.
constexpr ByteSet number_bytes() {
  ByteSet set = {};
  add_bytes(&set, " 0123456789");
  return set;
}
constexpr ByteSet kNumberBytes = number_bytes();

// What a name may bring into the text: blanks and the bytes of all names.
constexpr ByteSet name_bytes() {
  ByteSet set = {};
  add_bytes(&set, " ");
  for (const char* name : kDateNames.weekday_names) {
    add_bytes(&set, name);
  }
  for (const char* name : kDateNames.month_names) {
    add_bytes(&set, name);
  }
  return set;
}
constexpr ByteSet kNameBytes = name_bytes();

// The first place of each byte in the pattern, or an earlier one, for where
// a token's search may start. A byte above 0x7F shares a slot with the byte
// 0x80 below it, and places beyond 254 are kept as 254: both can only make a
// place earlier than it is.
struct FirstPlaces {
  uint8_t place[128];  // kAbsent where the pattern has no such byte
};
constexpr uint8_t kAbsent = 0xFF;

void find_first_places(const char* pattern, size_t length, FirstPlaces* places) {
  memset(places->place, kAbsent, sizeof places->place);
  for (size_t i = length; i-- > 0;) {
    places->place[static_cast<unsigned char>(pattern[i]) & 127] =
        static_cast<uint8_t>(std::min<size_t>(i, kAbsent - 1));
  }
}

// Where the search for a token with the first character `first` may start,
// or kNowhere when the token cannot stand in the text. The text before
// `clean` is still the pattern's, so there the token cannot start before the
// pattern's first byte equal to `first`; without such a byte it can only
// stand where a replacement brought one.
constexpr size_t kNowhere = SIZE_MAX;
size_t search_start(const FirstPlaces& places, size_t clean, const ByteSet& brought, char first) {
  const uint8_t place = places.place[static_cast<unsigned char>(first) & 127];
  if (place != kAbsent) {
    return std::min(clean, size_t{place});
  }
  return has_byte(brought, first) ? clean : kNowhere;
}

// The width of the token at `at`: its first character plus the run of its
// second.
int token_width(const char* at) {
  const char second = at[1];
  int w = 2;
  while (at[w] == second) {
    ++w;
  }
  return w;
}

// Turns the w bytes of the token at `at` in the text `buffer` into room for
// `size` bytes, moving the rest of the text and its terminator. False when
// the text would not fit `capacity`.
bool resize_token(char* buffer, size_t capacity, char* at, int w, int size, size_t* length) {
  if (size == w) {
    return true;
  }
  const size_t tail = static_cast<size_t>(at - buffer) + static_cast<size_t>(w);
  const size_t new_length = *length - static_cast<size_t>(w) + static_cast<size_t>(size);
  if (new_length >= capacity) {
    return false;
  }
  memmove(at + size, buffer + tail, *length - tail + 1);
  *length = new_length;
  return true;
}

}  // namespace

char* format_buffer = static_buffer;
int format_buffer_size = sizeof static_buffer;

const char* format_record(const char* pattern, const void* record, int flags,
                          const FormatToken* table, int key) {
  // Locals, since every byte written through a char pointer could otherwise
  // change the buffer's globals as far as the compiler knows.
  char* const buffer = format_buffer;
  const auto capacity = static_cast<size_t>(format_buffer_size);

  size_t length = strlen(pattern);
  if (length >= capacity) {
    return nullptr;
  }
  memcpy(buffer, pattern, length + 1);
  FirstPlaces places;
  find_first_places(pattern, length, &places);
  // The text before `clean` is still the pattern's; everything after it may
  // hold bytes that replacements brought, all of them in `brought`.
  size_t clean = length;
  ByteSet brought = {};

  NameTable name_tables[2] = {};
  get_name_tables(&name_tables[1].names, &name_tables[0].names);
  name_tables[0].count = sizeof kDateNames.month_names / sizeof *kDateNames.month_names;
  name_tables[1].count = sizeof kDateNames.weekday_names / sizeof *kDateNames.weekday_names;

  for (unsigned k = 0; table[k].token != nullptr; ++k) {
    const FormatToken entry = table[k];
    const size_t start = search_start(places, clean, brought, entry.token[0]);
    if (start == kNowhere) {
      continue;
    }
    char* at = find_token(buffer + start, length - start, entry.token);
    if (at == nullptr) {
      continue;
    }
    clean = std::min(clean, static_cast<size_t>(at - buffer));
    const int w = token_width(at);
    const unsigned v = field_value(record, entry.offset, w, flags, key);

    const bool is_name = entry.token[0] >= 'A' && entry.token[0] <= 'Z';
    const int digits = is_name ? 0 : digit_count(v, (flags & FMT_ZERO_PAD) != 0 ? w : 0);
    // A name is always w bytes and fits where the token stood; a number with
    // more digits than w is written whole and the rest of the text moves right.
    const int text_length = digits > w ? digits : w;
    if (!resize_token(buffer, capacity, at, w, text_length, &length)) {
      return nullptr;
    }
    if (is_name) {
      // An unknown table position or a value past the table shows as the
      // empty name: w blanks.
      const bool known = k < 2 && v < name_tables[k].count;
      write_name(at, known ? name_tables[k].names[v] : "", w);
      add_set(&brought, kNameBytes);
    } else {
      write_number(at, v, text_length, digits);
      add_set(&brought, kNumberBytes);
    }
  }
  return buffer;
}

const char* format_date(const char* pattern, const SYSTEMTIME* date, int flags) {
  return format_record(pattern, date, flags, kDateTokens, offsetof(SYSTEMTIME, wYear));
}

void get_name_tables(const char* const** weekday_names, const char* const** month_names) {
  *weekday_names = kDateNames.weekday_names;
  *month_names = kDateNames.month_names;
}
