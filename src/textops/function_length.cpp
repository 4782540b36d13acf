// Function body lengths by first-column braces. The counter of non-blank lines
// restarts at every first-column brace, so the "header" of a body is whatever
// non-blank text stands since the previous brace.
#include "textops/function_length.h"

#include <cstdio>
#include <utility>

#include "sjis/sjis_char.h"
#include "textops/trim_blanks.h"

namespace tabulo::textops {

using sjis::charLengthAt;

namespace {

constexpr bool isIdentifierStart(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte == '_';
}

constexpr bool isIdentifierByte(unsigned char byte) {
    return isIdentifierStart(byte) || (byte >= '0' && byte <= '9');
}

std::string reportLine(long count, const std::string& name) {
    char number[32];
    std::snprintf(number, sizeof number, "%5ld", count);
    return std::string(number) + '\t' + name + '\n';
}

}  // namespace

std::string functionNameOfLine(std::string_view line) {
    // '(' and '#' are below 0x40 and so never trail bytes: a byte search is exact.
    if (line.find('(') == std::string_view::npos) return {};
    std::string_view name;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const auto byte = static_cast<unsigned char>(line[pos]);
        if (byte == '(' || byte == '#') break;
        if (isIdentifierStart(byte)) {
            const std::size_t start = pos;
            while (pos < line.size() && isIdentifierByte(static_cast<unsigned char>(line[pos]))) ++pos;
            name = line.substr(start, pos - start);
            continue;
        }
        pos += charLengthAt(line, pos);
    }
    return std::string(name);
}

FunctionReport countFunctionLines(const std::vector<std::string>& lines, const ProgressFn& progress) {
    FunctionReport report;
    std::string name;
    long counter = 0;
    long headerCount = 0;
    std::size_t functions = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (!line.empty() && line.front() == '{') {
            headerCount = counter;
            counter = 0;
        } else if (!line.empty() && line.front() == '}') {
            if (line.find(';') == std::string::npos && headerCount > 0) {
                report.text += reportLine(counter, name);
                ++functions;
            }
            name.clear();
            headerCount = 0;
            counter = 0;
        } else if (!isBlankLine(line)) {
            ++counter;
            if (headerCount == 0) {
                std::string found = functionNameOfLine(line);
                if (!found.empty()) name = std::move(found);
            }
        }
        if (progress && !progress({i, functions})) {
            report.stopped = true;
            break;
        }
    }
    return report;
}

}  // namespace tabulo::textops
