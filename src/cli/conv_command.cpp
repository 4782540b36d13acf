// tabulo-cli conv: converts every line of the input as the window's code
// conversion command does over a whole-text line range. With --from the
// source code is given instead of detected line by line, so that lines
// detection cannot decide (EUC text that is also valid Shift-JIS) convert too.
#include <string>
#include <utility>

#include "cli/invocation.h"
#include "cli/line_output.h"
#include "kanji/code_conversion.h"
#include "kanji/kanji_code.h"
#include "kanji/mail_encoding.h"

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

int runConv(Invocation& call) {
    const kanji::TargetCode target = targetNamed(call.value("--to"));
    const int source = sourceNamed(call.value("--from", "auto"));
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
        "tabulo-cli decode turns them back. Lines keep the input's line break.\n",
    .options = {{"--to", nullptr, OptionKind::Value, "sjis|jis|euc|base64|uuencode|binhex", "the code to convert to"},
                {"--from", nullptr, OptionKind::Value, "auto|sjis|jis|euc",
                 "the code of the input: auto (the default) detects each line's code"}},
    .run = runConv,
}};

}  // namespace
}  // namespace tabulo::cli
