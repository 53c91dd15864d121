// Shared by the fuzzers: argument vectors made from fuzzer input, and the
// option rules written out plainly, as a model to check the tool against.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// `program`, then the input split at NUL bytes into arguments.
inline std::vector<std::string> split_arguments(const char* program, const uint8_t* data,
                                                size_t size) {
  std::vector<std::string> texts = {program, ""};
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      texts.emplace_back();
    } else {
      texts.back() += static_cast<char>(data[i]);
    }
  }
  return texts;
}

/// An option starts with '-' or '/'.
inline bool is_option(std::string_view arg) {
  return !arg.empty() && (arg[0] == '-' || arg[0] == '/');
}

/// Upper case for a to z only.
inline int ascii_fold(int c) {
  return (c >= 'a' && c <= 'z') ? c - 32 : c;
}
