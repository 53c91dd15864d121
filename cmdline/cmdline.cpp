#include "cmdline/cmdline.h"

namespace {

bool is_option(const char* arg) {
  return arg[0] == '-' || arg[0] == '/';
}

// Upper case for ASCII letters only: the comparison must not depend on the
// locale, and bytes above 0x7F stay as they are.
int ascii_upper(int c) {
  return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

int compact(int argc, char** argv) {
  int out = 1;
  for (int i = 1; i < argc; ++i) {
    if (!is_option(argv[i])) {
      argv[out++] = argv[i];
    }
  }
  return out;
}

}  // namespace

int find_option(int argc, char** argv, int letter) {
  if (argc < 2) {
    return 0;
  }
  if (letter == 0) {
    return compact(argc, argv);
  }
  const bool exact = letter < 0;
  // In exact mode the caller passes the negated byte; unsigned arithmetic
  // keeps the negation defined for every int.
  const int wanted =
      exact ? static_cast<unsigned char>(0U - static_cast<unsigned>(letter)) : ascii_upper(letter);
  for (int i = 1; i < argc; ++i) {
    if (!is_option(argv[i])) {
      continue;
    }
    const int c = static_cast<unsigned char>(argv[i][1]);
    if ((exact ? c : ascii_upper(c)) == wanted) {
      return i;
    }
  }
  return 0;
}

const char* option_value(const char* arg) {
  if (arg[0] == '\0' || arg[1] == '\0') {
    return "";
  }
  const char* value = arg + 2;
  return *value == ':' ? value + 1 : value;
}
