// Runs the tidra executable as a user would and checks its exact output
// bytes and exit status. The environment variable TIDRA_EXE names the
// executable and TIDRA_LAUNCHER a program that runs it (an emulator for a
// cross build, or valgrind with its options); the build gives both defaults.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

extern char** environ;

namespace {

// The clock's current second as tidra reads it. time() may lag behind it by
// a tick on systems where it reads a coarser clock.
time_t clock_seconds() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return now.tv_sec;
}

// The environment variable `name`, or `fallback` when it is unset.
std::string setting(const char* name, const char* fallback) {
  const char* value = getenv(name);
  return value != nullptr ? value : fallback;
}

const std::string kExe = setting("TIDRA_EXE", TIDRA_DEFAULT_EXE);
const std::string kLauncher = setting("TIDRA_LAUNCHER", TIDRA_DEFAULT_LAUNCHER);

// Where the Windows build differs by design, in one place.
struct PlatformCase {
  const char* posix;
  const char* windows;
};
const bool kWindows = kExe.size() > 4 && kExe.compare(kExe.size() - 4, 4, ".exe") == 0;
const char* on_platform(const PlatformCase& c) {
  return kWindows ? c.windows : c.posix;
}

// Error numbers: Windows tells a missing directory (3, ERROR_PATH_NOT_FOUND)
// from a missing file (2); POSIX gives 2 for both and 20 (ENOTDIR) for a path
// through a plain file.
constexpr PlatformCase kMissingDirError = {"File Error 2", "File Error 3"};
constexpr PlatformCase kNotADirError = {"File Error 20", "File Error 3"};
// A file time before 1601: POSIX refuses the year (75, EOVERFLOW); on Windows
// the time is a negative FILETIME, which the conversion refuses (87,
// ERROR_INVALID_PARAMETER).
constexpr PlatformCase kBefore1601 = {"File Error 75", "File Error 87"};
// 1 January 30828: POSIX refuses the year; FILETIME reaches into September
// 30828, so Windows shows it.
constexpr PlatformCase kYear30828 = {"File Error 75", "30828"};
// The byte 0xE4 as an argument. A Windows program gets its command line
// through Unicode; under Wine an argument reaches it as 0xE4 (Windows-1252)
// only when the launcher is given UTF-8.
constexpr PlatformCase kUmlautArgument = {"\xE4", "\xC3\xA4"};

struct Result {
  std::string out;
  int status;
};

// Runs tidra with `args` in the zone `tz`; standard output goes to a pipe,
// or to the file `stdout_path` when one is given.
Result run_tidra(const std::vector<std::string>& args, const char* tz = "UTC0",
                 const char* stdout_path = nullptr) {
  // The launcher may carry its own options, separated by blanks.
  std::vector<std::string> words;
  for (size_t start = 0; start < kLauncher.size();) {
    const size_t end = std::min(kLauncher.find(' ', start), kLauncher.size());
    if (end > start) {
      words.push_back(kLauncher.substr(start, end - start));
    }
    start = end + 1;
  }
  words.push_back(kExe);
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) {
    argv.push_back(w.data());
  }
  argv.push_back(nullptr);

  std::vector<std::string> env_texts = {std::string("TZ=") + tz};
  for (char** e = environ; *e != nullptr; ++e) {
    if (strncmp(*e, "TZ=", 3) != 0) {
      env_texts.push_back(*e);
    }
  }
  std::vector<char*> envp;
  for (std::string& e : env_texts) {
    envp.push_back(e.data());
  }
  envp.push_back(nullptr);

  int fds[2];
  if (pipe(fds) != 0) {
    ADD_FAILURE() << "pipe failed";
    return {"", -1};
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (stdout_path != nullptr) {
    posix_spawn_file_actions_addopen(&actions, 1, stdout_path, O_WRONLY, 0);
  } else {
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  }
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addclose(&actions, fds[1]);
  pid_t pid = 0;
  const int spawn_error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  Result result{"", -1};
  if (spawn_error != 0) {
    ADD_FAILURE() << "cannot start " << argv[0] << ": " << strerror(spawn_error);
    close(fds[0]);
    return result;
  }
  char buffer[4096];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) {
    result.out.append(buffer, static_cast<size_t>(n));
  }
  close(fds[0]);
  int wait_status = 0;
  waitpid(pid, &wait_status, 0);
  result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
  return result;
}

