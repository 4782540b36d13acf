// General number format with 15 significant digits.
#include "calc/result_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace tabulo::calc {

namespace {

constexpr int kSignificantDigits = 15;

}  // namespace

std::string formatResult(long double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";

    // to_chars rounds the exact binary value correctly: "d.dddddddddddddde±x".
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t ePos = text.find('e');
    std::string digits;
    digits += text[0];
    digits.append(text.substr(2, ePos - 2));
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int e = std::atoi(std::string(text.substr(ePos + 1)).c_str()) + 1;

    std::string out = value < 0 ? "-" : "";
    const int count = static_cast<int>(digits.size());
    if (e >= -3 && e <= 15) {
        if (e <= 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-e), '0');
            out += digits;
        } else if (count <= e) {
            out += digits;
            out.append(static_cast<std::size_t>(e - count), '0');
        } else {
            out.append(digits, 0, static_cast<std::size_t>(e));
            out += '.';
            out.append(digits, static_cast<std::size_t>(e));
        }
    } else {
        out += digits[0];
        if (count > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += 'E';
        out += std::to_string(e - 1);
    }
    return out;
}

}  // namespace tabulo::calc
