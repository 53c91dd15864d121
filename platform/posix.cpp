// The platform layer over POSIX: clock_gettime, localtime_r and fstat.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/platform.h"

namespace {

// The years a SYSTEMTIME may hold: the range of the Windows file time
// conversion, so that both platforms accept and refuse the same dates.
constexpr long kFirstYear = 1601;
constexpr long kLastYear = 30827;

// Breaks `ts` down into local time. Returns 0 or an errno value.
int to_local_record(const timespec& ts, SYSTEMTIME* out) {
  tm t{};
  if (localtime_r(&ts.tv_sec, &t) == nullptr) {
    return errno != 0 ? errno : EOVERFLOW;
  }
  const long year = 1900L + t.tm_year;
  if (year < kFirstYear || year > kLastYear) {
    return EOVERFLOW;
  }
  out->wYear = static_cast<uint16_t>(year);
  out->wMonth = static_cast<uint16_t>(t.tm_mon + 1);
  out->wDayOfWeek = static_cast<uint16_t>(t.tm_wday);
  out->wDay = static_cast<uint16_t>(t.tm_mday);
  out->wHour = static_cast<uint16_t>(t.tm_hour);
  out->wMinute = static_cast<uint16_t>(t.tm_min);
  out->wSecond = static_cast<uint16_t>(t.tm_sec);
  out->wMilliseconds = static_cast<uint16_t>(ts.tv_nsec / 1000000);
  return 0;
}

}  // namespace

int get_local_time(SYSTEMTIME* out) {
  timespec now{};
  if (clock_gettime(CLOCK_REALTIME, &now) != 0) {
    return errno;
  }
  tzset();
  return to_local_record(now, out);
}

int get_file_time(const char* path, SYSTEMTIME* out) {
  // O_NONBLOCK keeps a FIFO without a writer from hanging the open;
  // O_NOCTTY keeps a terminal device from becoming the controlling one.
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    return errno;
  }
  struct stat st {};
  const int stat_result = fstat(fd, &st);
  const int stat_error = errno;
  close(fd);
  if (stat_result != 0) {
    return stat_error;
  }
  tzset();
  return to_local_record(st.st_mtim, out);
}

void set_stdout_binary() {}  // POSIX streams never translate newlines.
