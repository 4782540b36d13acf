// The editor's text store: display rows, each with its Shift-JIS text and
// its break kind. The rows are the only copy of the text; logical lines are
// runs of rows (see TEditorStrings).
//
// A loaded file's bytes are held once, in one shared buffer; a row that was
// not edited since is only a place in it (8 bytes and its kind byte), so a
// large file costs little more than its size. An edited row owns its bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tabulo::editor {

// Break kind of a row.
enum class BreakKind : std::uint8_t {
    LineBreak = 0,  // the row ends its logical line
    Wrapped = 1,    // the line continues on the next row
    EndOfText = 2,  // the last row, with no line break after it
};

// A row on its way into the store, with bytes of its own.
struct ScreenRow {
    std::string text;
    BreakKind kind = BreakKind::LineBreak;
};

// Bytes read from a file, held without a second copy.
class TextBuffer {
public:
    TextBuffer() = default;
    TextBuffer(std::unique_ptr<char[]> data, std::size_t size) : m_data(std::move(data)), m_size(size) {}
    std::string_view view() const { return {m_data.get(), m_size}; }

private:
    std::unique_ptr<char[]> m_data;
    std::size_t m_size = 0;
};

class TEditorScreenStrings {
public:
    int count() const { return static_cast<int>(m_places.size()); }
    bool empty() const { return m_places.empty(); }
    std::string_view text(int row) const;
    BreakKind kind(int row) const { return static_cast<BreakKind>(m_kinds[static_cast<std::size_t>(row)]); }
    void setKind(int row, BreakKind kind);
    BreakKind backKind() const { return kind(count() - 1); }
    // The length of the whole text in offset units (bytes, a line break
    // counting 2), kept as rows change: a window asks for it often.
    std::int64_t length() const { return m_length; }

    // Drops every row and the loaded bytes.
    void clear();
    // The bytes that rows added with pushLoaded point into.
    void attach(std::shared_ptr<const TextBuffer> bytes) { m_loaded = std::move(bytes); }
    // A store with no rows that shares this one's loaded bytes.
    TEditorScreenStrings emptySharingBytes() const;
    void reserve(std::size_t rows);
    // A row of the loaded bytes [begin, begin + length).
    void pushLoaded(std::uint64_t begin, std::uint64_t length, BreakKind kind);
    void push(std::string text, BreakKind kind);
    // Where a row's bytes start in the loaded bytes; -1 for an edited row.
    std::int64_t loadedBegin(int row) const;
    std::string_view loadedBytes() const { return m_loaded ? m_loaded->view() : std::string_view(); }

    // Row `row`'s bytes handed over: an edited row gives its own and is
    // empty until it is replaced, a loaded one gives a copy.
    std::string take(int row);
    void set(int row, std::string text, BreakKind kind);
    // Replaces rows [start, start + oldCount) by `rows`.
    void replace(int start, int oldCount, std::vector<ScreenRow>&& rows);

private:
    // A place word: the top bit marks an edited row, whose low 32 bits index
    // m_owned; otherwise the low 40 bits are the start in the loaded bytes
    // and the next 23 the length. A longer loaded row is edited-like: its
    // index goes to m_long.
    static constexpr std::uint64_t kOwned = std::uint64_t{1} << 63;
    static constexpr std::uint64_t kLong = std::uint64_t{1} << 62;
    static constexpr int kBeginBits = 40;
    static constexpr std::uint64_t kMaxShortLength = (std::uint64_t{1} << 22) - 1;

    std::uint64_t ownedPlace(std::string text);
    void release(std::uint64_t place);
    static std::int64_t units(std::size_t bytes, BreakKind kind) {
        return static_cast<std::int64_t>(bytes) + (kind == BreakKind::LineBreak ? 2 : 0);
    }

    std::shared_ptr<const TextBuffer> m_loaded;
    std::vector<std::uint64_t> m_places;
    std::vector<std::uint8_t> m_kinds;
    std::vector<std::string> m_owned;
    std::vector<std::uint32_t> m_freeOwned;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> m_long;  // begin, length
    std::int64_t m_length = 0;
};

}  // namespace tabulo::editor
