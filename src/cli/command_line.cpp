// Option matching: long names with "=VALUE" or the next argument, short
// names alone.
#include "cli/command_line.h"

#include "cli/cli_error.h"

namespace tabulo::cli {

namespace {

const std::vector<OptionSpec> kGlobalOptions = {
    {"--args-encoding", nullptr, OptionKind::Value, "sjis|utf-8",
     "read text arguments (patterns) as Shift-JIS bytes or as UTF-8; by default\n"
     "      a UTF-8 locale reads valid UTF-8 as UTF-8 and anything else as Shift-JIS"},
    {"--output-encoding", nullptr, OptionKind::Value, "sjis|utf-8",
     "write the output as Shift-JIS or UTF-8; by default UTF-8 on a terminal\n"
     "      of a UTF-8 locale, Shift-JIS to pipes and files"},
    {"--help", "-h", OptionKind::Flag, "", "show the help and exit"},
    {"--version", nullptr, OptionKind::Flag, "", "show the version and exit"},
};

struct Match {
    const OptionSpec* spec = nullptr;
    std::optional<std::string> inlineValue;  // --name=VALUE
};

Match match(const std::vector<OptionSpec>& specs, const std::string& arg) {
    const std::size_t eq = arg.find('=');
    const std::string name = arg.rfind("--", 0) == 0 && eq != std::string::npos ? arg.substr(0, eq) : arg;
    for (const OptionSpec& spec : specs) {
        if (name == spec.name || (spec.shortName != nullptr && name == spec.shortName)) {
            Match m{&spec, std::nullopt};
            if (name.size() != arg.size()) m.inlineValue = arg.substr(eq + 1);
            return m;
        }
    }
    return {};
}

// The option's value: inline or the next argument.
std::string takeValue(const Match& m, const std::vector<std::string>& args, std::size_t& i) {
    if (m.inlineValue) return *m.inlineValue;
    if (i + 1 >= args.size()) throw UsageError(std::string(m.spec->name) + " needs a value");
    return args[++i];
}

Encoding encodingValue(const char* option, const std::string& value) {
    if (const std::optional<Encoding> e = encodingNamed(value)) return *e;
    throw UsageError(std::string("unknown encoding '") + value + "' for " + option + " (sjis or utf-8)");
}

// Applies a global option; false when arg is not one.
bool applyGlobal(const std::vector<std::string>& args, std::size_t& i, GlobalOptions& global) {
    const Match m = match(kGlobalOptions, args[i]);
    if (m.spec == nullptr) return false;
    const std::string name = m.spec->name;
    if (m.spec->kind == OptionKind::Flag) {
        if (m.inlineValue) throw UsageError(name + " takes no value");
        (name == "--help" ? global.help : global.version) = true;
    } else if (name == "--args-encoding") {
        global.argsEncoding = encodingValue(m.spec->name, takeValue(m, args, i));
    } else {
        global.outputEncoding = encodingValue(m.spec->name, takeValue(m, args, i));
    }
    return true;
}

bool looksLikeOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

}  // namespace

const std::vector<OptionSpec>& globalOptionSpecs() {
    return kGlobalOptions;
}

std::size_t parseGlobalOptions(const std::vector<std::string>& args, std::size_t from, GlobalOptions& global) {
    std::size_t i = from;
    for (; i < args.size(); ++i) {
        if (!looksLikeOption(args[i])) break;
        if (!applyGlobal(args, i, global)) throw UsageError("unknown option '" + args[i] + "'");
    }
    return i;
}

ParsedArguments parseArguments(const Subcommand& subcommand, const std::vector<std::string>& args,
                               GlobalOptions& global) {
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !looksLikeOption(arg)) {
            parsed.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (applyGlobal(args, i, global)) continue;
        const Match m = match(subcommand.options, arg);
        if (m.spec == nullptr) throw UsageError("unknown option '" + arg + "'");
        if (m.spec->kind == OptionKind::Flag) {
            if (m.inlineValue) throw UsageError(std::string(m.spec->name) + " takes no value");
            parsed.options.emplace_back(m.spec->name, std::string());
        } else {
            parsed.options.emplace_back(m.spec->name, takeValue(m, args, i));
        }
    }
    if (global.help || global.version) return parsed;
    const std::size_t count = parsed.operands.size();
    if (count < subcommand.minOperands) {
        throw UsageError("missing operand");
    }
    if (count > subcommand.maxOperands) throw UsageError("too many operands");
    return parsed;
}

}  // namespace tabulo::cli
