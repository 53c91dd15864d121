// One run of tidra: options and texts from the argument vector, a date from
// the clock or a file, and <text1><date><text2> written to `out`.
#pragma once

#include <cstdio>

/// Exit statuses of a run.
enum Status {
  kStatusDate = 0,         ///< the texts and the date were written
  kStatusUsage = 1,        ///< the usage text was written
  kStatusFileError = 2,    ///< "File Error <n>" was written
  kStatusWriteFailed = 3,  ///< the date could not be obtained or written
};

/// Runs tidra on argv[0..argc-1] (argv[0] is the program name and is not
/// examined). Rearranges the pointers in argv and may shorten the first two
/// plain arguments in place. Writes only to `out` and returns the status.
int tidra_main(int argc, char** argv, FILE* out);
