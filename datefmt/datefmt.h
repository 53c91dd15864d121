// The pattern formatter: replaces the tokens of a pattern, in place in a
// module-owned buffer, by fields of a record of unsigned 16-bit fields.
// Each table entry replaces only the first occurrence of its token, in table
// order, in the text that the earlier entries produced. Other text is copied
// unchanged. Not reentrant: each call overwrites the previous result.
#pragma once

#include "platform/platform.h"

/// One entry of a token table; a null token ends the table.
struct FormatToken {
  const char* token;  ///< two characters; upper case first means a name token
  int offset;         ///< byte offset of the 16-bit field within the record
};

/// The German names. Every month name is four bytes; index 0 is empty.
struct DateNames {
  const char* weekday_names[7];  ///< by wDayOfWeek, 0 = Sunday
  const char* month_names[13];   ///< by wMonth
};

/// Numbers get as many digits as the token is wide (leading zeros).
constexpr int FMT_ZERO_PAD = 1;
/// The field at the key offset follows the year rule: under a token narrower
/// than four, a year from 1900 on is shown modulo 100; under four or wider,
/// a year below 1900 is shown increased by 1900.
constexpr int FMT_YEAR_RULE = 2;

/// The result buffer and its capacity in bytes, terminator included.
extern char* format_buffer;
extern int format_buffer_size;

/// Formats `record` by `pattern` with the token table `table`; the year rule
/// applies to the field at offset `key`. Returns format_buffer, or nullptr
/// when the pattern or the result does not fit it. A token of width w (its
/// first character plus the run of its second) becomes exactly w bytes,
/// except a number with more digits than w, which is written whole.
const char* format_record(const char* pattern, const void* record, int flags,
                          const FormatToken* table, int key);

/// format_record over a SYSTEMTIME with the date tokens MO WD ss mm hh dd mo
/// yy wd (in this order) and the year rule on wYear.
const char* format_date(const char* pattern, const SYSTEMTIME* date, int flags);

/// Stores the weekday names and the month names of DateNames.
void get_name_tables(const char* const** weekday_names, const char* const** month_names);
