#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/platform.h"

namespace {

// The clock's current second as tidra reads it. time() may lag behind it by
// a tick on systems where it reads a coarser clock.
time_t clock_seconds() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return now.tv_sec;
}

// Sets TZ for the test and restores the previous zone afterwards.
class ZoneTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* old = getenv("TZ");
    had_tz_ = old != nullptr;
    old_tz_ = had_tz_ ? old : "";
    char dir_template[] = "/tmp/tidra-platform-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(dir_template));
    dir_ = dir_template;
  }
  void TearDown() override {
    if (had_tz_) {
      setenv("TZ", old_tz_.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
    std::string command = "rm -rf '" + dir_ + "'";
    EXPECT_EQ(0, system(command.c_str()));
  }
  static void use_zone(const char* tz) {
    setenv("TZ", tz, 1);
    tzset();
  }
  // A file in `dir` whose last-write time is `seconds` after the epoch.
  // Returns false when the file system cannot hold that time.
  static bool make_file(const std::string& path, time_t seconds, long nanoseconds = 0) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
      return false;
    }
    const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    const bool set = futimens(fd, times) == 0;
    struct stat st {};
    const bool kept = fstat(fd, &st) == 0 && st.st_mtim.tv_sec == seconds;
    close(fd);
    return set && kept;
  }

  std::string dir_;

 private:
  bool had_tz_ = false;
  std::string old_tz_;
};

// Central European zone rules, written out so that no zone database is needed.
constexpr char kBerlin[] = "CET-1CEST,M3.5.0,M10.5.0/3";

struct FileCase {
  time_t seconds;  // UTC
  int year, month, weekday, day, hour, minute, second;
};

TEST_F(ZoneTest, FileTimeUsesZoneRulesAtTheFilesDate) {
  use_zone(kBerlin);
  const FileCase cases[] = {
      {1741158489, 2025, 3, 3, 5, 8, 8, 9},     // 2025-03-05 07:08:09 UTC, winter
      {1736942400, 2025, 1, 3, 15, 13, 0, 0},   // 2025-01-15 12:00 UTC: UTC+1
      {1752580800, 2025, 7, 2, 15, 14, 0, 0},   // 2025-07-15 12:00 UTC: UTC+2
      {1743296399, 2025, 3, 0, 30, 1, 59, 59},  // last second before the change
      {1743296400, 2025, 3, 0, 30, 3, 0, 0},    // first second after it
      {1735689599, 2025, 1, 3, 1, 0, 59, 59},   // New Year: the UTC date is a day earlier
  };
  for (const FileCase& c : cases) {
    const std::string path = dir_ + "/f";
    ASSERT_TRUE(make_file(path, c.seconds, 123456789));
    SYSTEMTIME t{};
    ASSERT_EQ(0, get_file_time(path.c_str(), &t)) << c.seconds;
    EXPECT_EQ(c.year, t.wYear) << c.seconds;
    EXPECT_EQ(c.month, t.wMonth) << c.seconds;
    EXPECT_EQ(c.weekday, t.wDayOfWeek) << c.seconds;
    EXPECT_EQ(c.day, t.wDay) << c.seconds;
    EXPECT_EQ(c.hour, t.wHour) << c.seconds;
    EXPECT_EQ(c.minute, t.wMinute) << c.seconds;
    EXPECT_EQ(c.second, t.wSecond) << c.seconds;
    EXPECT_EQ(123, t.wMilliseconds) << c.seconds;
  }
}

TEST_F(ZoneTest, FileErrorsGiveErrno) {
  const std::string plain = dir_ + "/plain";
  ASSERT_TRUE(make_file(plain, 0));
  SYSTEMTIME t{};
  EXPECT_EQ(ENOENT, get_file_time((dir_ + "/missing").c_str(), &t));
  EXPECT_EQ(ENOENT, get_file_time((dir_ + "/no/such/dir").c_str(), &t));
  EXPECT_EQ(ENOTDIR, get_file_time((plain + "/x").c_str(), &t));
  EXPECT_EQ(ENOENT, get_file_time("", &t));
}

TEST_F(ZoneTest, FifoWithoutWriterDoesNotBlock) {
  const std::string fifo = dir_ + "/fifo";
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0644));
  SYSTEMTIME t{};
  EXPECT_EQ(0, get_file_time(fifo.c_str(), &t));
  EXPECT_GE(t.wYear, 2024);
}

// Years outside 1601..30827 are refused rather than truncated to 16 bits.
TEST_F(ZoneTest, YearsOutsideRecordRangeAreOverflow) {
  use_zone("UTC0");
  // tmpfs keeps 64-bit times; ext4 and most disks clamp them.
  char shm_template[] = "/dev/shm/tidra-XXXXXX";
  if (mkdtemp(shm_template) == nullptr) {
    GTEST_SKIP() << "no /dev/shm to hold far-off file times";
  }
  const std::string dir = shm_template;
  const struct {
    time_t seconds;
    int expected_error;
    int expected_year;
  } cases[] = {
      {-11644473601, EOVERFLOW, 0},                             // 1600-12-31 23:59:59
      {-11644473600, 0, 1601},                                  // 1601-01-01 00:00:00
      {-3786825600, 0, 1850},        {910670515199, 0, 30827},  // 30827-12-31 23:59:59
      {910670515200, EOVERFLOW, 0},                             // 30828-01-01
      {INT64_MAX / 2, EOVERFLOW, 0},  // beyond what localtime_r can break down
  };
  bool all_kept = true;
  for (const auto& c : cases) {
    const std::string path = dir + "/f";
    if (!make_file(path, c.seconds)) {
      all_kept = false;
      continue;
    }
    SYSTEMTIME t{};
    EXPECT_EQ(c.expected_error, get_file_time(path.c_str(), &t)) << c.seconds;
    if (c.expected_error == 0) {
      EXPECT_EQ(c.expected_year, t.wYear) << c.seconds;
    }
  }
  std::string command = "rm -rf '" + dir + "'";
  EXPECT_EQ(0, system(command.c_str()));
  if (!all_kept) {
    GTEST_SKIP() << "the file system did not keep every far-off time";
  }
}

TEST_F(ZoneTest, LocalTimeIsTheClock) {
  use_zone("UTC0");
  const time_t before = clock_seconds();
  SYSTEMTIME t{};
  ASSERT_EQ(0, get_local_time(&t));
  const time_t after = clock_seconds();
  bool matched = false;
  for (time_t s = before; s <= after; ++s) {
    tm expected{};
    gmtime_r(&s, &expected);
    matched = matched || (t.wYear == expected.tm_year + 1900 && t.wMonth == expected.tm_mon + 1 &&
                          t.wDay == expected.tm_mday && t.wDayOfWeek == expected.tm_wday &&
                          t.wHour == expected.tm_hour && t.wMinute == expected.tm_min &&
                          t.wSecond == expected.tm_sec);
  }
  EXPECT_TRUE(matched);
  EXPECT_LT(t.wMilliseconds, 1000);
}

}  // namespace
