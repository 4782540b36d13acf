// Node storage, leaf sharing and the disjoint-leaf partition.
#include "regex/re_parse_tree.h"

#include <iterator>
#include <set>
#include <stdexcept>

namespace tabulo::regex {

TREParseTree::TREParseTree() = default;

NodeId TREParseTree::leaf(Code lo, Code hi) {
    const CodeRange range{lo, hi};
    if (auto it = m_leaves.find(range); it != m_leaves.end()) return it->second;
    const NodeId id = static_cast<NodeId>(m_nodes.size());
    m_nodes.push_back({NodeKind::Leaf, range});
    m_leaves.emplace(range, id);
    return id;
}

NodeId TREParseTree::node(NodeKind kind, NodeId left, NodeId right) {
    const NodeId id = static_cast<NodeId>(m_nodes.size());
    m_nodes.push_back({kind, {0, 0}, left, right});
    return id;
}

NodeId TREParseTree::anchor(NodeKind kind, Code character) {
    leaf(character, character);
    const NodeId id = node(kind);
    m_nodes[static_cast<std::size_t>(id)].range = {character, character};
    return id;
}

NodeId TREParseTree::anyChar() {
    const NodeId a = leaf(1, 9);
    const NodeId b = leaf(11, 12);
    const NodeId c = leaf(14, 0xFCFC);
    return node(NodeKind::Alternation, node(NodeKind::Alternation, a, b), c);
}

void TREParseTree::leafToAlternation(NodeId leafId, NodeId left, NodeId right) {
    if (left == kNoNode || right == kNoNode) throw std::logic_error("TREParseTree : 致命的エラー");
    ParseNode& n = m_nodes[static_cast<std::size_t>(leafId)];
    if (n.kind == NodeKind::Leaf) {
        auto it = m_leaves.find(n.range);
        if (it != m_leaves.end() && it->second == leafId) m_leaves.erase(it);
    }
    n.splitLeaf = n.kind == NodeKind::Leaf;
    n.kind = NodeKind::Alternation;
    n.left = left;
    n.right = right;
}

// Cuts every leaf at every boundary of every other leaf. The result is the
// coarsest partition in which each original leaf is a union of pieces, which
// is what pairwise splitting of overlapping leaves converges to.
void TREParseTree::makeLeavesDisjoint() {
    std::set<std::uint32_t> bounds;
    for (const auto& [range, id] : m_leaves) {
        bounds.insert(range.lo);
        bounds.insert(std::uint32_t{range.hi} + 1);
    }
    std::vector<std::pair<CodeRange, NodeId>> split;
    for (const auto& [range, id] : m_leaves) {
        auto it = bounds.upper_bound(range.lo);
        if (*it != std::uint32_t{range.hi} + 1) split.emplace_back(range, id);
    }
    for (const auto& [range, id] : split) m_leaves.erase(range);
    for (const auto& [range, id] : split) {
        std::vector<NodeId> pieces;
        auto it = bounds.find(range.lo);
        while (*it <= range.hi) {
            const std::uint32_t lo = *it;
            const std::uint32_t hi = *std::next(it) - 1;
            pieces.push_back(leaf(static_cast<Code>(lo), static_cast<Code>(hi)));
            ++it;
        }
        NodeId rest = pieces.back();
        for (std::size_t k = pieces.size() - 1; k-- > 1;) rest = node(NodeKind::Alternation, pieces[k], rest);
        leafToAlternation(id, pieces.front(), rest);
    }
}

void TREParseTree::clear() {
    m_nodes.clear();
    m_leaves.clear();
    m_root = kNoNode;
}

std::vector<CodeRange> TREParseTree::leafRanges() const {
    std::vector<CodeRange> ranges;
    for (const auto& [range, id] : m_leaves) ranges.push_back(range);
    return ranges;
}

}  // namespace tabulo::regex
