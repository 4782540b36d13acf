#include "editor/model/editor_screen_strings.h"

#include <algorithm>

namespace tabulo::editor {

std::string_view TEditorScreenStrings::text(int row) const {
    const std::uint64_t place = m_places[static_cast<std::size_t>(row)];
    if (place & kOwned) return m_owned[static_cast<std::uint32_t>(place)];
    if (place & kLong) {
        const auto [begin, length] = m_long[static_cast<std::uint32_t>(place)];
        return m_loaded->view().substr(begin, length);
    }
    const std::uint64_t begin = place & ((std::uint64_t{1} << kBeginBits) - 1);
    return m_loaded->view().substr(begin, place >> kBeginBits);
}

std::int64_t TEditorScreenStrings::loadedBegin(int row) const {
    const std::uint64_t place = m_places[static_cast<std::size_t>(row)];
    if (place & kOwned) return -1;
    if (place & kLong) return static_cast<std::int64_t>(m_long[static_cast<std::uint32_t>(place)].first);
    return static_cast<std::int64_t>(place & ((std::uint64_t{1} << kBeginBits) - 1));
}

void TEditorScreenStrings::setKind(int row, BreakKind kind) {
    std::uint8_t& old = m_kinds[static_cast<std::size_t>(row)];
    m_length += units(0, kind) - units(0, static_cast<BreakKind>(old));
    old = static_cast<std::uint8_t>(kind);
}

void TEditorScreenStrings::clear() {
    m_length = 0;
    m_loaded.reset();
    m_places.clear();
    m_kinds.clear();
    m_owned.clear();
    m_freeOwned.clear();
    m_long.clear();
}

TEditorScreenStrings TEditorScreenStrings::emptySharingBytes() const {
    TEditorScreenStrings rows;
    rows.m_loaded = m_loaded;
    return rows;
}

void TEditorScreenStrings::reserve(std::size_t rows) {
    m_places.reserve(rows);
    m_kinds.reserve(rows);
}

void TEditorScreenStrings::pushLoaded(std::uint64_t begin, std::uint64_t length, BreakKind kind) {
    if (length <= kMaxShortLength) {
        m_places.push_back(begin | (length << kBeginBits));
    } else {
        // Long rows are rare: their entries stay until the store is cleared.
        m_places.push_back(kLong | m_long.size());
        m_long.emplace_back(begin, length);
    }
    m_kinds.push_back(static_cast<std::uint8_t>(kind));
    m_length += units(length, kind);
}

void TEditorScreenStrings::push(std::string text, BreakKind kind) {
    m_length += units(text.size(), kind);
    m_places.push_back(ownedPlace(std::move(text)));
    m_kinds.push_back(static_cast<std::uint8_t>(kind));
}

std::uint64_t TEditorScreenStrings::ownedPlace(std::string text) {
    if (!m_freeOwned.empty()) {
        const std::uint32_t slot = m_freeOwned.back();
        m_freeOwned.pop_back();
        m_owned[slot] = std::move(text);
        return kOwned | slot;
    }
    m_owned.push_back(std::move(text));
    return kOwned | (m_owned.size() - 1);
}

void TEditorScreenStrings::release(std::uint64_t place) {
    if (!(place & kOwned)) return;
    const auto slot = static_cast<std::uint32_t>(place);
    m_owned[slot] = std::string();
    m_freeOwned.push_back(slot);
}

std::string TEditorScreenStrings::take(int row) {
    const std::uint64_t place = m_places[static_cast<std::size_t>(row)];
    if (!(place & kOwned)) return std::string(text(row));
    std::string& owned = m_owned[static_cast<std::uint32_t>(place)];
    m_length -= static_cast<std::int64_t>(owned.size());  // the row is empty until it is replaced
    return std::move(owned);
}

void TEditorScreenStrings::set(int row, std::string text, BreakKind kind) {
    m_length += static_cast<std::int64_t>(text.size()) - static_cast<std::int64_t>(this->text(row).size());
    std::uint64_t& place = m_places[static_cast<std::size_t>(row)];
    if (place & kOwned) {
        m_owned[static_cast<std::uint32_t>(place)] = std::move(text);
    } else {
        place = ownedPlace(std::move(text));
    }
    setKind(row, kind);
}

void TEditorScreenStrings::replace(int start, int oldCount, std::vector<ScreenRow>&& rows) {
    const auto first = static_cast<std::size_t>(start);
    const auto old = static_cast<std::size_t>(oldCount);
    for (std::size_t i = first; i < first + old; ++i) {
        m_length -= units(text(static_cast<int>(i)).size(), kind(static_cast<int>(i)));
        release(m_places[i]);
    }
    std::vector<std::uint64_t> places;
    std::vector<std::uint8_t> kinds;
    places.reserve(rows.size());
    kinds.reserve(rows.size());
    for (ScreenRow& row : rows) {
        m_length += units(row.text.size(), row.kind);
        places.push_back(ownedPlace(std::move(row.text)));
        kinds.push_back(static_cast<std::uint8_t>(row.kind));
    }
    const auto splice = [&](auto& column, auto& fresh) {
        const auto at = column.begin() + static_cast<std::ptrdiff_t>(first);
        const std::size_t common = std::min(old, fresh.size());
        std::copy(fresh.begin(), fresh.begin() + static_cast<std::ptrdiff_t>(common), at);
        if (fresh.size() > common) {
            column.insert(at + static_cast<std::ptrdiff_t>(common), fresh.begin() + static_cast<std::ptrdiff_t>(common),
                          fresh.end());
        } else {
            column.erase(at + static_cast<std::ptrdiff_t>(common), at + static_cast<std::ptrdiff_t>(old));
        }
    };
    splice(m_places, places);
    splice(m_kinds, kinds);
}

}  // namespace tabulo::editor
