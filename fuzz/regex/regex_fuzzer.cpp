// Fuzz target of the pattern pipeline. Input: a flags byte, a pattern length
// byte, the pattern, with flag 4 a repeat count byte (the pattern is written
// that many times over, up to and past the length bound), then the subject.
// The pattern goes through the preprocessor (with or without the fuzzy
// dictionary), the parser and the automata; the subject through Match and
// Split of TAWKStr and, as a file, through TGrep at several block sizes.
// Every result must agree with the slow reference matcher of the tests and
// with the search that gives way to its backward walk at once; the
// lazily built automaton with the smallest state cache (flag 8: the
// unanchored one) must step as the NFA's state sets do; a refused pattern
// must raise a pattern error and leave the empty pattern current.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "common/fuzz_check.h"
#include "regex/awk_str.h"
#include "regex/dictionary.h"
#include "regex/grep.h"
#include "regex/lazy_dfa.h"
#include "regex/re_error.h"
#include "regex/re_pre_processor.h"
#include "regex/reference_matcher.h"

using namespace tabulo::regex;
using tabulo::fuzz::check;
namespace ref = tabulo::regex::testing;

namespace {

// The reference is slow (sets of NFA states at every start); beyond these
// sizes only the engine's own properties are checked.
constexpr std::size_t kReferencePatternBytes = 600;
constexpr std::size_t kReferenceSubjectBytes = 400;

const std::string& scratchFile() {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir && *dir ? dir : "/tmp") + "/tabulo-fuzz-regex-" + std::to_string(getpid());
    }();
    return path;
}

std::vector<ref::RefHit> grepFile(TGrep& g, std::size_t blockSize) {
    std::vector<ref::RefHit> hits;
    g.setBlockSize(blockSize);
    g.SetOnMatch([&](TGrep&, const RE_LineInfo_t& hit) { hits.push_back({hit.LineNo, hit.Line}); });
    g.GrepFile(scratchFile());
    return hits;
}

