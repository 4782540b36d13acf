#include "search/engine/text_chars.h"

namespace tabulo::search {

namespace {

// Start of the run of lead-range bytes that ends just before p. The byte in
// front of the run is not a lead byte, so a character ends there and the run
// starts a character; inside the run the bytes pair up from its start.
std::size_t leadRunStart(std::string_view text, std::size_t p) {
    std::size_t r = p;
    while (r > 0 && isLeadByte(static_cast<unsigned char>(text[r - 1]))) --r;
    return r;
}

}  // namespace

bool isCharStart(std::string_view text, std::size_t p) {
    // The end always is one: the last byte completes a pair or stands alone.
    if (p == 0 || p >= text.size()) return p <= text.size();
    return (p - leadRunStart(text, p)) % 2 == 0;
}

std::size_t previousCharStart(std::string_view text, std::size_t p) {
    if (isLeadByte(static_cast<unsigned char>(text[p - 1]))) {
        // An odd run reaching the end ends in a lead byte standing alone.
        return (p - leadRunStart(text, p)) % 2 == 0 ? p - 2 : p - 1;
    }
    if (p >= 2 && isLeadByte(static_cast<unsigned char>(text[p - 2])) && isCharStart(text, p - 2)) return p - 2;
    return p - 1;
}

}  // namespace tabulo::search
