// Fuzzes one whole run over a fake platform: 16 bytes of clock, 16 of file
// time, a byte choosing the platform's errors, then the arguments split at
// NUL bytes. Status and output must be exactly what a plain model of the
// command line predicts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/tidra.h"
#include "datefmt/datefmt.h"
#include "fuzz/arguments.h"
#include "fuzz/fake_platform.h"

namespace {

struct Outcome {
  int status;
  std::string output;
};

// Runs tidra_main over copies of `texts`.
Outcome run(std::vector<std::string> texts) {
  std::vector<char*> argv;
  for (std::string& t : texts) {
    argv.push_back(t.data());
  }
  argv.push_back(nullptr);
  char* buffer = nullptr;
  size_t length = 0;
  FILE* out = open_memstream(&buffer, &length);
  Outcome o;
  o.status = tidra_main(static_cast<int>(texts.size()), argv.data(), out);
  fclose(out);
  o.output.assign(buffer, length);
  free(buffer);
  return o;
}

// The first option with `letter`, ASCII case ignored; null when none.
const std::string* first_option(const std::vector<std::string>& texts, int letter) {
  for (size_t i = 1; i < texts.size(); ++i) {
    if (is_option(texts[i]) &&
        ascii_fold(static_cast<unsigned char>(texts[i][1])) == ascii_fold(letter)) {
      return &texts[i];
    }
  }
  return nullptr;
}

std::string value_of(const std::string& arg) {
  std::string v = arg.size() >= 2 ? arg.substr(2) : "";
  return !v.empty() && v[0] == ':' ? v.substr(1) : v;
}

// One strtok call's effect: end the text at the first separator after the
// separators it starts with.
void cut(std::string* text, const std::string& separators) {
  const size_t start = text->find_first_not_of(separators);
  if (start == std::string::npos) {
    return;
  }
  const size_t end = text->find_first_of(separators, start);
  if (end != std::string::npos) {
    text->resize(end);
  }
}

// -?, or -d or -i with an empty value.
bool asks_usage(const std::vector<std::string>& texts) {
  const std::string* d = first_option(texts, 'd');
  const std::string* i = first_option(texts, 'i');
  return first_option(texts, '?') != nullptr || (d != nullptr && value_of(*d).empty()) ||
         (i != nullptr && value_of(*i).empty());
}

Outcome predict(const std::vector<std::string>& texts, const std::string& usage) {
  if (asks_usage(texts)) {
    return {1, usage};
  }
  const std::string* f = first_option(texts, 'f');
  const std::string* d = first_option(texts, 'd');
  const std::string* i = first_option(texts, 'i');
  std::vector<std::string> plain;
  for (size_t k = 1; k < texts.size(); ++k) {
    if (!is_option(texts[k])) {
      plain.push_back(texts[k]);
    }
  }
  plain.resize(plain.size() < 2 ? 2 : plain.size());
  std::string text1 = plain[0], text2 = plain[1];
  if (i != nullptr) {
    cut(&text1, value_of(*i));
    cut(&text2, value_of(*i));
  }
  SYSTEMTIME date = fake_platform.clock;
  if (d != nullptr) {
    if (fake_platform.file_error != 0) {
      return {2, "File Error " + std::to_string(fake_platform.file_error)};
    }
    date = fake_platform.file_time;
  } else if (fake_platform.clock_error != 0) {
    return {3, ""};
  }
  const std::string pattern = f != nullptr ? value_of(*f) : "yymodd";
  // The formatter is checked on its own by its fuzzer; here it is the oracle.
  const char* formatted = format_date(pattern.c_str(), &date, FMT_ZERO_PAD | FMT_YEAR_RULE);
  if (formatted == nullptr) {
    return {1, usage};
  }
  return {0, text1 + formatted + text2};
}

void fail(const char* what, const Outcome& got, const Outcome& expected) {
  fprintf(stderr, "%s: got status %d [%s], expected status %d [%s]\n", what, got.status,
          got.output.c_str(), expected.status, expected.output.c_str());
  abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 33) {
    return 0;
  }
  static const std::string usage = run({"tidra", "-?"}).output;

  fake_platform = {};
  memcpy(&fake_platform.clock, data, 16);
  memcpy(&fake_platform.file_time, data + 16, 16);
  fake_platform.clock_error = (data[32] & 1) != 0 ? 75 : 0;
  fake_platform.file_error = (data[32] & 2) != 0 ? data[32] * 1000 - 7 : 0;

  const std::vector<std::string> texts = split_arguments("tidra", data + 33, size - 33);

  const Outcome got = run(texts);
  const int opens = fake_platform.file_opens;
  const std::string path = fake_platform.last_path;
  const Outcome expected = predict(texts, usage);
  if (got.status != expected.status || got.output != expected.output) {
    fail("outcome", got, expected);
  }
  const std::string* d = first_option(texts, 'd');
  const bool file_asked = d != nullptr && !asks_usage(texts);
  if (opens != (file_asked ? 1 : 0) || (opens == 1 && path != value_of(*d))) {
    fail("file opened wrongly", got, expected);
  }
  return 0;
}
