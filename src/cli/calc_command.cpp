// tabulo-cli calc: the line calculator over the lines of a file or of
// standard input, one output line per calc line, as F9 would answer it.
#include <optional>
#include <string>
#include <string_view>

#include "calc/expr_compo.h"
#include "calc/line_calculation.h"
#include "calc/text_calculation.h"
#include "cli/invocation.h"
#include "cli/line_output.h"
#include "sjis/sjis_codec.h"

namespace tabulo::cli {

namespace {

int runCalc(Invocation& call) {
    calc::TExprCompo evaluator;
    calc::defineConstants(evaluator);
    const sjis::SjisCodec& codec = sjis::SjisCodec::instance();
    const calc::Utf8ToSjis toSjis = [&codec](std::string_view utf8) { return codec.fromUtf8Lossy(utf8); };
    InputFile file(call.inputPath());
    LineReader reader(file);
    LineOutput output(call.out());
    Line line;
    while (reader.next(line)) {
        output.see(line);
        if (std::optional<std::string> report = calc::calculationReport(evaluator, line.text, toSjis)) {
            output.write(*report);
        }
    }
    // Every report line ends with a break.
    output.finish(true);
    return 0;
}

const SubcommandRegistration kRegistration{{
    .name = "calc",
    .operands = "[FILE]",
    .summary = "evaluate each line as the line calculator (F9) does",
    .details =
        "Evaluates every line of FILE (or standard input) as the editor's F9 does and\n"
        "writes one line for each line that is not blank:\n"
        "  an expression          its value, 15 significant digits (1 + 2 * 3 -> 7)\n"
        "  an assignment          the line without blanks + \" を記憶しました\" (r=12 を記憶しました)\n"
        "  a graph line [G] [T] [R]  the question the editor asks instead of drawing:\n"
        "                         \"関数 \" + the rest of the line + \" をグラフで表しますか？\"\n"
        "  anything else          \"関数・計算式ではありません\"\n"
        "  an arithmetic fault    its message (\"0 による浮動小数点数除算\")\n"
        "Blank lines write nothing. Variables and the constants pi, e, c, g, deg, k, hp\n"
        "carry over from line to line; \"^\" is the power operator, as is \"**\".\n"
        "Input is Shift-JIS with CR LF, CR or LF line breaks; every output line ends\n"
        "with the input's line break (CR LF when it has none). The exit status is 0.\n",
    .run = runCalc,
}};

}  // namespace
}  // namespace tabulo::cli
