#include "search/window/editor_search.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "editor/model/editor_model.h"
#include "editor/model/text_lines.h"
#include "editor/view/editor_view.h"
#include "regex/match_core.h"
#include "search/engine/replace_all.h"

namespace tabulo::search {

namespace {

// Lines searched between two calls of the progress hook.
constexpr int kLinesPerStep = 4096;

const SearchOptions kNoOptions{};
const std::string kNoPattern;

}  // namespace

EditorSearch::EditorSearch(editor::EditorModel& model, editor::TEditor& view) : m_model(model), m_view(view) {}

const std::string& EditorSearch::FindString() const {
    return m_matcher ? m_matcher->pattern() : kNoPattern;
}

SearchOptions EditorSearch::searchOptions() const {
    return m_matcher ? m_matcher->options() : kNoOptions;
}

void EditorSearch::store(const std::string& pattern, SearchOptions options) {
    // Compiled first: a refused pattern leaves the stored one in place.
    auto matcher = std::make_shared<const TextMatcher>(pattern, options);
    m_matcher = std::move(matcher);
    setHighlight(true);
}

void EditorSearch::setHighlight(bool on) {
    m_highlight = on && m_matcher;
    if (!m_highlight) {
        m_view.setMatchFinder({});
        return;
    }
    m_view.setMatchFinder([matcher = m_matcher](std::string_view line, auto& ranges) {
        regex::SearchMemo memo;
        for (auto m = matcher->find(line, 0, std::string_view::npos, &memo); m;
             m = matcher->find(line, m->end(), std::string_view::npos, &memo)) {
            ranges.emplace_back(m->start, m->end());
        }
    });
}

bool EditorSearch::wholeText() const {
    return m_model.WordWrap() || m_matcher->crossesLines();
}

std::int64_t EditorSearch::lineOffset(int line) const {
    return m_model.offsetOfRow(m_model.firstRowOfLine(line));
}

void EditorSearch::select(const Found& found) {
    m_model.SetSelStart(found.offset);
    m_model.SetSelLength(found.length);
}

bool EditorSearch::step(std::size_t done, std::size_t total) {
    m_stopped = m_hooks.step && !m_hooks.step(done, total);
    return !m_stopped;
}

KeepGoing EditorSearch::stepper() {
    return [this](std::size_t done, std::size_t total) { return step(done, total); };
}

std::shared_ptr<const std::string> EditorSearch::wholeTextCopy() {
    if (!m_text || m_textVersion != m_model.textVersion()) {
        m_text.reset();  // the old copy goes before the new one is made
        m_text = std::make_shared<const std::string>(m_model.GetTextStr());
        m_textVersion = m_model.textVersion();
    }
    return m_text;
}

std::optional<EditorSearch::Found> EditorSearch::findFrom(const std::string& pattern, std::int64_t start,
                                                          SearchOptions options) {
    store(pattern, options);
    return findNext(start);
}

std::optional<EditorSearch::Found> EditorSearch::findNext(std::int64_t start) {
    m_stopped = false;
    if (!m_matcher) return std::nullopt;
    m_model.SetSelStart(start);
    if (m_hooks.begin) m_hooks.begin(false);
    std::optional<Found> found;
    try {
        found = searchForward(start);
    } catch (...) {
        if (m_hooks.end) m_hooks.end();
        throw;
    }
    if (m_hooks.end) m_hooks.end();
    if (found) select(*found);
    return found;
}

std::optional<EditorSearch::Found> EditorSearch::searchForward(std::int64_t start) {
    start = std::clamp<std::int64_t>(start, 0, m_model.textLength());
    if (wholeText()) {
        const std::shared_ptr<const std::string> text = wholeTextCopy();
        PacedSearch search(*m_matcher, *text, stepper());
        const auto m = search.find(static_cast<std::size_t>(start));
        if (!m) return std::nullopt;
        return Found{static_cast<std::int64_t>(m->start), static_cast<std::int64_t>(m->length)};
    }
    const int count = m_model.Lines().Count();
    int line = m_model.LineIndexOfRow(m_model.rowOfOffset(start));
    std::size_t from = static_cast<std::size_t>(start - lineOffset(line));
    for (; line < count; ++line, from = 0) {
        const std::string text = m_model.Lines().Get(line);
        if (from <= text.size()) {
            if (const auto m = m_matcher->find(text, from)) {
                return Found{lineOffset(line) + static_cast<std::int64_t>(m->start),
                             static_cast<std::int64_t>(m->length)};
            }
        }
        if (line % kLinesPerStep == kLinesPerStep - 1 &&
            !step(static_cast<std::size_t>(line), static_cast<std::size_t>(count))) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<EditorSearch::Found> EditorSearch::findPrevious(std::int64_t start) {
    m_stopped = false;
    if (!m_matcher) return std::nullopt;
    m_model.SetSelStart(start);
    if (m_matcher->crossesLines() || m_model.Lines().Count() == 0) return std::nullopt;
    start = std::clamp<std::int64_t>(start, 0, m_model.textLength());
    int line = m_model.LineIndexOfRow(m_model.rowOfOffset(start));
    std::size_t before = static_cast<std::size_t>(start - lineOffset(line));
    const std::size_t total = static_cast<std::size_t>(line) + 1;
    std::optional<Found> found;
    if (m_hooks.begin) m_hooks.begin(false);
    for (std::size_t done = 0; line >= 0; --line, ++done, before = std::numeric_limits<std::size_t>::max()) {
        if (const auto m = m_matcher->findLastBefore(m_model.Lines().Get(line), before)) {
            found = Found{lineOffset(line) + static_cast<std::int64_t>(m->start), static_cast<std::int64_t>(m->length)};
            break;
        }
        if (done % kLinesPerStep == kLinesPerStep - 1 && !step(done, total)) break;
    }
    if (m_hooks.end) m_hooks.end();
    if (found) select(*found);
    return found;
}

std::optional<EditorSearch::Found> EditorSearch::replaceNext(const std::string& pattern,
                                                             const std::string& replacement, std::int64_t start,
                                                             SearchOptions options) {
    const std::optional<Found> found = findFrom(pattern, start, options);
    if (!found) return std::nullopt;
    m_model.replaceRange(m_model.positionOfOffset(found->offset),
                         m_model.positionOfOffset(found->offset + found->length), replacement);
    const Found inserted{found->offset, static_cast<std::int64_t>(replacement.size())};
    select(inserted);
    m_model.scrollToCaret();
    return inserted;
}

std::optional<std::size_t> EditorSearch::replaceAll(const std::string& pattern, const std::string& replacement,
                                                    SearchOptions options) {
    store(pattern, options);
    m_stopped = false;
    const editor::TextPosition caret = m_model.caret();
    const int top = m_model.TopRow();
    if (m_hooks.begin) m_hooks.begin(true);
    std::optional<std::size_t> count;
    try {
        count = m_matcher->crossesLines() ? replaceWholeText(replacement) : replaceLineByLine(replacement);
    } catch (...) {
        if (m_hooks.end) m_hooks.end();
        throw;
    }
    if (m_hooks.end) m_hooks.end();
    if (count && *count > 0) {
        m_model.setCaret(caret);
        m_model.SetTopRow(top);
    }
    return count;
}

std::optional<std::size_t> EditorSearch::replaceLineByLine(const std::string& replacement) {
    // The new lines from the first changed one on, an unchanged line held
    // empty until the end; the document changes once, at the end, so a stop
    // leaves it untouched.
    std::vector<std::string> block;
    std::vector<int> unchanged;  // lines of the block still to be copied
    int first = -1;
    int last = -1;
    std::size_t count = 0;
    const int lines = m_model.Lines().Count();
    std::string joined;  // a soft-wrapped line, its rows joined
    std::string out;
    for (int i = 0; i < lines; ++i) {
        // Without soft wrap a line is its row, read in place.
        const std::string_view line = m_model.WordWrap() ? std::string_view(joined = m_model.Lines().Get(i))
                                                         : std::string_view(m_model.rowText(i));
        out.clear();
        out.reserve(line.size() + replacement.size());
        const std::size_t n = replaceMatches(*m_matcher, line, replacement, out);
        if (n > 0) {
            count += n;
            if (first < 0) first = i;
            last = i;
            block.push_back(std::move(out));
            out = std::string();
        } else if (first >= 0) {
            unchanged.push_back(i);
            block.emplace_back();
        }
        if (i % kLinesPerStep == kLinesPerStep - 1 &&
            !step(static_cast<std::size_t>(i), static_cast<std::size_t>(lines))) {
            return std::nullopt;
        }
    }
    if (first < 0) return 0;
    block.resize(static_cast<std::size_t>(last - first + 1));
    for (const int i : unchanged) {
        if (i > last) break;
        block[static_cast<std::size_t>(i - first)] = m_model.Lines().Get(i);
    }
    unchanged = {};
    const bool lastHasBreak = m_model.Lines().hasLineBreak(last);
    m_model.replaceLines(first, last - first + 1, std::move(block),
                         lastHasBreak ? editor::BreakKind::LineBreak : editor::BreakKind::EndOfText);
    return count;
}

std::optional<std::size_t> EditorSearch::replaceWholeText(const std::string& replacement) {
    std::string out;
    std::optional<std::size_t> count;
    {
        const std::shared_ptr<const std::string> text = wholeTextCopy();
        out.reserve(text->size());
        count = replaceMatches(*m_matcher, *text, replacement, out, stepper());
    }
    if (!count || *count == 0) return count;
    m_text.reset();  // the document is about to change: its copy goes first
    std::vector<std::string> lines;
    bool lastHasBreak = false;
    editor::splitLines(out, [&](std::string_view line, bool hasBreak) {
        lines.emplace_back(line);
        lastHasBreak = hasBreak;
    });
    out = std::string();
    m_model.replaceLines(0, m_model.Lines().Count(), std::move(lines),
                         lastHasBreak ? editor::BreakKind::LineBreak : editor::BreakKind::EndOfText);
    return count;
}

}  // namespace tabulo::search
