// Postal code conversion of one line against the postal service's nationwide
// address file (KEN_ALL CSV: field 2 the 7-digit code, fields 6 to 8
// prefecture, city and town). A line that starts with a code gets the address
// written after the code; a line holding "prefecture city [town]" gets the
// codes of every matching record put in front of it, the last record found
// first.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "regex/awk_str.h"
#include "regex/grep.h"

namespace tabulo::search {

enum class PostalStatus {
    EmptyLine,    // nothing to convert, nothing to say
    NotFound,     // nothing matched; the line is unchanged
    Converted,
    WholeCity,    // a whole-city record was involved
    TooMany,      // the line filled up; the search stopped
    MissingFile,  // the address file does not exist
    BadAddress,   // not two or three name parts
};

// The message the user is shown for a status (UTF-8), empty for Converted
// and EmptyLine.
std::string_view postalMessage(PostalStatus status);

class PostalConverter {
public:
    PostalConverter();

    // Runs between blocks of the address file and before every hit.
    void setEventPump(std::function<void()> pump);
    // The first conversion reads the whole file once beforehand, so the
    // search itself finds it in the file cache.
    bool warmedUp() const { return m_warm; }

    // Converts line in place. Raises the pattern engine's error when an
    // address is not a valid pattern (line unchanged) and EFileNotFound when
    // the file cannot be read; line then keeps the hits written so far.
    PostalStatus convert(std::string& line, const std::string& postalFile);

private:
    void warmUp(const std::string& postalFile);
    void convertCode(std::string& line, const std::string& code, const std::string& postalFile);
    void convertAddress(std::string& line, const std::string& query, const std::string& postalFile);
    bool readRecord(const std::string& record);

    regex::TGrep m_codeGrep;
    regex::TGrep m_addressGrep;
    regex::TAWKStr m_fieldSplitter;
    std::vector<std::string> m_fields;
    PostalStatus m_status = PostalStatus::NotFound;
    bool m_warm = false;
};

}  // namespace tabulo::search
