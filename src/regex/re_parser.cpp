// The grammar of the pattern language and its error reports.
#include "regex/re_parser.h"

#include <utility>
#include <vector>

#include "regex/re_error.h"
#include "regex/re_limits.h"

namespace tabulo::regex {

TREParser::TREParser(std::string pattern) : m_patternBytes(pattern.size()), m_scanner(std::move(pattern)) {}

void TREParser::fail(const char* message) const { throw ERegExpParser(message, m_scanner.position()); }

void TREParser::parse() {
    m_tree.clear();
    m_depth = 0;
    // The parser sees the rewritten pattern; what the user wrote was
    // checked against the smaller bound before the rewrite.
    if (m_patternBytes > limits::kMaxRewrittenBytes) {
        throw ERegExpParser(messages::kTooLong, limits::kMaxRewrittenBytes + 1);
    }
    m_scanner.next();
    const NodeId root = alternation();
    if (current() != TokenKind::End) fail(messages::kExtraChars);
    m_tree.setRoot(root);
    m_tree.makeLeavesDisjoint();
}

NodeId TREParser::alternation() {
    NodeId left = sequence();
    while (current() == TokenKind::Alternation) {
        m_scanner.next();
        const NodeId right = sequence();
        left = m_tree.node(NodeKind::Alternation, left, right);
    }
    return left;
}

NodeId TREParser::sequence() {
    const auto ends = [this] {
        const TokenKind k = current();
        return k == TokenKind::Alternation || k == TokenKind::GroupClose || k == TokenKind::End;
    };
    if (ends()) return m_tree.node(NodeKind::Empty);
    NodeId left = repetition();
    while (!ends()) left = m_tree.node(NodeKind::Concatenation, left, repetition());
    return left;
}

NodeId TREParser::repetition() {
    const NodeId a = atom();
    switch (current()) {
    case TokenKind::Star:
        m_scanner.next();
        return m_tree.node(NodeKind::Star, a);
    case TokenKind::Plus:
        m_scanner.next();
        return m_tree.node(NodeKind::Concatenation, a, m_tree.node(NodeKind::Star, a));
    case TokenKind::Question:
        m_scanner.next();
        return m_tree.node(NodeKind::Alternation, a, m_tree.node(NodeKind::Empty));
    default:
        return a;
    }
}

NodeId TREParser::atom() {
    NodeId result = kNoNode;
    switch (current()) {
    case TokenKind::Char:
        result = m_tree.leaf(m_scanner.code(), m_scanner.code());
        break;
    case TokenKind::GroupOpen:
        // Each group costs stack here and in the automaton construction.
        if (++m_depth > limits::kMaxNesting) fail(messages::kTooDeep);
        m_scanner.next();
        result = alternation();
        if (current() != TokenKind::GroupClose) fail(messages::kNoRightParen);
        --m_depth;
        break;
    case TokenKind::ClassOpen:
        result = charClass();
        break;
    case TokenKind::NegatedClassOpen:
        result = negatedClass();
        break;
    case TokenKind::AnyChar:
        result = m_tree.anyChar();
        break;
    case TokenKind::LineHead:
        result = m_tree.anchor(NodeKind::LineHead, '^');
        break;
    case TokenKind::LineTail:
        result = m_tree.anchor(NodeKind::LineTail, '$');
        break;
    default:
        fail(messages::kAtomNeeded);
    }
    m_scanner.next();
    return result;
}

// Reads the members of a class up to its ], leaving ] current.
namespace {

std::vector<CodeRange> classMembers(TREScanner& scanner) {
    std::vector<CodeRange> members;
    scanner.next();
    if (scanner.kind() == TokenKind::ClassClose) throw ERegExpParser(messages::kBadClass, scanner.position());
    while (scanner.kind() == TokenKind::Char || scanner.kind() == TokenKind::Range) {
        const Code lo = scanner.code();
        const Code hi = scanner.kind() == TokenKind::Range ? scanner.upperCode() : lo;
        members.push_back({lo, hi});
        scanner.next();
    }
    if (scanner.kind() != TokenKind::ClassClose) throw ERegExpParser(messages::kNoRightBracket, scanner.position());
    return members;
}

}  // namespace

NodeId TREParser::charClass() {
    NodeId result = kNoNode;
    for (const CodeRange& m : classMembers(m_scanner)) {
        const NodeId leaf = m_tree.leaf(m.lo, m.hi);
        result = result == kNoNode ? leaf : m_tree.node(NodeKind::Alternation, result, leaf);
    }
    return result;
}

NodeId TREParser::negatedClass() {
    TREParseTree members;
    for (const CodeRange& m : classMembers(m_scanner)) members.leaf(m.lo, m.hi);
    members.makeLeavesDisjoint();

    std::vector<CodeRange> remaining = {{1, 9}, {11, 12}, {14, 0xFCFC}};
    for (const CodeRange& m : members.leafRanges()) {
        std::vector<CodeRange> next;
        for (const CodeRange& r : remaining) {
            if (m.hi < r.lo || m.lo > r.hi) {
                next.push_back(r);
                continue;
            }
            if (r.lo < m.lo) next.push_back({r.lo, static_cast<Code>(m.lo - 1)});
            if (m.hi < r.hi) next.push_back({static_cast<Code>(m.hi + 1), r.hi});
        }
        remaining = std::move(next);
    }
    if (remaining.empty()) return m_tree.node(NodeKind::Nothing);
    NodeId result = kNoNode;
    for (const CodeRange& r : remaining) {
        const NodeId leaf = m_tree.leaf(r.lo, r.hi);
        result = result == kNoNode ? leaf : m_tree.node(NodeKind::Alternation, result, leaf);
    }
    return result;
}

}  // namespace tabulo::regex
