#include "datefmt/datefmt.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

SYSTEMTIME make_date(int year, int month, int weekday, int day, int hour = 0, int minute = 0,
                     int second = 0) {
  SYSTEMTIME d{};
  d.wYear = static_cast<uint16_t>(year);
  d.wMonth = static_cast<uint16_t>(month);
  d.wDayOfWeek = static_cast<uint16_t>(weekday);
  d.wDay = static_cast<uint16_t>(day);
  d.wHour = static_cast<uint16_t>(hour);
  d.wMinute = static_cast<uint16_t>(minute);
  d.wSecond = static_cast<uint16_t>(second);
  d.wMilliseconds = 999;
  return d;
}

// Wednesday, 5 March 2025, 07:08:09.
const SYSTEMTIME kMarch5 = make_date(2025, 3, 3, 5, 7, 8, 9);
constexpr int kFlags = FMT_ZERO_PAD | FMT_YEAR_RULE;

// The formatted text, or "<none>" when the formatter refuses.
std::string format(const char* pattern, const SYSTEMTIME& date, int flags = kFlags) {
  const char* text = format_date(pattern, &date, flags);
  return text == nullptr ? "<none>" : text;
}

struct Case {
  const char* pattern;
  SYSTEMTIME date;
  const char* expected;
};

TEST(FormatDate, PatternLanguage) {
  const SYSTEMTIME jan = make_date(2025, 1, 3, 1);
  const SYSTEMTIME sat = make_date(2025, 7, 6, 5);
  const SYSTEMTIME sun = make_date(2025, 7, 0, 6);
  const SYSTEMTIME dec = make_date(2025, 12, 3, 31, 23, 59, 7);
  const Case cases[] = {
      {"yymodd", kMarch5, "250305"},
      {"yyyy-mo-dd hh:mm:ss", kMarch5, "2025-03-05 07:08:09"},
      {"yymoddhhmmss", kMarch5, "250305070809"},
      {"Am dd.mo.yyyy um hh:mm", kMarch5, "Am 05.03.2025 um 07:08"},
      {"MOOO yyyy", kMarch5, "M\xE4rz 2025"},
      {"WD", kMarch5, "Mi"},
      {"WDDD", sun, "  So"},
      {"WDD.wd", sat, " Sa.06"},
      {"MO", jan, "Ja"},
      {"MOOO", jan, "Jan "},
      {"MOOOOO|", jan, "  Jan |"},
      {"MOMO", jan, "JaMO"},
      {"yyy", kMarch5, "025"},
      {"yyyyy", kMarch5, "02025"},
      {"yy", make_date(1999, 1, 5, 1), "99"},
      {"yy", make_date(99, 1, 5, 1), "99"},
      {"yyyy", make_date(99, 1, 5, 1), "1999"},
      {"yyyy", make_date(1850, 1, 5, 1), "3750"},
      {"dd.dd", kMarch5, "05.dd"},  // only the first occurrence
      {"wdd", sat, "w05"},          // "dd" is taken before "wd"
      {"mmo", kMarch5, "08o"},      // "mm" is taken before "mo"
      {"mooo", dec, "0012"},
      {"hhh:mm", dec, "023:59"},
      {"ssss", dec, "0007"},
      {"MO", make_date(2025, 0, 3, 5), "  "},
      // A replacement can form a later token: "De" of December after "W".
      {"WMO", make_date(2025, 12, 3, 10), "Mie"},
      {"WMOO|WD", make_date(2025, 12, 3, 10), "Miez|WD"},
      {"", kMarch5, ""},
      {"100% sicher: %s %d", kMarch5, "100% sicher: %s %d"},
      {"Y-M-D h:m:s", kMarch5, "Y-M-D h:m:s"},  // single letters are text
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, format(c.pattern, c.date)) << c.pattern;
  }
}

TEST(FormatDate, EveryMonthAndWeekdayName) {
  const char* months[] = {"Jan ", "Feb ", "M\xE4rz", "Apr ", "Mai ", "Juni",
                          "Juli", "Aug ", "Sept",    "Okt ", "Nov ", "Dez "};
  for (int m = 1; m <= 12; ++m) {
    EXPECT_EQ(months[m - 1], format("MOOO", make_date(2025, m, 1, 1))) << m;
  }
  const char* weekdays[] = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
  for (int d = 0; d <= 6; ++d) {
    EXPECT_EQ(weekdays[d], format("WD", make_date(2025, 1, d, 1))) << d;
  }
  const char* const* weekday_names = nullptr;
  const char* const* month_names = nullptr;
  get_name_tables(&weekday_names, &month_names);
  EXPECT_STREQ("So", weekday_names[0]);
  EXPECT_STREQ("", month_names[0]);
  EXPECT_STREQ("Dez ", month_names[12]);
}

TEST(FormatDate, FlagsChoosePaddingAndYearRule) {
  const SYSTEMTIME d = make_date(2025, 3, 3, 5, 0, 0, 0);
  const struct {
    int flags;
    const char* pattern;
    const char* expected;
  } cases[] = {
      {0, "dd hh", " 5   "},  // precision 0: the value 0 has no digits
      {FMT_ZERO_PAD, "dd hh", "05 00"},
      {FMT_ZERO_PAD, "yy", "2025"},  // no year rule: the whole year
      {FMT_YEAR_RULE, "yy", "25"},
      {FMT_YEAR_RULE, "yyyy", "2025"},
      {0, "yyy", "2025"},
      {kFlags, "yyy", "025"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, format(c.pattern, d, c.flags)) << c.flags << " " << c.pattern;
  }
}

