#include "print/engine/header_template.h"

#include "sjis/sjis_char.h"

#include <ctime>

namespace tabulo::print {

DateTime DateTime::now() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

namespace {

std::string twoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10 % 10)) + static_cast<char>('0' + value % 10);
}

std::string_view fileNamePart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string ParseHeader(std::string_view templ, int pageNumber, std::string_view fileName,
                        const DateTime& when) {
    std::string out;
    std::size_t i = 0;
    while (i < templ.size()) {
        const std::size_t width = sjis::charLengthAt(templ, i);
        if (templ[i] != '%' || i + 1 >= templ.size()) {
            out.append(templ.substr(i, width));
            i += width;
            continue;
        }
        const std::size_t codeWidth = sjis::charLengthAt(templ, i + 1);
        switch (templ[i + 1]) {
        case 'p': out += std::to_string(pageNumber); break;
        case 'f': out.append(fileName); break;
        case 'F': out.append(fileNamePart(fileName)); break;
        case 'y': out += std::to_string(when.year); break;
        case 'm': out += std::to_string(when.month); break;
        case 'd': out += std::to_string(when.day); break;
        case 't':
            out += std::to_string(when.hour) + ':' + twoDigits(when.minute) + ':' + twoDigits(when.second);
            break;
        default: out.append(templ.substr(i + 1, codeWidth)); break;
        }
        i += 1 + codeWidth;
    }
    return out;
}

}  // namespace tabulo::print
