// A text laid out as it is read, a block at a time, gives the pages the
// whole lines give; a line cut as its bytes come holds no more than a piece.
#include "print/engine/line_cutter.h"
#include "print/engine/page_layout.h"
#include "print/engine/page_stream.h"

#include <gtest/gtest.h>

#include "fixed_metrics.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace tabulo::print {
namespace {

using layout_test::FixedMetrics;
using layout_test::kWhen;

// The lines of text by the command-line rule, split here on their own.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += text[i];
            open = true;
        }
    }
    if (open)
        lines.push_back(line);
    return lines;
}

struct Layout {
    TStringsPrinterProperties props;
    PageGeometry geometry{254, 1000, 1400, {}};
    FixedMetrics metrics;
    LayoutCallbacks callbacks;
    std::vector<PrintPage> pages;

    Layout() {
        callbacks.page = [this](PrintPage&& page) { pages.push_back(std::move(page)); };
        callbacks.clock = [] { return kWhen; };
        props.Footer = "- %p -";
        props.FooterAlign = TStringsPrinterHeaderAlign::haCenter;
    }
};

std::vector<PrintPage> wholeLines(const Layout& base, const std::string& text) {
    Layout layout;
    layout.props = base.props;
    const std::vector<std::string> lines = linesOf(text);
    layoutPages(layout.props, layout.metrics, layout.geometry, {lines.size(), [&](std::size_t i) { return lines[i]; }},
                layout.callbacks);
    return layout.pages;
}

std::vector<PrintPage> inBlocks(const Layout& base, const std::string& text, std::size_t blockSize) {
    Layout layout;
    layout.props = base.props;
    PageStream stream(layout.props, layout.metrics, layout.geometry, linesOf(text).size(), layout.callbacks);
    for (std::size_t at = 0; at < text.size(); at += blockSize)
        stream.write(std::string_view(text).substr(at, blockSize));
    stream.finish();
    EXPECT_EQ(stream.lineCount(), linesOf(text).size());
    return layout.pages;
}

// Long and short lines of blanks, letters, kana (whose trail bytes fall on
// block edges), tabs and characters of no width, ended by every kind of
// break (a CR at a block's end before the LF in the next).
std::string mixedText() {
    std::mt19937 random(3);
    const std::vector<std::string> pieces = {"a", "b", " ", "\t", "\x82\xA0", "\x83\x5C", "\x01", "\x81\x40"};
    const char* const breaks[] = {"\r\n", "\r", "\n"};
    std::string text;
    for (int line = 0; line < 60; ++line) {
        const std::size_t length = line % 7 == 0 ? 600 : random() % 40;
        for (std::size_t i = 0; i < length; ++i)
            text += pieces[random() % pieces.size()];
        text += breaks[random() % 3];
        if (line % 11 == 0)
            text += "\r\n";  // an empty line
    }
    text += std::string(300, 'z');  // a last line without a break
    return text;
}

std::string joined(const std::vector<PrintPage>& pages) {
    std::string all;
    for (const PrintPage& page : pages)
        for (const TextRun& run : page.runs)
            all += std::to_string(run.x) + "," + std::to_string(run.baseline) + " " + run.text + "\n";
    return all;
}

TEST(PageStream, BlocksOfAnySizeGiveTheWholeLinePages) {
    const std::string text = mixedText();
    struct Case {
        const char* name;
        int columns;
        bool numbers;
    };
    for (const Case& c : {Case{"one column", 1, false}, Case{"three columns, numbered", 3, true}}) {
        Layout layout;
        layout.props.SetColumnCount(c.columns);
        layout.props.LineNumber = c.numbers;
        const std::vector<PrintPage> expected = wholeLines(layout, text);
        ASSERT_GT(expected.size(), 1u) << c.name;
        for (std::size_t blockSize : {1u, 2u, 3u, 4096u}) {
            SCOPED_TRACE(testing::Message() << c.name << ", blocks of " << blockSize);
            EXPECT_EQ(joined(inBlocks(layout, text, blockSize)), joined(expected));
        }
    }
}

TEST(PageStream, BreaksAndEmptyInput) {
    struct Case {
        const char* name;
        std::string text;
        std::size_t lines;
    };
    const Case cases[] = {
        {"empty", "", 0},
        {"one break", "\r\n", 1},
        {"CR LF is one break", "a\r\nb", 2},
        {"CR then LF in the next block", "a\r", 1},
        {"lone CR and LF", "a\rb\nc\n", 3},
        {"two CRs", "\r\r", 2},
    };
    for (const Case& c : cases) {
        for (std::size_t blockSize : {1u, 4096u}) {
            Layout layout;
            PageStream stream(layout.props, layout.metrics, layout.geometry, 1, layout.callbacks);
            for (std::size_t at = 0; at < c.text.size(); at += blockSize)
                stream.write(std::string_view(c.text).substr(at, blockSize));
            stream.finish();
            EXPECT_EQ(stream.lineCount(), c.lines) << c.name;
            EXPECT_EQ(layout.pages.size(), 1u) << c.name;
        }
    }
}

// Characters of no width never fill a column: a piece still ends after
// kMaxPieceBytes bytes, so a line of them is not held whole.
TEST(LineCutter, PiecesOfCharactersWithoutWidthAreBounded) {
    FixedMetrics metrics;
    LineCutter cutter(metrics);
    const std::string line(3 * LineCutter::kMaxPieceBytes + 5, '\x01');
    const auto pieces = cutter.cut(line, 100);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0].size(), LineCutter::kMaxPieceBytes);
    EXPECT_EQ(pieces[3].size(), 5u);
    // Read a part at a time, the first piece is known once its bytes are there.
    EXPECT_FALSE(cutter.nextPiece(std::string_view(line).substr(0, 1000), 100, true, false));
    EXPECT_EQ(cutter.nextPiece(line, 100, true, false), LineCutter::kMaxPieceBytes);
}

// The column is reached at an exact boundary: a following character of no
// width waits for the rest of the line, since the whole line may still fit.
TEST(LineCutter, ALineThatMayStillFitWaitsForItsEnd) {
    FixedMetrics metrics;
    LineCutter cutter(metrics);
    EXPECT_FALSE(cutter.nextPiece("abcd\x01", 40, true, false));
    EXPECT_EQ(cutter.nextPiece("abcd\x01", 40, true, true), 5u);
    EXPECT_EQ(cutter.nextPiece("abcd\x01" "e", 40, true, false), 4u);
    // After the first piece the column is full at its boundary.
    EXPECT_EQ(cutter.nextPiece("abcd", 40, false, false), 4u);
    // A lead byte at the end of the part read waits for its trail byte.
    EXPECT_FALSE(cutter.nextPiece("abc\x82", 40, false, false));
    EXPECT_EQ(cutter.nextPiece("abc\x82\xA0", 40, false, false), 3u);
}

}  // namespace
}  // namespace tabulo::print
