// EditorSearch: the search operations of one editor (the main window's, or
// the script editor's): find from an offset, find next and previous with the
// stored pattern and options, replace next, replace all, and the highlight
// of every match in the editor. Offsets count bytes with every line break as
// two, like the document's selection offsets. The dialog is its only user
// besides F3 and Shift+F3.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "search/engine/paced_search.h"
#include "search/engine/search_options.h"
#include "search/engine/text_matcher.h"

namespace tabulo::editor {
class EditorModel;
class TEditor;
}  // namespace tabulo::editor

namespace tabulo::search {

// How a long search or replacement keeps the window alive: the owner shows
// progress, lets events run and answers whether to go on (false: the stop
// command was chosen).
struct SearchHooks {
    std::function<void(bool replacing)> begin;
    std::function<bool(std::size_t done, std::size_t total)> step;
    std::function<void()> end;
};

class EditorSearch {
public:
    struct Found {
        std::int64_t offset;
        std::int64_t length;
        bool operator==(const Found&) const = default;
    };

    EditorSearch(editor::EditorModel& model, editor::TEditor& view);
    EditorSearch(const EditorSearch&) = delete;
    EditorSearch& operator=(const EditorSearch&) = delete;

    editor::EditorModel& model() { return m_model; }
    editor::TEditor& view() { return m_view; }
    void setHooks(SearchHooks hooks) { m_hooks = std::move(hooks); }

    // The stored pattern (`FindString`) and options; none before the first
    // search.
    bool hasPattern() const { return m_matcher != nullptr; }
    const std::string& FindString() const;
    SearchOptions searchOptions() const;

    // Stores pattern and options, switches the highlight on, puts the caret
    // at `start` and selects the first match from there. Raises the pattern
    // engine's error for a refused pattern, leaving everything as it was.
    std::optional<Found> findFrom(const std::string& pattern, std::int64_t start, SearchOptions options);
    std::optional<Found> findNext(std::int64_t start);
    // The last match that begins before `start`, line by line upwards; a
    // pattern across lines is not searched backwards.
    std::optional<Found> findPrevious(std::int64_t start);
    // Find from; a match found is replaced, the inserted text selected and
    // the caret scrolled into view.
    std::optional<Found> replaceNext(const std::string& pattern, const std::string& replacement,
                                     std::int64_t start, SearchOptions options);
    // Replaces every match in one change (one undo step); the caret and the
    // view stay where they were. Nothing when the stop command ended it, and
    // then the document is untouched.
    std::optional<std::size_t> replaceAll(const std::string& pattern, const std::string& replacement,
                                          SearchOptions options);
    // Whether the stop command ended the last search or replacement.
    bool stopped() const { return m_stopped; }

    bool highlight() const { return m_highlight; }
    void setHighlight(bool on);

private:
    void store(const std::string& pattern, SearchOptions options);
    std::optional<Found> searchForward(std::int64_t start);
    bool wholeText() const;
    std::int64_t lineOffset(int line) const;
    void select(const Found& found);
    bool step(std::size_t done, std::size_t total);
    KeepGoing stepper();
    // The document's text with lines joined by CR LF, copied once and kept
    // while the document stays as it is.
    std::shared_ptr<const std::string> wholeTextCopy();
    std::optional<std::size_t> replaceLineByLine(const std::string& replacement);
    std::optional<std::size_t> replaceWholeText(const std::string& replacement);

    editor::EditorModel& m_model;
    editor::TEditor& m_view;
    SearchHooks m_hooks;
    std::shared_ptr<const TextMatcher> m_matcher;
    std::shared_ptr<const std::string> m_text;
    std::uint64_t m_textVersion = 0;
    bool m_highlight = false;
    bool m_stopped = false;
};

}  // namespace tabulo::search
