// What the fake platform layer answers, and what it was asked.
#pragma once

#include <string>

#include "platform/platform.h"

struct FakePlatform {
  SYSTEMTIME clock;       ///< what get_local_time gives
  int clock_error;        ///< and its result
  SYSTEMTIME file_time;   ///< what get_file_time gives
  int file_error;         ///< and its result
  int file_opens;         ///< how often get_file_time was called
  std::string last_path;  ///< the path it was last given
};

extern FakePlatform fake_platform;
