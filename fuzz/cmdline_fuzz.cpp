// Fuzzes the option scanner: the input, split at NUL bytes, is the argument
// vector. Every mode of find_option and option_value must keep the
// invariants that hold for any vector.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cmdline/cmdline.h"
#include "fuzz/arguments.h"

namespace {

void check(bool ok, const char* what) {
  if (!ok) {
    fprintf(stderr, "invariant broken: %s\n", what);
    abort();
  }
}

// The match rule written out plainly: ASCII letters fold, nothing else does.
bool matches(const char* arg, int letter) {
  const int c = static_cast<unsigned char>(arg[1]);
  if (letter < 0) {
    return c == static_cast<unsigned char>(0u - static_cast<unsigned>(letter));
  }
  return ascii_fold(c) == ascii_fold(letter);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> texts = split_arguments("prog", data, size);
  const int argc = static_cast<int>(texts.size());
  // One extra entry past the vector must never be touched.
  std::vector<char*> argv;
  for (std::string& t : texts) {
    argv.push_back(t.data());
  }
  char sentinel[] = "sentinel";
  argv.push_back(sentinel);
  const std::vector<char*> before = argv;

  // Letters to look for: the usual ones, both signs, and bytes from the input.
  std::vector<int> letters = {'?', 'f', 'd', 'i', -'f', 'F', 0xE4, -0xE4, 'f' + 256, INT32_MIN};
  for (size_t i = 0; i < size && i < 4; ++i) {
    letters.push_back(data[i] == 0 ? 1 : data[i]);
    letters.push_back(-static_cast<int>(data[i]));
  }
  for (int letter : letters) {
    if (letter == 0) {
      continue;
    }
    const int found = find_option(argc, argv.data(), letter);
    check(argv == before, "a search moved arguments");
    int expected = 0;
    for (int i = 1; i < argc && expected == 0; ++i) {
      if (is_option(argv[i]) && matches(argv[i], letter)) {
        expected = i;
      }
    }
    check(found == expected, "search result");
    if (found != 0) {
      const char* arg = argv[found];
      const char* value = option_value(arg);
      const size_t length = strlen(arg);
      if (length < 2) {
        check(*value == '\0', "a lone '-' or '/' has the empty value");
      } else {
        check(value == arg + 2 || (value == arg + 3 && arg[2] == ':'), "one ':' skipped");
      }
    }
  }
  for (const std::string& t : texts) {
    const char* value = option_value(t.c_str());
    check(strlen(value) <= t.size(), "value within its argument");
  }

  std::vector<char*> plain;
  for (int i = 1; i < argc; ++i) {
    if (!is_option(argv[i])) {
      plain.push_back(argv[i]);
    }
  }
  const int n = find_option(argc, argv.data(), 0);
  check(n == (argc < 2 ? 0 : 1 + static_cast<int>(plain.size())), "compaction count");
  check(argv[0] == before[0] && argv[argc] == sentinel, "outside the vector unchanged");
  for (size_t i = 0; argc >= 2 && i < plain.size(); ++i) {
    check(argv[i + 1] == plain[i], "plain arguments in order at the front");
  }
  for (int i = n > 0 ? n : 1; i < argc; ++i) {
    check(argv[i] == before[i], "entries past the plain ones keep their pointers");
  }
  return 0;
}
