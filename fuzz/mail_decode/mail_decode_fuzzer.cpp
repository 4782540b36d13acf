// Fuzz target of the mail encodings. The raw input is fed to the three
// decoders and to DecodeHeaderString, which must never read beyond it; then
// the input as data must come back unchanged from each encoder and its
// decoder, with the separators the decoders accept between lines, and the
// encoders must keep their line layout.
#include <string>
#include <string_view>

#include "common/fuzz_check.h"
#include "kanji/jconvert.h"

using namespace tabulo::kanji;
using tabulo::fuzz::check;

namespace {

// Longest run of text between separators.
std::size_t longestLine(std::string_view text, std::string_view separator) {
    std::size_t longest = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        longest = std::max(longest, (end == std::string_view::npos ? text.size() : end) - start);
        if (end == std::string_view::npos) return longest;
        start = end + separator.size();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const std::string base64 = DecodeBase64(input);
    check(base64.size() <= input.size(), "Base64 decoding never grows the text", input);
    const std::string uu = DecodeUU(input);
    check(uu.size() <= input.size(), "uudecoding never grows the text", input);
    const std::string binHex = DecodeBinHex(input);
    check(binHex.size() <= input.size(), "BinHex decoding never grows the text", input);
    (void)DecodeHeaderString(input);

    const std::string oneLine = EncodeBase64(input);
    check(oneLine.size() == (input.size() + 2) / 3 * 4, "Base64 gives four characters per three bytes", input);
    check(DecodeBase64(oneLine) == input, "DecodeBase64 inverts EncodeBase64", input);
    for (std::string_view sep : {"\r\n", "\n", "\r"}) {
        const std::string lines = EncodeBase64R(input, sep);
        check(longestLine(lines, sep) <= 76, "Base64 lines hold at most 76 characters", input);
        check(DecodeBase64(lines) == input, "DecodeBase64 inverts EncodeBase64R", input);

        const std::string uuLines = EncodeUU(input, sep);
        check(longestLine(uuLines, sep) <= 61, "uuencoded lines hold at most 61 characters", input);
        check(DecodeUU(uuLines) == input, "DecodeUU inverts EncodeUU", input);

        const std::string hexLines = EncodeBinHex(input, sep);
        check(longestLine(hexLines, sep) <= 64, "BinHex lines hold at most 64 characters", input);
        check(DecodeBinHex(hexLines) == input, "DecodeBinHex inverts EncodeBinHex", input);
    }
    return 0;
}
