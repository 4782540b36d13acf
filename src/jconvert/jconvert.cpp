// The C interface: each function forwards to the C++ function of the same
// name and copies the result into a malloc buffer the caller frees. No C++
// exception crosses into C: whatever a conversion throws (in practice only a
// failed allocation) becomes NULL, as jconvert.h documents.
#include "jconvert/jconvert.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "kanji/jconvert.h"

namespace kj = tabulo::kanji;

namespace {

// A text argument, or nothing when a NULL pointer comes with a length.
std::optional<std::string_view> view(const char* text, size_t length) {
    if (length == 0) return std::string_view();
    if (text == nullptr) return std::nullopt;
    return std::string_view(text, length);
}

char* toC(const std::string& result, size_t* resultLength) {
    auto* buffer = static_cast<char*>(std::malloc(result.size() + 1));
    if (buffer == nullptr) return nullptr;
    std::memcpy(buffer, result.data(), result.size());
    buffer[result.size()] = '\0';
    if (resultLength != nullptr) *resultLength = result.size();
    return buffer;
}

// Runs a conversion over the texts given and hands its result to C.
template <typename Convert, typename... Texts>
char* callC(size_t* resultLength, Convert convert, Texts... texts) noexcept {
    if ((!texts.has_value() || ...)) return nullptr;
    try {
        return toC(convert(*texts...), resultLength);
    } catch (...) {
        return nullptr;
    }
}

void copy2(const std::string& pair, unsigned char out[2]) {
    out[0] = static_cast<unsigned char>(pair[0]);
    out[1] = static_cast<unsigned char>(pair[1]);
}

}  // namespace

extern "C" {

const int STRICT_CHECK_LEN = kj::STRICT_CHECK_LEN;

int InCodeCheck(const char* text, size_t length) {
    const auto bytes = view(text, length);
    return bytes ? kj::InCodeCheck(*bytes) : kj::kCodeNone;
}

void ToSjis(unsigned char row, unsigned char cell, unsigned char out[2]) {
    copy2(kj::ToSjis(row, cell), out);
}

void ToJis(unsigned char lead, unsigned char trail, unsigned char out[2]) {
    copy2(kj::ToJis(lead, trail), out);
}

#define TABULO_KANJI_TEXT_FUNCTION(name)                                                      \
    char* name(const char* text, size_t length, size_t* resultLength) {                       \
        return callC(resultLength, [](std::string_view t) { return kj::name(t); },            \
                     view(text, length));                                                     \
    }

TABULO_KANJI_TEXT_FUNCTION(jis2euc)
TABULO_KANJI_TEXT_FUNCTION(jis2sjis)
TABULO_KANJI_TEXT_FUNCTION(euc2jis83)
TABULO_KANJI_TEXT_FUNCTION(sjis2jis83)
TABULO_KANJI_TEXT_FUNCTION(euc2sjis)
TABULO_KANJI_TEXT_FUNCTION(sjis2euc)
TABULO_KANJI_TEXT_FUNCTION(EncodeBase64)
TABULO_KANJI_TEXT_FUNCTION(DecodeBase64)
TABULO_KANJI_TEXT_FUNCTION(DecodeUU)
TABULO_KANJI_TEXT_FUNCTION(DecodeBinHex)
TABULO_KANJI_TEXT_FUNCTION(CreateHeaderString)
TABULO_KANJI_TEXT_FUNCTION(DecodeHeaderString)

#undef TABULO_KANJI_TEXT_FUNCTION

char* ConvertJCode(const char* text, size_t length, int target, size_t* resultLength) {
    return callC(resultLength, [&](std::string_view t) { return kj::ConvertJCode(t, target); },
                 view(text, length));
}

char* StrictConvertJCode(const char* text, size_t length, int source, int target,
                         size_t* resultLength) {
    return callC(resultLength,
                 [&](std::string_view t) { return kj::StrictConvertJCode(t, source, target); },
                 view(text, length));
}

int ReturnCodeCheck(const char* text, size_t length) {
    const auto bytes = view(text, length);
    return bytes ? kj::ReturnCodeCheck(*bytes) : kj::kReturnNone;
}

char* ConvertReturnCode(const char* text, size_t length, int target, size_t* resultLength) {
    return callC(resultLength, [&](std::string_view t) { return kj::ConvertReturnCode(t, target); },
                 view(text, length));
}

char* StrictConvertReturnCode(const char* text, size_t length, int source, int target,
                              size_t* resultLength) {
    return callC(resultLength,
                 [&](std::string_view t) { return kj::StrictConvertReturnCode(t, source, target); },
                 view(text, length));
}

#define TABULO_KANJI_SEPARATED_FUNCTION(name)                                                 \
    char* name(const char* data, size_t length, const char* separator, size_t separatorLength, \
               size_t* resultLength) {                                                        \
        return callC(resultLength,                                                            \
                     [](std::string_view d, std::string_view s) { return kj::name(d, s); },   \
                     view(data, length), view(separator, separatorLength));                   \
    }

TABULO_KANJI_SEPARATED_FUNCTION(EncodeBase64R)
TABULO_KANJI_SEPARATED_FUNCTION(EncodeUU)
TABULO_KANJI_SEPARATED_FUNCTION(EncodeBinHex)

#undef TABULO_KANJI_SEPARATED_FUNCTION

}  // extern "C"