// Numbers wider than their token are written whole; the rest of the text
// moves right instead of being overwritten.
TEST(FormatDate, WideNumberKeepsFollowingText) {
  const Case cases[] = {
      {"yy-mo", make_date(1850, 6, 0, 1), "1850-06"},
      {"yyy|dd", make_date(1601, 1, 1, 2), "1601|02"},
      {"yyyy-mo-dd", make_date(30827, 12, 4, 31), "30827-12-31"},
      {"[yy] [dd]", make_date(1899, 2, 0, 9), "[1899] [09]"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, format(c.pattern, c.date)) << c.pattern;
  }
}

TEST(FormatDate, NameValueBeyondTableIsBlank) {
  EXPECT_EQ("   |", format("MOO|", make_date(2025, 13, 3, 5)));
  EXPECT_EQ("    |", format("MOOO|", make_date(2025, 65535, 3, 5)));
  EXPECT_EQ("  |", format("WD|", make_date(2025, 3, 7, 5)));
}

TEST(FormatDate, BufferLimits) {
  const std::string plain99(99, 'x');
  EXPECT_EQ(plain99, format(plain99.c_str(), kMarch5));
  EXPECT_EQ("<none>", format(std::string(100, 'x').c_str(), kMarch5));
  EXPECT_EQ("<none>", format(std::string(120, 'y').c_str(), kMarch5));

  // A wide year grows the text by two bytes: 97 still fit, 98 do not.
  const SYSTEMTIME old = make_date(1850, 6, 0, 1);
  const std::string grows_to_99 = std::string(95, '.') + "yy";
  EXPECT_EQ(std::string(95, '.') + "1850", format(grows_to_99.c_str(), old));
  EXPECT_EQ("<none>", format((std::string(96, '.') + "yy").c_str(), old));

  // A token as wide as the buffer allows.
  const std::string wide = std::string(98, 'd') + "|";
  EXPECT_EQ(std::string(96, '0') + "05|", format(wide.c_str(), kMarch5));
}

// The generic engine over another record: numbers and names must come out
// exactly as "%*.*d" and "%*.*s" lay them out.
TEST(FormatRecord, MatchesPrintfLayout) {
  const FormatToken table[] = {{"NA", 2}, {"nu", 0}, {nullptr, 0}};
  const uint16_t values[] = {0, 1, 9, 10, 99, 100, 12345, 65535};
  for (uint16_t v : values) {
    for (int w = 2; w <= 7; ++w) {
      for (int flags : {0, FMT_ZERO_PAD}) {
        const uint16_t record[2] = {v, 1};
        const std::string pattern = "<n" + std::string(static_cast<size_t>(w - 1), 'u') + ">";
        char expected[32];
        snprintf(expected, sizeof expected, "<%*.*d>", w, flags != 0 ? w : 0, v);
        const char* got = format_record(pattern.c_str(), record, flags, table, -1);
        ASSERT_NE(nullptr, got);
        EXPECT_STREQ(expected, got) << "v=" << v << " w=" << w << " flags=" << flags;
      }
    }
  }
  for (int w = 2; w <= 6; ++w) {
    const uint16_t record[2] = {0, 3};  // name table 0 entry 3: "März"
    const std::string pattern = "N" + std::string(static_cast<size_t>(w - 1), 'A');
    char expected[32];
    snprintf(expected, sizeof expected, "%*.*s", w, w, "M\xE4rz");
    EXPECT_STREQ(expected, format_record(pattern.c_str(), record, 0, table, -1)) << w;
  }
}

TEST(FormatRecord, NameTokenWithoutNameTableIsBlank) {
  const FormatToken table[] = {{"aa", 0}, {"bb", 0}, {"XX", 0}, {nullptr, 0}};
  const uint16_t record[1] = {1};
  EXPECT_STREQ("[   ] 01", format_record("[XXX] aa", record, FMT_ZERO_PAD, table, -1));
}

// A later token may stand on bytes that only a replacement brought.
TEST(FormatRecord, TokenFormedByReplacementIsReplaced) {
  const FormatToken table[] = {{"MO", 0}, {"WD", 2}, {"an", 4}, {nullptr, 0}};
  const uint16_t record[3] = {1, 3, 7};  // January, Wednesday, 7
  EXPECT_STREQ("J07!", format_record("MOO!", record, FMT_ZERO_PAD, table, -1));
  EXPECT_STREQ("Ja|Mi", format_record("MO|WD", record, FMT_ZERO_PAD, table, -1));
  // The formed token comes before the one the pattern holds.
  EXPECT_STREQ("J07|an", format_record("MOO|an", record, FMT_ZERO_PAD, table, -1));
}

TEST(FormatRecord, EachCallOverwritesTheBuffer) {
  const char* first = format_date("yyyy", &kMarch5, kFlags);
  EXPECT_EQ(format_buffer, first);
  format_date("dd", &kMarch5, kFlags);
  EXPECT_STREQ("05", first);
}

}  // namespace
