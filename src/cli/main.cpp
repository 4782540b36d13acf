// tabulo-cli: the program's engines for scripts and pipelines.
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "cli/subcommand.h"
#include "cli/subcommands.h"

namespace tabulo::cli {

std::string readInput(const std::string& path, std::istream& stdinStream) {
    if (path.empty() || path == "-") {
        return std::string(std::istreambuf_iterator<char>(stdinStream), {});
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error(path + ": cannot open file: " + std::strerror(errno));
    return std::string(std::istreambuf_iterator<char>(file), {});
}

namespace {

void printHelp(std::ostream& out) {
    out << "usage: tabulo-cli SUBCOMMAND [ARGS...]\n"
           "\n"
           "The engines of the Tabulo editor for Shift-JIS text, for scripts and pipelines.\n"
           "Input and output are Shift-JIS bytes.\n"
           "\n"
           "subcommands:\n";
    for (const Subcommand& sub : kSubcommands) {
        out << "  " << sub.name << ' ' << sub.usage << "\n      " << sub.summary << '\n';
    }
    out << "\n  --help  show this text\n";
}

}  // namespace
}  // namespace tabulo::cli

int main(int argc, char** argv) {
    using namespace tabulo::cli;
    std::ios::sync_with_stdio(false);
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        printHelp(std::cout);
        return argc < 2 ? 2 : 0;
    }
    for (const Subcommand& sub : kSubcommands) {
        if (std::strcmp(argv[1], sub.name) != 0) continue;
        std::vector<std::string> args(argv + 2, argv + argc);
        Streams io{std::cin, std::cout, std::cerr};
        try {
            const int status = sub.run(args, io);
            std::cout.flush();
            return status;
        } catch (const std::exception& e) {
            std::cout.flush();
            std::cerr << "tabulo-cli " << sub.name << ": " << e.what() << '\n';
            return 2;
        }
    }
    std::cerr << "tabulo-cli: unknown subcommand '" << argv[1] << "' (see tabulo-cli --help)\n";
    return 2;
}