// The usage text as it must print: each line its tabs, its text and CR LF.
std::string expected_usage() {
  const struct {
    int tabs;
    const char* text;
  } lines[] = {
      {0, "Tidra V. 1.0: Ausgabe des aktuellen Datums / der aktuellen Zeit"},
      {1, "Kommandozeile: Tidra [<Text1>] [<Text2>] [-f:<Format>] [-i:<Separator>]"},
      {1, "Ausgabe: <Text1><Datum><Text2>"},
      {0, "Optionen:"},
      {1, "-d:<Dateiname>: Dateidatum statt aktuelles Datum ausgeben"},
      {1, "-i:<Separator>: Teile der Argumente nach dem Separator werden ignoriert"},
      {1, "-f:<Datumsformat>, String wird wie folgt interpretiert:"},
      {2, "yy: Jahr zweistellig, yyyy: vierstellig"},
      {2, "mo: Monat als Zahl"},
      {2, "MO: Monat als Name, auch MOOO etc."},
      {2, "dd: Tag"},
      {2, "wd: Wochentag (Nr.)"},
      {2, "WD: Wochentag (Name), auch WDDD"},
      {2, "hh: Stunden"},
      {2, "mm: Minuten"},
      {2, "ss: Sekunden"},
      {1, "Standard: yymodd"},
  };
  std::string text;
  for (const auto& line : lines) {
    text += std::string(static_cast<size_t>(line.tabs), '\t') + line.text + "\r\n";
  }
  return text;
}

class TidraRun : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    char dir_template[] = "/tmp/tidra-e2e-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(dir_template));
    dir_ = dir_template;
    // Wednesday, 5 March 2025, 07:08:09 UTC.
    march5_ = make_file("march5", 1741158489);
  }
  static void TearDownTestSuite() {
    const std::string command = "rm -rf '" + dir_ + "'";
    EXPECT_EQ(0, system(command.c_str()));
  }
  // A file named `name` whose last-write time is `seconds` after the epoch.
  static std::string make_file(const std::string& name, time_t seconds) {
    const std::string path = dir_ + "/" + name;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    EXPECT_GE(fd, 0) << path;
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    EXPECT_EQ(0, futimens(fd, times)) << path;
    close(fd);
    return path;
  }

  static std::string dir_;
  static std::string march5_;
};

std::string TidraRun::dir_;
std::string TidraRun::march5_;

struct Case {
  std::vector<std::string> args;
  std::string expected;
};

