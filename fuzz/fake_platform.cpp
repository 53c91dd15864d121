// A platform layer whose clock and file times the fuzzer sets.
#include "fuzz/fake_platform.h"

#include "platform/platform.h"

FakePlatform fake_platform;

int get_local_time(SYSTEMTIME* out) {
  *out = fake_platform.clock;
  return fake_platform.clock_error;
}

int get_file_time(const char* path, SYSTEMTIME* out) {
  ++fake_platform.file_opens;
  fake_platform.last_path = path;
  *out = fake_platform.file_time;
  return fake_platform.file_error;
}

void set_stdout_binary() {}
