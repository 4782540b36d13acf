#include "search/engine/cat_selection.h"

#include <algorithm>

#include "textops/trim_blanks.h"

namespace tabulo::search {

namespace {

bool isEntry(const std::string& entry) {
    return !textops::isBlankLine(entry);
}

std::size_t countEntries(const std::vector<std::string>& list) {
    return static_cast<std::size_t>(std::count_if(list.begin(), list.end(), isEntry));
}

unsigned char folded(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

// Case-insensitive order of paths; names that differ only in case keep a
// fixed order by their bytes.
bool caseInsensitiveLess(const std::string& a, const std::string& b) {
    const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                   [](char x, char y) { return folded(x) < folded(y); });
    const bool greater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                      [](char x, char y) { return folded(x) < folded(y); });
    return less || (!greater && a < b);
}

}  // namespace

CatSelection::CatSelection(std::vector<std::string> inputs) : m_inputs(std::move(inputs)) {
    reset();
}

void CatSelection::reset() {
    m_left = m_inputs;
    m_right.clear();
}

bool CatSelection::moveRight(std::size_t i) {
    if (i >= m_left.size() || !isEntry(m_left[i])) return false;
    m_right.push_back(m_left[i]);
    m_left[i].clear();
    return true;
}

void CatSelection::moveAllRight() {
    m_right.clear();
    std::copy_if(m_left.begin(), m_left.end(), std::back_inserter(m_right), isEntry);
    m_left.clear();
}

void CatSelection::sortCandidates(bool descending) {
    m_inputs.clear();
    std::copy_if(m_left.begin(), m_left.end(), std::back_inserter(m_inputs), isEntry);
    std::sort(m_inputs.begin(), m_inputs.end(), caseInsensitiveLess);
    m_left = m_inputs;
    if (descending) std::reverse(m_left.begin(), m_left.end());
}

void CatSelection::sortAscending() {
    sortCandidates(false);
}

void CatSelection::sortDescending() {
    sortCandidates(true);
}

std::size_t CatSelection::leftCount() const {
    return countEntries(m_left);
}

std::size_t CatSelection::rightCount() const {
    return countEntries(m_right);
}

std::vector<std::string> CatSelection::filesToJoin() const {
    std::vector<std::string> files;
    std::copy_if(m_right.begin(), m_right.end(), std::back_inserter(files), isEntry);
    return files;
}

}  // namespace tabulo::search
