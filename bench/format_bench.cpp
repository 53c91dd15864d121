// format_date against strftime for the same record and the equivalent format.
#include <benchmark/benchmark.h>

#include <ctime>

#include "datefmt/datefmt.h"

namespace {

SYSTEMTIME march5() {
  SYSTEMTIME d{};
  d.wYear = 2025;
  d.wMonth = 3;
  d.wDayOfWeek = 3;
  d.wDay = 5;
  d.wHour = 7;
  d.wMinute = 8;
  d.wSecond = 9;
  return d;
}

// The same date as strftime's record.
tm to_tm(const SYSTEMTIME& d) {
  tm t{};
  t.tm_year = d.wYear - 1900;
  t.tm_mon = d.wMonth - 1;
  t.tm_wday = d.wDayOfWeek;
  t.tm_mday = d.wDay;
  t.tm_hour = d.wHour;
  t.tm_min = d.wMinute;
  t.tm_sec = d.wSecond;
  return t;
}

void run_format_date(benchmark::State& state, const char* pattern) {
  SYSTEMTIME date = march5();
  for (auto _ : state) {
    benchmark::DoNotOptimize(&date);
    const char* text = format_date(pattern, &date, FMT_ZERO_PAD | FMT_YEAR_RULE);
    benchmark::DoNotOptimize(text);
  }
}

void run_strftime(benchmark::State& state, const char* format) {
  tm t = to_tm(march5());
  char buffer[100];
  for (auto _ : state) {
    benchmark::DoNotOptimize(&t);
    benchmark::DoNotOptimize(strftime(buffer, sizeof buffer, format, &t));
    benchmark::ClobberMemory();
  }
}

void BM_format_date_iso(benchmark::State& s) {
  run_format_date(s, "yyyy-mo-dd hh:mm:ss");
}
void BM_strftime_iso(benchmark::State& s) {
  run_strftime(s, "%Y-%m-%d %H:%M:%S");
}
void BM_format_date_long(benchmark::State& s) {
  run_format_date(s, "Am dd.mo.yyyy um hh:mm, WD MOOO");
}
void BM_strftime_long(benchmark::State& s) {
  run_strftime(s, "Am %d.%m.%Y um %H:%M, %a %b");
}

BENCHMARK(BM_format_date_iso);
BENCHMARK(BM_strftime_iso);
BENCHMARK(BM_format_date_long);
BENCHMARK(BM_strftime_long);

}  // namespace

BENCHMARK_MAIN();
