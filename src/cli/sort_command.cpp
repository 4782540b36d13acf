// tabulo-cli sort: sorts the lines of a Shift-JIS text as the window's line
// sort does with the whole text selected. The lines stay views into the one
// input buffer, so a large file costs its size plus 16 bytes a line.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/subcommand.h"
#include "textops/document_text.h"
#include "textops/line_sort.h"

namespace tabulo::cli {

namespace {

// Reads a named file in one block of its exact size; readInput serves standard input.
std::string readWholeInput(const std::string& path, std::istream& stdinStream) {
    if (path.empty() || path == "-") return readInput(path, stdinStream);
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) throw std::runtime_error(path + ": cannot open file: " + std::strerror(errno));
    const std::streamoff size = file.tellg();
    if (size < 0) return readInput(path, stdinStream);
    std::string text(static_cast<std::size_t>(size), '\0');
    file.seekg(0);
    if (!file.read(text.data(), size)) throw std::runtime_error(path + ": cannot read file");
    return text;
}

}  // namespace

int runSort(const std::vector<std::string>& args, Streams& io) {
    textops::SortOrder order = textops::SortOrder::Ascending;
    std::string path;
    bool havePath = false;
    for (const std::string& arg : args) {
        if (arg == "--reverse" || arg == "-r") {
            order = textops::SortOrder::Descending;
        } else if (arg.size() > 1 && arg[0] == '-') {
            io.err << "tabulo-cli sort: unknown option '" << arg << "'\n";
            return 2;
        } else if (havePath) {
            io.err << "tabulo-cli sort: more than one FILE\n";
            return 2;
        } else {
            path = arg;
            havePath = true;
        }
    }
    const std::string text = readWholeInput(path, io.in);
    const textops::SortedText sorted(text, order);
    textops::writeDocumentText(io.out, sorted, sorted.finalBreak());
    return 0;
}

}  // namespace tabulo::cli
