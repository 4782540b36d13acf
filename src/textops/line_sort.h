// Line sort: the whole line is the key, compared byte by byte as unsigned
// values (a proper prefix sorts first); no numeric, case or character-set
// collation, so "006" < "123" < "6" and "B" < "a". Sorting moves small keys,
// views or string buffers around; it never copies line bytes. Large sorts
// use two threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "textops/document_text.h"
#include "textops/line_command.h"
#include "textops/sort_keys.h"

namespace tabulo::textops {

enum class SortOrder { Ascending = 1, Descending = -1 };

// Documents with more lines than this get the "時間がかかるよ" warning instead
// of the plain confirmation before a sort.
inline constexpr std::size_t kSortWarningLineCount = 20000;

constexpr bool sortNeedsWarning(std::size_t documentLineCount) {
    return documentLineCount > kSortWarningLineCount;
}

// Negative when a sorts before b, 0 when the lines are byte-identical, positive otherwise.
int compareLines(std::string_view a, std::string_view b);

// Sorts the lines of range in place; lines outside it keep their places.
// Equal lines are byte-identical, so descending is the exact reverse of
// ascending and stability does not show. count is the number of lines in the
// range. Progress is reported after each line is put in its sorted place
// (line = its document index). A stopped run puts every line back and leaves
// the list exactly as it was. All memory the sort needs is taken before the
// first line moves, so std::bad_alloc ("作業メモリーの確保が出来ませんでした")
// also leaves the list unchanged.
LineResult sortLines(std::vector<std::string>& lines, LineRange range, SortOrder order,
                     const ProgressFn& progress = {});

// The lines of a whole document text in sorted order, as views into that text
// (which must outlive this). Costs 16 bytes a line besides the text.
class SortedText {
public:
    SortedText(std::string_view text, SortOrder order, EofByte eofByte = EofByte::EndsText);

    std::size_t size() const { return m_keys.size(); }
    std::string_view operator[](std::size_t i) const {
        return m_text.substr(m_keys[i].where, m_keys[i].length);
    }
    bool finalBreak() const { return m_finalBreak; }

private:
    std::string_view m_text;
    std::vector<detail::SortKey> m_keys;
    bool m_finalBreak = false;
};

}  // namespace tabulo::textops
