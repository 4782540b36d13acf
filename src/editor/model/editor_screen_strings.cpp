#include "editor/model/editor_screen_strings.h"

#include <algorithm>
#include <iterator>

namespace tabulo::editor {

void TEditorScreenStrings::replace(int start, int oldCount, std::vector<ScreenRow>&& rows) {
    const auto first = m_rows.begin() + start;
    const auto common = std::min<std::size_t>(static_cast<std::size_t>(oldCount), rows.size());
    std::move(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(common), first);
    if (rows.size() > common) {
        m_rows.insert(first + static_cast<std::ptrdiff_t>(common),
                      std::make_move_iterator(rows.begin() + static_cast<std::ptrdiff_t>(common)),
                      std::make_move_iterator(rows.end()));
    } else {
        m_rows.erase(first + static_cast<std::ptrdiff_t>(common), first + oldCount);
    }
}

}  // namespace tabulo::editor
