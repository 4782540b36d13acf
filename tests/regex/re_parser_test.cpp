// Parse trees of the pattern syntax, leaf sharing and the disjoint-leaf
// partition.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "regex/re_parser.h"

namespace tabulo::regex {
namespace {

std::string show(const TREParseTree& t, NodeId id) {
    const ParseNode& n = t.at(id);
    switch (n.kind) {
    case NodeKind::Leaf: {
        if (n.range.lo == n.range.hi && n.range.lo > 32 && n.range.lo < 127) return std::string(1, static_cast<char>(n.range.lo));
        char buf[32];
        std::snprintf(buf, sizeof buf, "{%X-%X}", n.range.lo, n.range.hi);
        return buf;
    }
    case NodeKind::LineHead: return "^";
    case NodeKind::LineTail: return "$";
    case NodeKind::Concatenation: return "(. " + show(t, n.left) + " " + show(t, n.right) + ")";
    case NodeKind::Alternation: return "(| " + show(t, n.left) + " " + show(t, n.right) + ")";
    case NodeKind::Star: return "(* " + show(t, n.left) + ")";
    case NodeKind::Empty: return "()";
    case NodeKind::Nothing: return "!";
    }
    return "?";
}

std::string parsed(const std::string& pattern) {
    TREParser p(pattern);
    p.parse();
    return show(p.tree(), p.tree().root());
}

TEST(TREParser, TreesOfTheSyntax) {
    struct Case {
        std::string pattern;
        std::string tree;
    };
    const std::vector<Case> cases = {
        {"", "()"},
        {"()", "()"},
        {"a|", "(| a ())"},
        {"(|a)", "(| () a)"},
        {"abc", "(. (. a b) c)"},
        {"a|b|c", "(| (| a b) c)"},
        {"ab*", "(. a (* b))"},
        {"a+", "(. a (* a))"},
        {"a?", "(| a ())"},
        {"(ab)+", "(. (. a b) (* (. a b)))"},
        {"^a$", "(. (. ^ a) $)"},
        {"[a-]", "(| a -)"},
        {"[-a]", "(| - a)"},
        {"[\\x41-\\x5a]", "{41-5A}"},
        {"[\x82\xA0-\x82\xF1]", "{82A0-82F1}"},
        {".", "(| (| {1-9} {B-C}) {E-FCFC})"},
        {"[^\\x01-\\x09]", "(| {B-C} {E-FCFC})"},
        {"[^a]", "(| (| (| {1-9} {B-C}) {E-60}) {62-FCFC})"},
        {"\\x41G", "(. A G)"},
        {"\\x82a0a", "(. {82A0-82A0} a)"},
        {"\\101", "A"},
    };
    for (const Case& c : cases) EXPECT_EQ(parsed(c.pattern), c.tree) << c.pattern;
}

TEST(TREParser, ANegatedClassCoveringEverythingMatchesNothing) {
    EXPECT_EQ(parsed("[^\\x01-\\x09\\x0b-\\x0c\\x0e-\\xfcfc]"), "!");
    EXPECT_EQ(parsed("a[^\\x01-\\xfcfc]"), "(. a !)");
}

TEST(TREParseTree, LeavesAreSharedAndMadeDisjoint) {
    TREParser p("aaaa[a-c]x[b-z]");
    p.parse();
    const std::vector<CodeRange> expected = {{'a', 'a'}, {'b', 'c'}, {'d', 'w'}, {'x', 'x'}, {'y', 'z'}};
    EXPECT_EQ(p.tree().leafRanges(), expected);
    // The class [a-c] became the alternation of its pieces; its meaning is kept.
    EXPECT_EQ(show(p.tree(), p.tree().root()),
              "(. (. (. (. (. (. a a) a) a) (| a {62-63})) x) (| {62-63} (| {64-77} (| x {79-7A}))))");
}

TEST(TREParseTree, PartitionOfOverlappingClassesAndAnyCharacter) {
    TREParser p("[\\x01-\\x7f].\\n[^\\x80-\\xff]");
    p.parse();
    const std::vector<CodeRange> expected = {{1, 9}, {10, 10}, {11, 12}, {13, 13}, {14, 0x7F}, {0x80, 0xFF}, {0x100, 0xFCFC}};
    EXPECT_EQ(p.tree().leafRanges(), expected);
}

TEST(TREParseTree, AnchorCharactersArePartOfThePartition) {
    // ^ inside the pattern is a character; a class containing it is split so
    // that the automaton never sees overlapping labels.
    TREParser p("a^[\\x5d-\\x5f]");
    p.parse();
    const std::vector<CodeRange> expected = {{']', ']'}, {'^', '^'}, {'_', '_'}, {'a', 'a'}};
    EXPECT_EQ(p.tree().leafRanges(), expected);
}

}  // namespace
}  // namespace tabulo::regex
