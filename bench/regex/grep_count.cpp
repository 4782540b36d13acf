// regex_grep_count: counts the lines of files that the grep engine reports,
// for the benchmark against other grep programs. With --rewrite it prints
// the pattern after the dictionary rewrite instead, so the same pattern can
// be handed to the other programs.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "regex/dictionary.h"
#include "regex/grep.h"
#include "regex/re_pre_processor.h"

int main(int argc, char** argv) {
    using namespace tabulo::regex;
    int i = 1;
    bool fuzzy = false;
    bool rewrite = false;
    for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
        if (std::strcmp(argv[i], "--fuzzy") == 0) fuzzy = true;
        if (std::strcmp(argv[i], "--rewrite") == 0) rewrite = true;
    }
    if (i >= argc) {
        std::fprintf(stderr, "usage: regex_grep_count [--fuzzy] [--rewrite] PATTERN FILE...\n");
        return 2;
    }
    const std::string pattern = argv[i++];
    if (rewrite) {
        const std::string text = fuzzy ? TREPreProcessor::rewrite(pattern, {&fuzzyCharDictionary()}) : pattern;
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fputc('\n', stdout);
        return 0;
    }
    try {
        TGrep grep;
        grep.SetUseFuzzyCharDic(fuzzy);
        grep.SetRegExp(pattern);
        grep.setLineDetails(false);
        grep.setMapLargeFiles(true);
        unsigned long long count = 0;
        grep.SetOnMatch([&](TGrep&, const RE_LineInfo_t&) { ++count; });
        for (; i < argc; ++i) grep.GrepFile(argv[i]);
        std::printf("%llu\n", count);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "regex_grep_count: %s\n", e.what());
        return 2;
    }
    return 0;
}