// Every case also gets -d:<a file dated Wednesday, 5 March 2025, 07:08:09>.
TEST_F(TidraRun, TextsOptionsAndPatterns) {
  const Case cases[] = {
      {{}, "250305"},
      {{"Backup-", ".zip", "-f:yyyy-mo-dd"}, "Backup-2025-03-05.zip"},
      {{"-f:yyyy-mo-dd", "Backup-", ".zip"}, "Backup-2025-03-05.zip"},
      {{"Backup-", "/F:yyyy-mo-dd", ".zip"}, "Backup-2025-03-05.zip"},
      {{"Start:", "-F:hh:mm"}, "Start:07:08"},
      {{"a", "b", "c"}, "a250305b"},
      {{"a;b", "c;d", "-i:;"}, "a250305c"},
      {{";;x;y", "-i:;"}, ";;x250305"},
      {{";;;", "-i:;"}, ";;;250305"},
      {{"a+b.c", "-i:.+"}, "a250305"},
      {{"-i::", "12:30"}, "12250305"},
      {{"A", "B", "-f"}, "AB"},
      {{"100%", "%s%n", "-f:yy%d"}, "100%25%d%s%n"},
      {{"-f:MOOO yyyy, WD"}, "M\xE4rz 2025, Mi"},
      {{"-f:Am dd.mo.yyyy um hh:mm:ss"}, "Am 05.03.2025 um 07:08:09"},
      {{"-fyy", "-f:mo"}, "25"},  // the first -f counts
      {{"", "b"}, "250305b"},     // an empty argument is a text
      {{"-x:foo", "/z", "-", "a"}, "a250305"},
      {{std::string("-") + on_platform(kUmlautArgument), on_platform(kUmlautArgument)},
       "\xE4"
       "250305"},
      {{"-f:" + std::string(99, '.')}, std::string(99, '.')},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.push_back("-d:" + march5_);
    const Result r = run_tidra(args);
    EXPECT_EQ(c.expected, r.out) << testing::PrintToString(c.args);
    EXPECT_EQ(0, r.status) << testing::PrintToString(c.args);
  }
}

TEST_F(TidraRun, DateOptionSpellings) {
  for (const char* option : {"-d:", "-d", "/D:", "/d", "-D"}) {
    const Result r = run_tidra({"-f:yyyy-mo-dd", option + march5_});
    EXPECT_EQ("2025-03-05", r.out) << option;
    EXPECT_EQ(0, r.status) << option;
  }
}

TEST_F(TidraRun, UsageTextOnRequestOrMalformedOption) {
  const std::vector<std::string> cases[] = {
      {"/?"},
      {"x", "-?", "-f:yy"},
      {"-d"},
      {"-d:"},
      {"-i:"},
      {"a", "b", "-i"},
      {"-?", "-d:" + dir_ + "/missing"},  // no file is opened
      {"-f:" + std::string(100, '.'), "-d:" + march5_},
      {"A", "B", "-f:" + std::string(120, 'y'), "-d:" + march5_},
  };
  const std::string usage = expected_usage();
  for (const auto& args : cases) {
    const Result r = run_tidra(args);
    EXPECT_EQ(usage, r.out) << testing::PrintToString(args);
    EXPECT_EQ(1, r.status) << testing::PrintToString(args);
  }
}

TEST_F(TidraRun, FileErrorsShowTheErrorNumber) {
  const std::string plain = make_file("plain", 0);
  const struct {
    std::string file;
    std::string expected;
  } cases[] = {
      {dir_ + "/missing", "File Error 2"},
      {dir_ + "/no/such/dir/x", on_platform(kMissingDirError)},
      {plain + "/x", on_platform(kNotADirError)},
      {dir_ + "/100%s", "File Error 2"},
  };
  for (const auto& c : cases) {
    const Result r = run_tidra({"Backup-", ".zip", "-d:" + c.file});
    EXPECT_EQ(c.expected, r.out) << c.file;
    EXPECT_EQ(2, r.status) << c.file;
  }
}

TEST_F(TidraRun, FileTimeFollowsZoneRulesAtItsDate) {
  const std::string winter = make_file("winter", 1736942400);  // 2025-01-15 12:00 UTC
  const std::string summer = make_file("summer", 1752580800);  // 2025-07-15 12:00 UTC
  const std::string before = make_file("before", 1743296399);  // 2025-03-30 00:59:59 UTC
  const std::string after = make_file("after", 1743296400);    // 2025-03-30 01:00:00 UTC
  const char* berlin = "CET-1CEST,M3.5.0,M10.5.0/3";
  const struct {
    std::string file;
    const char* tz;
    const char* expected;
  } cases[] = {
      {winter, berlin, "2025-01-15 13:00:00 Mi"},
      {summer, berlin, "2025-07-15 14:00:00 Di"},
      {before, berlin, "2025-03-30 01:59:59 So"},
      {after, berlin, "2025-03-30 03:00:00 So"},
      {winter, "UTC0", "2025-01-15 12:00:00 Mi"},
      {march5_, "EST5EDT,M3.2.0,M11.1.0", "2025-03-05 02:08:09 Mi"},
      {march5_, "<-12>12", "2025-03-04 19:08:09 Di"},
  };
  for (const auto& c : cases) {
    const Result r = run_tidra({"-f:yyyy-mo-dd hh:mm:ss WD", "-d:" + c.file}, c.tz);
    EXPECT_EQ(c.expected, r.out) << c.file << " in " << c.tz;
    EXPECT_EQ(0, r.status);
  }
}

