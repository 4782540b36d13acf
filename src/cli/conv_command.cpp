// tabulo-cli conv: converts every line of the input as the window's code
// conversion command does over a whole-text line range. With --from the
// source code is given instead of detected line by line, so that lines
// detection cannot decide (EUC text that is also valid Shift-JIS) convert too.
// UTF-8 goes in (--from utf-8) or out (--to utf-8) through the CP932 table,
// the whole text at once, so every byte of its line breaks stays as it was.
#include <algorithm>
#include <string>
#include <utility>

#include "cli/input_file.h"
#include "cli/invocation.h"
#include "cli/line_output.h"
#include "kanji/code_conversion.h"
#include "kanji/kanji_code.h"
#include "kanji/mail_encoding.h"
#include "kanji/utf8_code.h"

namespace tabulo::cli {
namespace {

kanji::TargetCode targetNamed(const std::string& name) {
    static const std::pair<const char*, kanji::TargetCode> kTargets[] = {
        {"sjis", kanji::TargetCode::ShiftJis}, {"jis", kanji::TargetCode::Jis},
        {"euc", kanji::TargetCode::Euc},       {"base64", kanji::TargetCode::Base64},
        {"uuencode", kanji::TargetCode::UUencode}, {"binhex", kanji::TargetCode::BinHex},
    };
    for (const auto& [known, code] : kTargets) {
        if (name == known) return code;
    }
    if (name.empty()) throw UsageError("--to is required");
    throw UsageError("unknown code '" + name + "' for --to");
}

// The kanji code value of a --from name; 0 for auto (detect each line).
int sourceNamed(const std::string& name) {
    if (name == "auto") return 0;
    if (name == "sjis") return kanji::kCodeSjis;
    if (name == "jis") return kanji::kCodeJisB;
    if (name == "euc") return kanji::kCodeEuc;
    throw UsageError("unknown code '" + name + "' for --from (auto, sjis, jis or euc)");
}

int kanjiCodeOf(kanji::TargetCode target) {
    switch (target) {
    case kanji::TargetCode::ShiftJis: return kanji::kCodeSjis;
    case kanji::TargetCode::Jis: return kanji::kCodeJisB;
    case kanji::TargetCode::Euc: return kanji::kCodeEuc;
    default: return 0;
    }
}

bool isUtf8Name(const std::string& name) { return name == "utf-8" || name == "utf8"; }

// "line L, byte B" (both from 1) of a byte offset in text.
std::string placeOf(std::string_view text, std::size_t offset) {
    const std::string_view before = text.substr(0, offset);
    const std::size_t line = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
    const std::size_t lineStart = before.find_last_of('\n');
    const std::size_t column = offset - (lineStart == std::string_view::npos ? 0 : lineStart + 1) + 1;
    return "line " + std::to_string(line) + ", byte " + std::to_string(column);
}

// Converts the whole input to or from UTF-8. A character the target code
// cannot hold stops the run with nothing written, unless --substitute says
// to write 〓 (or U+FFFD) for it; the count and the first place are named
// either way.
int runUtf8Conv(Invocation& call, bool toUtf8) {
    InputFile file(call.inputPath());
    const std::string input = file.readAll();
    kanji::Utf8Conversion result = toUtf8 ? kanji::sjis2utf8(input) : kanji::utf82sjis(input);
    if (result.lost != 0) {
        const std::string what = std::to_string(result.lost) +
                                 (toUtf8 ? " byte sequence(s) are no Shift-JIS character"
                                         : " character(s) have no Shift-JIS form") +
                                 ", the first at " + placeOf(input, result.firstLost);
        if (!call.flag("--substitute")) throw CliError(what + " (--substitute writes " +
                                                      (toUtf8 ? "U+FFFD" : "〓") + " for them)");
        call.messages().error("tabulo-cli conv: " + what + "; substituted");
    }
    // A writer for a UTF-8 terminal converts Shift-JIS itself, with the same table.
    call.out().write(toUtf8 && call.out().target() == Encoding::Utf8 ? input : result.text);
    return 0;
}

int runConv(Invocation& call) {
    const std::string toName = call.value("--to");
    const std::string fromName = call.value("--from", "auto");
    if (isUtf8Name(fromName)) {
        if (toName != "sjis") throw UsageError("--from utf-8 goes with --to sjis");
        return runUtf8Conv(call, false);
    }
    if (isUtf8Name(toName)) {
        if (fromName != "auto" && fromName != "sjis") throw UsageError("--to utf-8 converts from sjis");
        return runUtf8Conv(call, true);
    }
    if (call.flag("--substitute")) throw UsageError("--substitute goes with --from utf-8 or --to utf-8");
    const kanji::TargetCode target = targetNamed(toName);
    const int source = sourceNamed(fromName);
    const int targetCode = kanjiCodeOf(target);
    if (source != 0 && targetCode == 0) throw UsageError("--from goes with --to sjis, jis or euc");
    if (target == kanji::TargetCode::Base64) {
        // The common case of many short lines: one buffer for all of them.
        std::string encoded;
        filterLines(call, call.inputPath(), [&](std::string_view line, LineOutput& out) {
            encoded.resize(kanji::base64Length(line.size()));
            kanji::encodeBase64To(line, encoded.data());
            out.write(encoded);
        });
        return 0;
    }
    filterLines(call, call.inputPath(), [&](std::string_view line, LineOutput& out) {
        out.write(source == 0 ? kanji::convertLine(line, target)
                              : kanji::StrictConvertJCode(line, source, targetCode));
    });
    return 0;
}

const SubcommandRegistration kRegistration{{
    .name = "conv",
    .operands = "[FILE]",
    .summary = "convert every line's kanji code or encode it (the code conversion menu)",
    .details =
        "--to sjis, jis or euc converts each line's kanji code. Without --from (or with\n"
        "--from auto) each line's code is detected on its own, and a line that is 7-bit,\n"
        "already in the target code or undecided between EUC and Shift-JIS stays as it\n"
        "is. --from sjis, jis or euc converts every line from that code.\n"
        "--to base64, uuencode or binhex encodes each line on its own line; the lines of\n"
        "one uuencode or BinHex result are joined by the seven characters \"#$0D#0A\".\n"
        "tabulo-cli decode turns them back. Lines keep the input's line break.\n"
        "--from utf-8 --to sjis converts UTF-8 text to Shift-JIS (CP932, which also takes\n"
        "the JIS look-alikes such as U+301C); --to utf-8 converts Shift-JIS text to UTF-8.\n"
        "Both keep the line breaks byte for byte. A character the target cannot hold is\n"
        "an error naming how many there are and where the first is, and nothing is\n"
        "written; with --substitute it becomes 〓 (or U+FFFD) and a note says so.\n",
    .options = {{"--to", nullptr, OptionKind::Value, "sjis|jis|euc|utf-8|base64|uuencode|binhex",
                 "the code to convert to"},
                {"--from", nullptr, OptionKind::Value, "auto|sjis|jis|euc|utf-8",
                 "the code of the input: auto (the default) detects each line's code"},
                {"--substitute", nullptr, OptionKind::Flag, "",
                 "with utf-8: write a substitute for characters the target cannot hold"}},
    .run = runConv,
}};

}  // namespace
}  // namespace tabulo::cli