// Walks the subject's codes with a cache of the fewest states, so that it is
// emptied and stepping sets takes over, beside a plain simulation of the sets.
void checkTinyCache(const TRE_NFA& nfa, bool unanchored, const std::string& subject, const std::string& detail) {
    detail::LazyDfa tiny(nfa, 0, 1, unanchored, 0);
    ref::NfaSetWalk sets(nfa, unanchored);
    std::basic_string<Code> codes;
    appendCodes(subject, codes);
    int state = tiny.initial();
    for (const Code code : codes) {
        const bool accepting = sets.step(code);
        state = tiny.next(state, code);
        if (state == detail::LazyDfa::kNone) {
            check(!unanchored && !sets.alive(), "the automaton ends only where no NFA state is left", detail);
            return;
        }
        check(tiny.accepts(state) == accepting, "the smallest state cache accepts as the NFA sets do", detail);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tabulo::fuzz::ByteReader in(data, size);
    const std::uint8_t flags = in.byte();
    const bool fuzzy = flags & 1;
    const auto separator = flags & 2 ? TMatchCORE_LineSeparator::mcls_LF : TMatchCORE_LineSeparator::mcls_CRLF;
    std::string pattern = in.take(in.byte());
    if (flags & 4) {
        const std::string unit = pattern;
        for (std::uint8_t n = in.byte(); n > 0; --n) pattern += unit;
    }
    const std::string subject = in.rest();
    const std::string detail = pattern + " / " + subject;

    TAWKStr awk;
    awk.SetUseFuzzyCharDic(fuzzy);
    awk.SetLineSeparator(separator);
    try {
        awk.SetRegExp(pattern);
    } catch (const ERegExpParser& e) {
        // With the fuzzy dictionary on, the position counts in the rewritten
        // pattern (the parser never sees the one the user wrote).
        std::size_t parsedSize = pattern.size();
        if (fuzzy) {
            try {
                parsedSize = TREPreProcessor::rewrite(pattern, {&fuzzyCharDictionary()}).size();
            } catch (const ERegExpParser&) {
                // The rewrite's own scan found the error.
            }
        }
        check(e.position() >= 1 && e.position() <= parsedSize + 1, "an error position lies in the parsed pattern",
              std::to_string(e.position()) + " " + e.what() + " " + detail);
        namespace m = messages;
        static const std::string_view kMessages[] = {
            m::kBadDoubleByte, m::kBackslashAtEnd, m::kBadHex,      m::kBadOctal, m::kNoRightBracket, m::kBadRange,
            m::kBadClass,      m::kNoRightParen,   m::kAtomNeeded,  m::kExtraChars, m::kTooLong,      m::kTooDeep};
        check(std::find(std::begin(kMessages), std::end(kMessages), e.what()) != std::end(kMessages),
              "a refused pattern gets one of the pattern errors", detail);
        check(awk.RegExp().empty(), "a refused pattern leaves the empty pattern", detail);
        std::size_t length = 9;
        check(awk.Match(subject, length) == 1 && length == 0, "the empty pattern matches empty at the start", detail);
        TGrep g;
        g.SetUseFuzzyCharDic(fuzzy);
        try {
            g.SetRegExp(pattern);
            check(false, "the grep engine refuses what the string matcher refuses", detail);
        } catch (const ERegExpParser& ge) {
            check(std::string_view(ge.what()) == e.what(), "both front ends give the same error", detail);
        }
        return 0;
    }

    const std::string rewritten = fuzzy ? TREPreProcessor::rewrite(pattern, {&fuzzyCharDictionary()}) : pattern;
    const bool withReference = rewritten.size() <= kReferencePatternBytes && subject.size() <= kReferenceSubjectBytes;

    // The string matcher reads a subject up to its first zero byte.
    const std::string cString = subject.substr(0, subject.find('\0'));
    std::size_t length = 0;
    const std::size_t pos = awk.Match(subject, length);
    check(pos == 0 ? length == 0 : pos - 1 + length <= cString.size(), "a match lies inside the subject", detail);
    if (withReference) {
        const auto expected =
            ref::referenceSearch(rewritten, cString, separator == TMatchCORE_LineSeparator::mcls_CRLF ? 13 : 10);
        if (expected) {
            check(pos == expected->first + 1 && length == expected->second - expected->first,
                  "Match agrees with the reference", detail);
        } else {
            check(pos == 0, "Match finds nothing where the reference finds nothing", detail);
        }
    }

    // The backward walk that takes over from failing attempts, forced at
    // once, finds the same match.
    TAWKStr walk;
    walk.SetUseFuzzyCharDic(fuzzy);
    walk.SetLineSeparator(separator);
    walk.SetRegExp(pattern);
    walk.SetAttemptBudget(0);
    std::size_t walkLength = 0;
    check(walk.Match(subject, walkLength) == pos && walkLength == length, "the backward walk finds what the attempts find",
          detail);

    checkTinyCache(awk.dfa().nfa(), flags & 8, subject, detail);

    std::vector<std::string> fields;
    const std::size_t count = awk.Split(subject, fields);
    check(count == fields.size(), "Split returns its field count", detail);
    std::size_t fieldBytes = 0;
    for (const std::string& f : fields) fieldBytes += f.size();
    check(fieldBytes <= cString.size(), "fields are taken from the subject", detail);

    TGrep g;
    g.SetUseFuzzyCharDic(fuzzy);
    g.SetRegExp(pattern);
    {
        std::ofstream out(scratchFile(), std::ios::binary | std::ios::trunc);
        out.write(subject.data(), static_cast<std::streamsize>(subject.size()));
    }
    const auto whole = grepFile(g, TTxtFile::kBlockSize);
    for (std::size_t block : {std::size_t{1}, std::size_t{3}, std::size_t{64}}) {
        check(grepFile(g, block) == whole, "grep gives the same lines at every block size", detail);
    }
    if (withReference) {
        check(whole == ref::referenceGrep(rewritten, subject), "grep agrees with the reference", detail);
    }
    std::remove(scratchFile().c_str());
    return 0;
}
