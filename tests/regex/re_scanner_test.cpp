// Tokens, escape sequences and every pattern error with its position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex/re_error.h"
#include "regex/re_parser.h"
#include "regex/re_scanner.h"

namespace tabulo::regex {
namespace {

struct Tok {
    TokenKind kind;
    Code code;
    Code upper;
    friend bool operator==(const Tok&, const Tok&) = default;
};

std::vector<Tok> scanAll(const std::string& pattern) {
    TREScanner s(pattern);
    std::vector<Tok> out;
    for (;;) {
        const TokenKind k = s.next();
        out.push_back({k, k == TokenKind::End ? Code{0} : s.code(), k == TokenKind::Range ? s.upperCode() : Code{0}});
        if (k == TokenKind::End) return out;
    }
}

TEST(TREScanner, MetacharactersAndOrdinaryCharacters) {
    using K = TokenKind;
    const auto toks = scanAll("$()*+.?]^|-{}\x82\xA0");
    const std::vector<K> kinds = {K::LineTail, K::GroupOpen, K::GroupClose, K::Star, K::Plus, K::AnyChar,
                                  K::Question, K::ClassClose, K::LineHead, K::Alternation, K::Char, K::Char,
                                  K::Char, K::Char, K::End};
    ASSERT_EQ(toks.size(), kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(toks[i].kind, kinds[i]) << i;
    EXPECT_EQ(toks[13].code, 0x82A0);
}

TEST(TREScanner, InsideClassesOnlyRangesAndTheCloseAreSpecial) {
    using K = TokenKind;
    struct Case {
        std::string pattern;
        std::vector<Tok> tokens;
    };
    const std::vector<Case> cases = {
        {"[a-]", {{K::ClassOpen, '[', 0}, {K::Char, 'a', 0}, {K::Char, '-', 0}, {K::ClassClose, ']', 0}, {K::End, 0, 0}}},
        {"[-a]", {{K::ClassOpen, '[', 0}, {K::Char, '-', 0}, {K::Char, 'a', 0}, {K::ClassClose, ']', 0}, {K::End, 0, 0}}},
        {"[^^[]", {{K::NegatedClassOpen, '[', 0}, {K::Char, '^', 0}, {K::Char, '[', 0}, {K::ClassClose, ']', 0}, {K::End, 0, 0}}},
        {"[\\x41-\\x5a]", {{K::ClassOpen, '[', 0}, {K::Range, 'A', 'Z'}, {K::ClassClose, ']', 0}, {K::End, 0, 0}}},
        {"[\x82\xA0-\x82\xF1]", {{K::ClassOpen, '[', 0}, {K::Range, 0x82A0, 0x82F1}, {K::ClassClose, ']', 0}, {K::End, 0, 0}}},
        {"[\\]]", {{K::ClassOpen, '[', 0}, {K::Char, ']', 0}, {K::ClassClose, ']', 0}, {K::End, 0, 0}}},
        {"[*]*", {{K::ClassOpen, '[', 0}, {K::Char, '*', 0}, {K::ClassClose, ']', 0}, {K::Star, '*', 0}, {K::End, 0, 0}}},
    };
    for (const Case& c : cases) EXPECT_EQ(scanAll(c.pattern), c.tokens) << c.pattern;
}

TEST(TREScanner, EscapeSequences) {
    struct Case {
        std::string pattern;
        std::vector<Code> codes;
    };
    const std::vector<Case> cases = {
        {"\\b\\n\\r\\t", {8, 10, 13, 9}},
        {"\\x41G", {'A', 'G'}},
        {"\\x82a0a", {0x82A0, 'a'}},
        {"\\x4", {4}},
        {"\\101", {'A'}},
        {"\\0", {0}},
        {"\\1779", {0x7F, '9'}},
        {"\\177777", {0xFFFF}},
        {"\\8", {'8'}},
        {"\\\\\\.\\[\\\x82\xA0", {'\\', '.', '[', 0x82A0}},
    };
    for (const Case& c : cases) {
        TREScanner s(c.pattern);
        std::vector<Code> got;
        while (s.next() != TokenKind::End) {
            EXPECT_EQ(s.kind(), TokenKind::Char) << c.pattern;
            got.push_back(s.code());
        }
        EXPECT_EQ(got, c.codes) << c.pattern;
    }
}

TEST(ERegExpParser, EveryErrorWithItsMessageAndPosition) {
    struct Case {
        std::string pattern;
        std::string message;
        std::size_t position;
    };
    const std::vector<Case> cases = {
        {"ab\x82", "不正な２バイト文字コードです。", 3},
        {"[a\x95", "不正な２バイト文字コードです。", 3},
        {"a\\", "\"\\\"の次には文字が必要です。", 3},
        {"\\xG", "不正な１６進数コード表記です。", 3},
        {"\\x", "不正な１６進数コード表記です。", 3},
        {"\\x\x82\xA0", "不正な１６進数コード表記です。", 3},
        {"\\777777", "不正な８進数コード表記です。", 8},
        {"[abc", "右ブラケット\"]\"が必要です", 5},
        {"[", "右ブラケット\"]\"が必要です", 2},
        {"[a-", "右ブラケット\"]\"が必要です", 4},
        {"[z-a]", "不正なキャラクタ範囲です", 5},
        {"[]", "不正なキャラクタクラス指定です。", 3},
        {"[^]", "不正なキャラクタクラス指定です。", 4},
        {"[]a]", "不正なキャラクタクラス指定です。", 3},
        {"(ab", "右(閉じ)括弧が必要です", 4},
        {"*a", "普通の文字、または左括弧\"(\"が必要です", 2},
        {"a**", "普通の文字、または左括弧\"(\"が必要です", 4},
        {"a+?", "普通の文字、または左括弧\"(\"が必要です", 4},
        {"a|+b", "普通の文字、または左括弧\"(\"が必要です", 4},
        {"a]", "普通の文字、または左括弧\"(\"が必要です", 3},
        {"a)b", "正規表現に余分な文字があります", 3},
    };
    for (const Case& c : cases) {
        TREParser parser(c.pattern);
        try {
            parser.parse();
            ADD_FAILURE() << "no error for " << c.pattern;
        } catch (const ERegExpParser& e) {
            EXPECT_EQ(e.what(), c.message) << c.pattern;
            EXPECT_EQ(e.position(), c.position) << c.pattern;
        }
    }
}

}  // namespace
}  // namespace tabulo::regex
