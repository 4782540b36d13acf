// ParseHeader: the header and footer templates. "%p" is the page number,
// "%f" the file name with its path, "%F" without, "%y" the year, "%m" the
// month, "%d" the day, "%t" the time as H:mm:ss; "%" before any other
// character gives that character ("%%" gives "%"), and a "%" that ends the
// template stays as it is. Templates and file names are Shift-JIS bytes; a
// double-byte character after "%" is copied whole.
#pragma once

#include <string>
#include <string_view>

namespace tabulo::print {

struct DateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    static DateTime now();
};

std::string ParseHeader(std::string_view templ, int pageNumber, std::string_view fileName,
                        const DateTime& when);

}  // namespace tabulo::print
