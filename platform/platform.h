// The platform layer: the date record, the local clock and a file's
// last-write time. One implementation per platform, chosen by the build.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>  // SYSTEMTIME is the platform's own record there.
#else
#include <cstdint>

/// A broken-down local date and time: eight unsigned 16-bit fields at the
/// byte offsets 0, 2, ..., 14. The formatter addresses the fields by offset.
struct SYSTEMTIME {
  uint16_t wYear;          ///< full year, 1601 to 30827
  uint16_t wMonth;         ///< 1 to 12
  uint16_t wDayOfWeek;     ///< 0 to 6, 0 = Sunday
  uint16_t wDay;           ///< 1 to 31
  uint16_t wHour;          ///< 0 to 23
  uint16_t wMinute;        ///< 0 to 59
  uint16_t wSecond;        ///< 0 to 59
  uint16_t wMilliseconds;  ///< 0 to 999, never shown
};
#endif

static_assert(sizeof(SYSTEMTIME) == 16, "SYSTEMTIME is eight 16-bit fields");

/// Fills `out` with the current local date and time. Returns 0 on success,
/// otherwise the platform's error number.
int get_local_time(SYSTEMTIME* out);

/// Fills `out` with the last-write time of the file `path`, converted to
/// local time by the zone rules in effect at that moment. The file is opened
/// for reading but never read. Returns 0 on success, otherwise the platform's
/// error number (2 for a missing file on every platform).
int get_file_time(const char* path, SYSTEMTIME* out);

/// Puts standard output into binary mode, so that bytes are written exactly
/// as given (no newline translation).
void set_stdout_binary();
