// The option scanner. An option is an argument (from argv[1] on) starting
// with '-' or '/'; its letter is the second character, its value the rest.
// Every other argument, the empty one included, is a plain argument.
#pragma once

/// letter > 0: index of the first option with this letter, ASCII case
///   ignored (a byte of 0x80 or more matches only itself), or 0.
/// letter < 0: index of the first option whose letter is exactly the byte
///   -letter, or 0.
/// letter == 0: moves the plain arguments, in order, to argv[1] onward and
///   returns 1 + their count; later entries keep their old pointers.
/// With argc < 2 every mode returns 0 and changes nothing.
int find_option(int argc, char** argv, int letter);

/// The value of an option: the text after its letter, with one leading ':'
/// skipped. Points into `arg`; an argument shorter than two characters gives
/// the empty text.
const char* option_value(const char* arg);
