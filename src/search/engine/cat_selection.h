// The choice in the Cat dialog: candidates on the left, the files to join on
// the right in joining order. A file moved right leaves an empty entry in its
// place on the left; entries that are blank after trimming count nowhere.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tabulo::search {

class CatSelection {
public:
    explicit CatSelection(std::vector<std::string> inputs = {});

    // Both lists from the input list: all candidates, nothing chosen.
    void reset();
    // Moves left entry i to the end of the right list; false when it is
    // empty or does not exist.
    bool moveRight(std::size_t i);
    // The right list becomes every non-empty left entry; the left list empties.
    void moveAllRight();
    // The non-empty left entries, sorted without regard to letter case,
    // become the input list (so a reset keeps the order) and fill the left
    // list, ascending or descending.
    void sortAscending();
    void sortDescending();

    const std::vector<std::string>& left() const { return m_left; }
    const std::vector<std::string>& right() const { return m_right; }
    std::size_t leftCount() const;
    std::size_t rightCount() const;
    // The non-empty right entries, in joining order.
    std::vector<std::string> filesToJoin() const;

private:
    void sortCandidates(bool descending);

    std::vector<std::string> m_inputs;
    std::vector<std::string> m_left;
    std::vector<std::string> m_right;
};

}  // namespace tabulo::search
