#include "app/tidra.h"

#include <cstring>

#include "cmdline/cmdline.h"
#include "datefmt/datefmt.h"
#include "platform/platform.h"

namespace {

// Laid out as it prints: CR LF line ends, tabs for indentation.
constexpr char kUsageText[] =
    "Tidra V. 1.0: Ausgabe des aktuellen Datums / der aktuellen Zeit\r\n"
    "\tKommandozeile: Tidra [<Text1>] [<Text2>] [-f:<Format>] [-i:<Separator>]\r\n"
    "\tAusgabe: <Text1><Datum><Text2>\r\n"
    "Optionen:\r\n"
    "\t-d:<Dateiname>: Dateidatum statt aktuelles Datum ausgeben\r\n"
    "\t-i:<Separator>: Teile der Argumente nach dem Separator werden ignoriert\r\n"
    "\t-f:<Datumsformat>, String wird wie folgt interpretiert:\r\n"
    "\t\tyy: Jahr zweistellig, yyyy: vierstellig\r\n"
    "\t\tmo: Monat als Zahl\r\n"
    "\t\tMO: Monat als Name, auch MOOO etc.\r\n"
    "\t\tdd: Tag\r\n"
    "\t\twd: Wochentag (Nr.)\r\n"
    "\t\tWD: Wochentag (Name), auch WDDD\r\n"
    "\t\thh: Stunden\r\n"
    "\t\tmm: Minuten\r\n"
    "\t\tss: Sekunden\r\n"
    "\tStandard: yymodd\r\n";

struct Settings {
  int show_usage;         ///< nonzero: write the usage text, not a date
  const char* pattern;    ///< the date pattern
  char* text1;            ///< written before the date
  char* text2;            ///< written after the date
  const char* date_file;  ///< take the date from this file; null: the clock
  const char* separator;  ///< cut the texts at any of these; null: no cut
};

// Ends `text` at the first separator after its leading separators, as one
// strtok call would; leading separators stay part of the text.
void cut_at_separator(char* text, const char* separator) {
  char* word = text + strspn(text, separator);
  word[strcspn(word, separator)] = '\0';
}

int write_usage(FILE* out) {
  fputs(kUsageText, out);
  return kStatusUsage;
}

}  // namespace

int tidra_main(int argc, char** argv, FILE* out) {
  char empty_text[] = "";
  Settings s{};
  s.pattern = "yymodd";
  s.show_usage = find_option(argc, argv, '?');
  if (const int i = find_option(argc, argv, 'f'); i != 0) {
    s.pattern = option_value(argv[i]);
  }
  if (const int i = find_option(argc, argv, 'd'); i != 0) {
    s.date_file = option_value(argv[i]);
    if (*s.date_file == '\0') {
      s.show_usage = 1;
    }
  }
  if (const int i = find_option(argc, argv, 'i'); i != 0) {
    s.separator = option_value(argv[i]);
    if (*s.separator == '\0') {
      s.show_usage = 1;
    }
  }
  const int n = find_option(argc, argv, 0);
  if (s.show_usage != 0) {
    return write_usage(out);
  }

  s.text1 = n >= 2 ? argv[1] : empty_text;
  s.text2 = n >= 3 ? argv[2] : empty_text;
  if (s.separator != nullptr) {
    cut_at_separator(s.text1, s.separator);
    cut_at_separator(s.text2, s.separator);
  }

  SYSTEMTIME date{};
  if (s.date_file != nullptr) {
    if (const int error = get_file_time(s.date_file, &date); error != 0) {
      fprintf(out, "File Error %d", error);
      return kStatusFileError;
    }
  } else if (get_local_time(&date) != 0) {
    return kStatusWriteFailed;
  }

  const char* text = format_date(s.pattern, &date, FMT_ZERO_PAD | FMT_YEAR_RULE);
  if (text == nullptr) {
    // A pattern too long for the buffer is malformed, like an empty -d or -i.
    return write_usage(out);
  }
  fprintf(out, "%s%s%s", s.text1, text, s.text2);
  if (fflush(out) != 0 || ferror(out) != 0) {
    return kStatusWriteFailed;
  }
  return kStatusDate;
}
