// The C interface: each function forwards to the C++ function of the same
// name and copies the result into a malloc buffer the caller frees. No C++
// exception crosses into C: a failed allocation becomes NULL.
#include "kanji/jconvert_c.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "kanji/jconvert.h"

namespace kj = tabulo::kanji;

namespace {

std::string_view view(const char* text, size_t length) {
    return length == 0 ? std::string_view() : std::string_view(text, length);
}

char* toC(const std::string& result, size_t* resultLength) {
    auto* buffer = static_cast<char*>(std::malloc(result.size() + 1));
    if (buffer == nullptr) return nullptr;
    std::memcpy(buffer, result.data(), result.size());
    buffer[result.size()] = '\0';
    if (resultLength != nullptr) *resultLength = result.size();
    return buffer;
}

// Runs a conversion and hands its result to C.
template <typename Convert>
char* callC(Convert convert, size_t* resultLength) noexcept {
    try {
        return toC(convert(), resultLength);
    } catch (const std::bad_alloc&) {
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

int InCodeCheck(const char* text, size_t length) { return kj::InCodeCheck(view(text, length)); }

void ToSjis(unsigned char row, unsigned char cell, unsigned char out[2]) {
    copy2(kj::ToSjis(row, cell), out);
}

void ToJis(unsigned char lead, unsigned char trail, unsigned char out[2]) {
    copy2(kj::ToJis(lead, trail), out);
}

#define TABULO_KANJI_TEXT_FUNCTION(name)                                                \
    char* name(const char* text, size_t length, size_t* resultLength) {                 \
        return callC([&] { return kj::name(view(text, length)); }, resultLength);       \
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
    return callC([&] { return kj::ConvertJCode(view(text, length), target); }, resultLength);
}

char* StrictConvertJCode(const char* text, size_t length, int source, int target,
                         size_t* resultLength) {
    return callC([&] { return kj::StrictConvertJCode(view(text, length), source, target); },
                 resultLength);
}

int ReturnCodeCheck(const char* text, size_t length) {
    return kj::ReturnCodeCheck(view(text, length));
}

char* ConvertReturnCode(const char* text, size_t length, int target, size_t* resultLength) {
    return callC([&] { return kj::ConvertReturnCode(view(text, length), target); }, resultLength);
}

char* StrictConvertReturnCode(const char* text, size_t length, int source, int target,
                              size_t* resultLength) {
    return callC([&] { return kj::StrictConvertReturnCode(view(text, length), source, target); },
                 resultLength);
}

char* EncodeBase64R(const char* data, size_t length, const char* separator,
                    size_t separatorLength, size_t* resultLength) {
    return callC([&] { return kj::EncodeBase64R(view(data, length), view(separator, separatorLength)); },
                 resultLength);
}

char* EncodeUU(const char* data, size_t length, const char* separator, size_t separatorLength,
               size_t* resultLength) {
    return callC([&] { return kj::EncodeUU(view(data, length), view(separator, separatorLength)); },
                 resultLength);
}

char* EncodeBinHex(const char* data, size_t length, const char* separator,
                   size_t separatorLength, size_t* resultLength) {
    return callC([&] { return kj::EncodeBinHex(view(data, length), view(separator, separatorLength)); },
                 resultLength);
}

}  // extern "C"
