// tabulo-cli guess: the detected kanji code of each file (0 to 6, as the
// code conversion command detects it), a tab and the file name.
#include <exception>
#include <ostream>
#include <string>
#include <vector>

#include "cli/subcommand.h"
#include "kanji/kanji_code.h"

namespace tabulo::cli {

int runGuess(const std::vector<std::string>& args, Streams& io) {
    if (args.empty()) {
        io.err << "usage: tabulo-cli guess FILE...\n";
        return 2;
    }
    int status = 0;
    for (const std::string& path : args) {
        // A file that cannot be read is reported and the others still get
        // their line.
        try {
            const std::string text = readInput(path, io.in);
            io.out << kanji::InCodeCheck(text) << '\t' << path << '\n';
        } catch (const std::exception& e) {
            io.err << "tabulo-cli guess: " << e.what() << '\n';
            status = 2;
        }
    }
    return status;
}

}  // namespace tabulo::cli
