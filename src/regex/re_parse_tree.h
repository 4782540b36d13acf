// TREParseTree owns the nodes of a parsed pattern. Leaves are code ranges
// and are shared: asking twice for the same range gives the same leaf.
// After makeLeavesDisjoint() every leaf range is disjoint from every other,
// and those ranges form the alphabet of the automaton.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "regex/sjis.h"

namespace tabulo::regex {

enum class NodeKind {
    Leaf,
    LineHead,
    LineTail,
    Concatenation,
    Alternation,
    Star,
    Empty,
    // A negated class whose members cover every character: matches nothing.
    Nothing,
};

struct CodeRange {
    Code lo;
    Code hi;
    friend bool operator<(const CodeRange& a, const CodeRange& b) {
        return a.lo != b.lo ? a.lo < b.lo : a.hi < b.hi;
    }
    friend bool operator==(const CodeRange&, const CodeRange&) = default;
};

using NodeId = int;
inline constexpr NodeId kNoNode = -1;

struct ParseNode {
    NodeKind kind;
    CodeRange range{0, 0};  // leaf range; for anchors the one-code range of ^ or $
    NodeId left = kNoNode;
    NodeId right = kNoNode;
    // An alternation that was a leaf before the partition: its pieces cover
    // exactly its range, which it keeps.
    bool splitLeaf = false;
};

class TREParseTree {
public:
    TREParseTree();

    NodeId leaf(Code lo, Code hi);
    NodeId node(NodeKind kind, NodeId left = kNoNode, NodeId right = kNoNode);
    // A ^ or $ node; its character also gets a leaf, so that where it is not
    // an anchor it reads as an ordinary character of the partition.
    NodeId anchor(NodeKind kind, Code character);
    NodeId anyChar();
    // Turns the leaf into alternation(left, right) in place; nodes referring to
    // it keep their meaning as long as the operands cover its range.
    void leafToAlternation(NodeId leaf, NodeId left, NodeId right);
    void makeLeavesDisjoint();
    void clear();

    const ParseNode& at(NodeId id) const { return m_nodes[static_cast<std::size_t>(id)]; }
    std::vector<CodeRange> leafRanges() const;

    NodeId root() const { return m_root; }
    void setRoot(NodeId root) { m_root = root; }

private:
    std::vector<ParseNode> m_nodes;
    std::map<CodeRange, NodeId> m_leaves;
    NodeId m_root = kNoNode;
};

}  // namespace tabulo::regex
