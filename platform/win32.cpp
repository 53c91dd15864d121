// The platform layer over the Windows kernel interface.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/platform.h"

namespace {

// The error of the call that just failed; never 0, so that a failure can
// never read as success.
int last_error() {
  const DWORD error = GetLastError();
  return error != 0 ? static_cast<int>(error) : ERROR_GEN_FAILURE;
}

}  // namespace

int get_local_time(SYSTEMTIME* out) {
  GetLocalTime(out);
  return 0;
}

int get_file_time(const char* path, SYSTEMTIME* out) {
  // Read access, while other openers may only read; the file is never read.
  const HANDLE file =
      CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return last_error();
  }
  FILETIME written{};
  SYSTEMTIME utc{};
  int error = 0;
  // FILETIME is in 100-nanosecond increments since 1601 UTC. It is broken
  // down in UTC first and then shifted by the zone rules at that date;
  // FileTimeToLocalFileTime would apply today's offset to every date.
  if (GetFileTime(file, nullptr, nullptr, &written) == 0 ||
      FileTimeToSystemTime(&written, &utc) == 0 ||
      SystemTimeToTzSpecificLocalTime(nullptr, &utc, out) == 0) {
    error = last_error();
  }
  CloseHandle(file);
  return error;
}

void set_stdout_binary() {
  // The C runtime's text mode would turn each LF of the usage text's CR LF
  // into another CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
}
