// Fuzz target of keyword files. Input: a flags byte, an extension length
// byte and the script's extension, then a keyword file's bytes. The file is
// read from a folder of its own for a script with that extension: the words
// found are lines of the file after the first, none empty and none holding
// a line break, and they are found only when the first line serves the
// extension. Round trips: a file written as the program writes its built-in
// ones (first line, words, CR LF) gives its words back, for the fuzzed words
// as for the built-in files.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/fuzz_check.h"
#include "script/engine/keyword_file.h"

using namespace tabulo::script;
using tabulo::fuzz::check;

namespace {

const std::string& folder() {
    static const std::string path = tabulo::fuzz::scratchPath("kwd") + "/";
    return path;
}

void writeOnly(const std::string& bytes) {
    std::filesystem::remove_all(folder());
    std::filesystem::create_directories(folder());
    std::ofstream(folder() + "Fuzz.kwd", std::ios::binary) << bytes;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += text[i];
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tabulo::fuzz::ByteReader in(data, size);
    const std::uint8_t flags = in.byte();
    std::string extension = in.take(in.byte() % 8);
    // Letters and digits: one extension of a plain file name, as typed.
    for (char& c : extension) c = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"[static_cast<unsigned char>(c) % 62];
    const std::string bytes = in.rest();
    const std::string script = "script." + extension;

    writeOnly(bytes);
    const std::vector<std::string> words = loadKeywords(script, folder());
    const std::vector<std::string> lines = linesOf(bytes);
    for (const std::string& word : words) {
        check(!word.empty() && word.find_first_of("\r\n") == std::string::npos,
              "a word is a line of its own, not empty", bytes);
        bool found = false;
        for (std::size_t i = 1; i < lines.size() && !found; ++i) found = lines[i] == word;
        check(found, "every word is a line after the first", bytes);
    }
    check(loadKeywords("script", folder()).empty(), "a script without an extension has no keywords", bytes);

    // The fuzzed lines as words of a file that serves the extension.
    {
        std::vector<std::string> expected;
        std::string file = (flags & 1 ? " .Q, ." : ".") + extension + "\r\n";
        for (const std::string& line : lines) {
            if (line.empty()) continue;
            expected.push_back(line);
            file += line + "\r\n";
        }
        writeOnly(file);
        check(loadKeywords(script, folder()) == expected, "the words written come back in order", file);
    }

    const std::vector<BuiltInKeywordFile>& builtIns = builtInKeywordFiles();
    const BuiltInKeywordFile& builtIn = builtIns[flags % builtIns.size()];
    writeOnly(keywordFileBytes(builtIn));
    const std::string served(builtIn.extensions.substr(0, builtIn.extensions.find(',')));
    const std::vector<std::string> back = loadKeywords("x" + served, folder());
    check(back == std::vector<std::string>(builtIn.words.begin(), builtIn.words.end()),
          "a built-in file gives its words back", served);
    std::filesystem::remove_all(folder());
    return 0;
}
