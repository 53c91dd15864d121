#include "cmdline/cmdline.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

// An argument vector over copies of `args`, with argv[0] the program name.
struct Args {
  explicit Args(std::vector<std::string> args) : texts(std::move(args)) {
    texts.insert(texts.begin(), "prog");
    for (std::string& t : texts) {
      argv.push_back(t.data());
    }
  }
  int argc() const { return static_cast<int>(argv.size()); }
  std::vector<std::string> now() const { return {argv.begin(), argv.end()}; }

  std::vector<std::string> texts;
  std::vector<char*> argv;
};

struct SearchCase {
  std::vector<std::string> args;
  int letter;
  int expected;
};

TEST(FindOption, SearchReturnsIndexOfFirstMatch) {
  const SearchCase cases[] = {
      {{"a", "-F:x", "b"}, 'f', 2},
      {{"a", "-F:x", "b"}, -'f', 0},  // exact case
      {{"a", "-f:x", "b"}, -'f', 2},
      {{"a", "-f:x", "b"}, 'F', 2},
      {{"a", "/f:x", "-f:y"}, 'f', 2},  // the first match wins
      {{"a", "-?"}, '?', 2},
      {{"-format"}, 'f', 1},   // only the second character counts
      {{"f", "x-f"}, 'f', 0},  // plain arguments are never options
      {{"-", "/"}, 'f', 0},    // a lone '-' or '/' has the letter 0
      {{"-\xE4"}, 0xC4, 0},    // no case folding above 0x7F
      {{"-\xE4"}, 0xE4, 1},
      {{"-\xE4"}, -0xE4, 1},
      {{"-\xC4"}, 0xE4, 0},
      {{"-f"}, 'f' + 256, 0},  // no byte matches a letter beyond 0xFF
      {{"-d", "-i"}, 'i', 2},
      {{"-\x80"}, -128, 1},
      {{"a", "-"}, -256, 2},    // the low byte 0 is the letter of a lone '-'
      {{"-\x80"}, INT_MIN, 0},  // negating INT_MIN must stay defined
  };
  for (const SearchCase& c : cases) {
    Args a(c.args);
    const std::vector<std::string> before = a.now();
    EXPECT_EQ(c.expected, find_option(a.argc(), a.argv.data(), c.letter))
        << "letter " << c.letter << " in " << testing::PrintToString(c.args);
    EXPECT_EQ(before, a.now()) << "a search must not move arguments";
  }
}

TEST(FindOption, OnlyProgramNameGivesZeroInEveryMode) {
  Args a({});
  for (int letter : {int{'f'}, -'f', 0}) {
    EXPECT_EQ(0, find_option(a.argc(), a.argv.data(), letter)) << letter;
  }
  char* none[] = {nullptr};
  EXPECT_EQ(0, find_option(0, none, 0));
  EXPECT_EQ(0, find_option(0, none, 'f'));
}

struct CompactCase {
  std::vector<std::string> args;
  int expected;
  std::vector<std::string> after;  // the whole vector, argv[0] included
};

TEST(FindOption, CompactionMovesPlainArgumentsToTheFront) {
  const CompactCase cases[] = {
      {{"a", "-f:x", "b", "/?", "c"}, 4, {"prog", "a", "b", "c", "/?", "c"}},
      {{"-f:x", "-d:y"}, 1, {"prog", "-f:x", "-d:y"}},
      {{"-", "b"}, 2, {"prog", "b", "b"}},
      {{"", "-x", "z"}, 3, {"prog", "", "z", "z"}},  // the empty argument is plain
      {{"a", "b"}, 3, {"prog", "a", "b"}},
  };
  for (const CompactCase& c : cases) {
    Args a(c.args);
    EXPECT_EQ(c.expected, find_option(a.argc(), a.argv.data(), 0))
        << testing::PrintToString(c.args);
    EXPECT_EQ(c.after, a.now()) << testing::PrintToString(c.args);
  }
}

TEST(OptionValue, TextAfterLetterWithOneColonSkipped) {
  const struct {
    const char* arg;
    const char* value;
  } cases[] = {
      {"-f", ""},     {"-f:", ""}, {"-f::yy", ":yy"}, {"-dname", "name"}, {"/F:yy", "yy"},
      {"-fyy", "yy"}, {"-", ""},   {"", ""},          {"-f:a:b", "a:b"},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(c.value, option_value(c.arg)) << c.arg;
  }
  const char* arg = "-f:yy";
  EXPECT_EQ(arg + 3, option_value(arg)) << "the value points into the argument";
}

}  // namespace
