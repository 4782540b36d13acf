// tabulo-cli calc: the line calculator over the lines of a file or of
// standard input, one output line per calc line, as F9 would answer it.
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "calc/expr_compo.h"
#include "calc/line_calculation.h"
#include "calc/text_calculation.h"
#include "cli/subcommand.h"
#include "platform/codec/sjis_codec.h"

namespace tabulo::cli {

namespace {

constexpr const char* kCalcHelp =
    "usage: tabulo-cli calc [FILE]\n"
    "\n"
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
    "Input is Shift-JIS with CR LF, CR or LF line breaks (0x1A ends it); output is\n"
    "Shift-JIS with LF line breaks. The exit status is 0.\n";

}  // namespace

int runCalc(const std::vector<std::string>& args, Streams& io) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        io.out << kCalcHelp;
        return 0;
    }
    if (args.size() > 1) {
        io.err << "tabulo-cli calc: too many arguments\n" << kCalcHelp;
        return 2;
    }
    const std::string input = readInput(args.empty() ? std::string() : args[0], io.in);
    calc::TExprCompo evaluator;
    calc::defineConstants(evaluator);
    const platform::SjisCodec& codec = platform::SjisCodec::instance();
    io.out << calc::calculateText(evaluator, input,
                                  [&codec](std::string_view utf8) { return codec.fromUtf8Lossy(utf8); });
    return 0;
}

}  // namespace tabulo::cli
