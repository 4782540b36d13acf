// tabulo-cli decode: the decoders of the mail encodings over each line, so
// that decode inverts conv --to base64, uuencode or binhex: the "#$0D#0A"
// with which the code conversion command joins the lines of one encoded
// result becomes a line break again before the line is decoded.
#include <string>
#include <string_view>

#include "cli/invocation.h"
#include "cli/line_output.h"
#include "kanji/code_conversion.h"
#include "kanji/mail_encoding.h"

namespace tabulo::cli {
namespace {

using Decoder = std::string (*)(std::string_view);

Decoder decoderNamed(const std::string& name) {
    if (name == "base64") return kanji::DecodeBase64;
    if (name == "uuencode") return kanji::DecodeUU;
    if (name == "binhex") return kanji::DecodeBinHex;
    throw UsageError("unknown encoding '" + name + "' (base64, uuencode or binhex)");
}

// The line with every command separator turned back into CR LF; the line
// itself when it holds none.
std::string_view withLineBreaks(std::string_view line, std::string& buffer) {
    std::size_t at = line.find(kanji::kCommandSeparator);
    if (at == std::string_view::npos) return line;
    buffer.clear();
    std::size_t from = 0;
    for (; at != std::string_view::npos; at = line.find(kanji::kCommandSeparator, from)) {
        buffer.append(line.substr(from, at - from));
        buffer.append("\r\n");
        from = at + kanji::kCommandSeparator.size();
    }
    buffer.append(line.substr(from));
    return buffer;
}

int runDecode(Invocation& call) {
    const Decoder decode = decoderNamed(call.operands()[0]);
    std::string buffer;
    filterLines(call, call.inputPath(1), [&](std::string_view line, LineOutput& out) {
        out.write(decode(withLineBreaks(line, buffer)));
    });
    return 0;
}

const SubcommandRegistration kRegistration{{
    .name = "decode",
    .operands = "base64|uuencode|binhex [FILE]",
    .summary = "decode each line of Base64, uuencode or BinHex (the inverse of conv --to)",
    .details = "Each line is decoded on its own, after \"#$0D#0A\" (how conv joins the lines of\n"
               "one encoded result) is turned back into a line break. Lines keep the input's\n"
               "line break; FILE defaults to standard input.\n",
    .minOperands = 1,
    .maxOperands = 2,
    .run = runDecode,
}};

}  // namespace
}  // namespace tabulo::cli
