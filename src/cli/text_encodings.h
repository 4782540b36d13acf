// Where tabulo-cli meets the encodings around it: the locale's character set,
// text arguments typed in it, and the terminal. Data stays Shift-JIS bytes;
// only arguments that are text (patterns, replacements) and what is shown on
// a terminal or in a message are converted.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tabulo::cli {

enum class Encoding { ShiftJis, Utf8 };

// "sjis" or "utf-8" (also "shift_jis", "utf8"), case-insensitive.
std::optional<Encoding> encodingNamed(std::string_view name);

// The character set of LC_CTYPE when it is one of the two; nothing for any
// other (C, POSIX, Latin-1...), where bytes pass as they are.
std::optional<Encoding> localeEncoding();

// How text arguments are read.
enum class ArgumentReading {
    Bytes,      // as given: a Shift-JIS locale, or one that is neither
    Utf8OrSjis, // a UTF-8 locale: valid UTF-8 is converted, anything else is taken as Shift-JIS
    Utf8,       // --args-encoding utf-8: must be valid UTF-8
};

ArgumentReading argumentReading(std::optional<Encoding> forced, std::optional<Encoding> locale);

// The Shift-JIS bytes of a text argument. Throws CliError naming the first
// character that has no Shift-JIS form, or (reading Utf8) saying that the
// argument is not UTF-8.
std::string argumentToSjis(std::string_view argument, ArgumentReading reading);

}  // namespace tabulo::cli
