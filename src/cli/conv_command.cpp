// tabulo-cli conv: converts every line of the input as the window's code
// conversion command does over a whole-text line range, and writes the
// document text (CR LF between lines, a final break only when the input had
// one).
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "cli/subcommand.h"
#include "kanji/code_conversion.h"

namespace tabulo::cli {
namespace {

constexpr const char* kUsage = "usage: tabulo-cli conv --to sjis|jis|euc|base64|uuencode|binhex [FILE]\n";

bool targetNamed(const std::string& name, kanji::TargetCode& target) {
    static const std::pair<const char*, kanji::TargetCode> kTargets[] = {
        {"sjis", kanji::TargetCode::ShiftJis}, {"jis", kanji::TargetCode::Jis},
        {"euc", kanji::TargetCode::Euc},       {"base64", kanji::TargetCode::Base64},
        {"uuencode", kanji::TargetCode::UUencode}, {"binhex", kanji::TargetCode::BinHex},
    };
    for (const auto& [known, code] : kTargets) {
        if (name == known) {
            target = code;
            return true;
        }
    }
    return false;
}

}  // namespace

int runConv(const std::vector<std::string>& args, Streams& io) {
    std::string targetName;
    std::string path;
    bool havePath = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--to") {
            if (i + 1 == args.size()) {
                io.err << "tabulo-cli conv: --to needs a code\n" << kUsage;
                return 2;
            }
            targetName = args[++i];
        } else if (arg.rfind("--to=", 0) == 0) {
            targetName = arg.substr(5);
        } else if (arg.size() > 1 && arg[0] == '-') {
            io.err << "tabulo-cli conv: unknown option '" << arg << "'\n" << kUsage;
            return 2;
        } else if (havePath) {
            io.err << "tabulo-cli conv: more than one FILE\n" << kUsage;
            return 2;
        } else {
            path = arg;
            havePath = true;
        }
    }
    kanji::TargetCode target{};
    if (!targetNamed(targetName, target)) {
        io.err << (targetName.empty() ? std::string("tabulo-cli conv: --to is required\n")
                                      : "tabulo-cli conv: unknown code '" + targetName + "'\n")
               << kUsage;
        return 2;
    }
    const std::string converted = kanji::convertDocumentText(readInput(path, io.in), target);
    io.out.write(converted.data(), static_cast<std::streamsize>(converted.size()));
    return 0;
}

}  // namespace tabulo::cli