// File times beyond 1601..30827 and years shown wider than their token need
// a file system that keeps 64-bit times, such as tmpfs.
TEST_F(TidraRun, FarOffFileTimes) {
  char shm_template[] = "/dev/shm/tidra-e2e-XXXXXX";
  if (mkdtemp(shm_template) == nullptr) {
    GTEST_SKIP() << "no /dev/shm";
  }
  const std::string dir = shm_template;
  const struct {
    time_t seconds;
    const char* pattern;
    const char* expected;
    int status;
  } cases[] = {
      {-3786825600 + 86400 * 170, "yy-mo|", "1850-06|", 0},  // 1850-06-20
      {-3786825600 + 86400 * 170, "yyyy", "3750", 0},
      {910670515199, "yyyy-mo-dd", "30827-12-31", 0},
      {910670515200, "yyyy", on_platform(kYear30828), kWindows ? 0 : 2},
      {-11644473601, "yyyy", on_platform(kBefore1601), 2},  // 1600-12-31
  };
  bool all_kept = true;
  for (const auto& c : cases) {
    const std::string path = dir + "/f";
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const timespec times[2] = {{c.seconds, 0}, {c.seconds, 0}};
    struct stat st {};
    const bool kept =
        futimens(fd, times) == 0 && fstat(fd, &st) == 0 && st.st_mtim.tv_sec == c.seconds;
    close(fd);
    if (!kept) {
      all_kept = false;
      continue;
    }
    const Result r = run_tidra({std::string("-f:") + c.pattern, "-d:" + path});
    EXPECT_EQ(c.expected, r.out) << c.seconds;
    EXPECT_EQ(c.status, r.status) << c.seconds;
  }
  const std::string command = "rm -rf '" + dir + "'";
  EXPECT_EQ(0, system(command.c_str()));
  if (!all_kept) {
    GTEST_SKIP() << "the file system did not keep every far-off time";
  }
}

TEST_F(TidraRun, ClockGivesCurrentLocalTime) {
  const time_t before = clock_seconds();
  const Result r = run_tidra({"<", ">", "-f:yyyy-mo-dd hh:mm:ss wd"}, "UTC0");
  const time_t after = clock_seconds();
  EXPECT_EQ(0, r.status);
  bool matched = false;
  for (time_t s = before; s <= after && !matched; ++s) {
    tm t{};
    gmtime_r(&s, &t);
    char expected[64];
    strftime(expected, sizeof expected, "<%Y-%m-%d %H:%M:%S 0%w>", &t);
    matched = r.out == expected;
  }
  EXPECT_TRUE(matched) << r.out;
}

// A failed write is not success; the usage and file error statuses stay.
TEST_F(TidraRun, WriteFailureIsStatusThree) {
  if (access("/dev/full", W_OK) != 0) {
    GTEST_SKIP() << "no /dev/full";
  }
  EXPECT_EQ(3, run_tidra({"-d:" + march5_}, "UTC0", "/dev/full").status);
  EXPECT_EQ(3, run_tidra({}, "UTC0", "/dev/full").status);
  EXPECT_EQ(1, run_tidra({"-?"}, "UTC0", "/dev/full").status);
  EXPECT_EQ(2, run_tidra({"-d:" + dir_ + "/missing"}, "UTC0", "/dev/full").status);
}

}  // namespace
