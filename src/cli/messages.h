// Messages of tabulo-cli for people: errors on standard error and help texts
// on standard output, written in the locale's encoding. Messages are composed
// as UTF-8; pieces that come from elsewhere are first brought to UTF-8 with
// fromArgument (bytes typed in the locale's encoding, such as file names) or
// fromSjis (document bytes, such as a pattern after conversion).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/text_encodings.h"

namespace tabulo::cli {

class Messages {
public:
    explicit Messages(std::optional<Encoding> locale) : m_locale(locale) {}

    std::string fromArgument(std::string_view argument) const;
    static std::string fromSjis(std::string_view sjis);

    // The UTF-8 text in the locale's encoding.
    std::string toLocale(std::string_view utf8) const;

    // Writes one line (a line feed is added) to standard error.
    void error(std::string_view utf8) const;

private:
    std::optional<Encoding> m_locale;
};

// The column (display cell) at which byte offset pos of a Shift-JIS text is
// shown on a terminal: a two-byte character takes two cells, any other byte one.
std::size_t sjisColumn(std::string_view sjis, std::size_t pos);

}  // namespace tabulo::cli
