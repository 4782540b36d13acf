// TGrep searches a text file for the current pattern and reports every line
// holding a match, once, in file order, through OnMatch. The anchors are
// line feeds here: ^ is the line feed in front of a line and $ the one after
// it. A match starting on the line feed in front of a line belongs to that
// line. Literal patterns are found with a substring search, others with a
// one-pass search automaton. Patterns whose matches can run on into
// following lines are searched in two passes over stretches of text: the
// search automaton finds where matches end, then a backward pass finds the
// characters at which they start. Every scanner takes time linear in the
// file, and lets events run at least every few tens of milliseconds.
// Literals and patterns with a required character are searched in a regular
// file's own bytes taken whole (see TWholeText), the text around a hit
// alone being looked at as lines.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "regex/byte_scan.h"
#include "regex/line_search.h"
#include "regex/match_starts.h"
#include "regex/regular_expression.h"
#include "regex/text_source.h"
#include "regex/txt_file.h"
#include "regex/whole_text.h"

namespace tabulo::regex {

class TGrep;
using TGrepOnMatch = std::function<void(TGrep& sender, const RE_LineInfo_t& hit)>;

class TGrep : public TRegularExpression {
public:
    TGrep();
    ~TGrep() override;

    void SetRegExp(const std::string& pattern) override;

    const TGrepOnMatch& OnMatch() const { return m_onMatch; }
    void SetOnMatch(TGrepOnMatch handler) { m_onMatch = std::move(handler); }
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool cancel) { m_cancel = cancel; }

    // Called after every block read and before every reported line, so a
    // window can keep its events running (and set Cancel); in the scan over
    // a whole file, at its start and then every few tens of milliseconds.
    void setEventPump(std::function<void()> pump) { m_pump = std::move(pump); }
    // Block size of the reader; the default is TTxtFile::kBlockSize. The
    // scan over a whole file lets events run between steps of that size.
    void setBlockSize(std::size_t bytes) { m_blockSize = std::max<std::size_t>(bytes, 1); }
    // With false, OnMatch gets each matching line with an empty text and
    // line number 0, which spares finding them: enough to count lines.
    void setLineDetails(bool wanted) { m_lineDetails = wanted; }
    // Lets GrepFile map large files (see TWholeText); off by default.
    void setMapLargeFiles(bool map) { m_mapLargeFiles = map; }

    // Searches the file. Raises EFileNotFound when it cannot be opened and
    // EGrepCancel when Cancel was set during the search. Does nothing
    // without an OnMatch handler.
    void GrepFile(const std::string& path);
    // The same over text from any source; read errors pass through.
    void GrepSource(TTextSource& source);

protected:
    Code LineHeadCode() const override { return '\n'; }
    Code LineTailCode() const override { return '\n'; }

private:
    enum class Scanner { Literal, Lines, Walk };

    void chooseScanner();
    void scanLiteral(TTxtFile& file);
    void scanLines(TTxtFile& file);
    std::size_t scanRequired(const unsigned char* buf, std::size_t pos, std::size_t end, const std::function<void()>& pace);
    void scanWalk(TTxtFile& file);
    void reportStarts(TTxtFile& file, std::size_t from, std::size_t to, std::size_t& reported);
    void report(TTxtFile& file, std::size_t pos, std::size_t& lineEnd);
    bool scansWholeText() const;
    void scanWholeText(const TWholeText& text);
    template <class Finder>
    void scanWholeText(const TWholeText& text, const Finder& finder);
    bool lineMatches(const unsigned char* line, std::size_t size, const std::function<void()>& pace);
    void keepBufferSmall();

    TGrepOnMatch m_onMatch;
    bool m_cancel = false;
    std::function<void()> m_pump;
    std::size_t m_blockSize = TTxtFile::kBlockSize;
    Scanner m_scanner = Scanner::Literal;
    bool m_everyLine = false;
    bool m_keepCrLf = false;
    bool m_lineDetails = true;
    bool m_mapLargeFiles = false;
    bool m_finderInRawText = false;  // m_literal or m_required matches raw text as it matches lines
    std::unique_ptr<detail::LineSearch> m_search;
    std::unique_ptr<detail::LiteralFinder> m_literal;
    std::unique_ptr<detail::CodeSetFinder> m_required;  // characters one of which every match holds
    std::unique_ptr<detail::MatchStarts> m_starts;
    std::vector<std::uint64_t> m_startBits;
    std::vector<char> m_buffer;  // the reader's, kept from file to file
    std::string m_line;          // a line handed to the search automaton
    static constexpr std::size_t kKeptBufferBytes = std::size_t{4} << 20;
};

}  // namespace tabulo::regex
