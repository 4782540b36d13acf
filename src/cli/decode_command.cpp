// tabulo-cli decode: the decoders of the mail encodings over each line, so
// that decode inverts conv --to base64, uuencode or binhex: the "#$0D#0A"
// with which the code conversion command joins the lines of one encoded
// result becomes a line break again before the line is decoded.
#include <string>
#include <string_view>

#include "cli/invocation.h"
#include "cli/line_output.h"
#include "cli/line_pieces.h"
#include "kanji/code_conversion.h"

namespace tabulo::cli {
namespace {

kanji::MailEncoding encodingNamed(const std::string& name) {
    if (name == "base64") return kanji::MailEncoding::Base64;
    if (name == "uuencode") return kanji::MailEncoding::UUencode;
    if (name == "binhex") return kanji::MailEncoding::BinHex;
    throw UsageError("unknown encoding '" + name + "' (base64, uuencode or binhex)");
}

int runDecode(Invocation& call) {
    const kanji::MailEncoding encoding = encodingNamed(call.operands()[0]);
    if (encoding == kanji::MailEncoding::Base64) {
        // Base64 streams within a line, so a line of any length decodes in
        // bounded memory.
        kanji::Base64LineDecoder decoder;
        filterLinePieces(call, call.inputPath(1), [&](std::string_view piece, bool endsLine, std::string& out) {
            decoder.decode(piece, endsLine, out);
        });
        return 0;
    }
    filterLines(call, call.inputPath(1), [&](std::string_view line, LineOutput& out) {
        out.write(kanji::decodeLine(line, encoding));
    });
    return 0;
}

const SubcommandRegistration kRegistration{{
    .name = "decode",
    .operands = "base64|uuencode|binhex [FILE]",
    .summary = "decode each line of Base64, uuencode or BinHex (the inverse of conv --to)",
    .details = "Each line is decoded on its own, after \"#$0D#0A\" (how conv joins the lines of\n"
               "one encoded result) is turned back into a line break. Lines keep the input's\n"
               "line break; FILE defaults to standard input. Base64 is decoded as it is read,\n"
               "so a line of any length decodes in bounded memory; uuencode and BinHex lines\n"
               "are taken whole and keep the line limit.\n",
    .minOperands = 1,
    .maxOperands = 2,
    .run = runDecode,
}};

}  // namespace
}  // namespace tabulo::cli
