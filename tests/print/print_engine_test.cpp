// The text layout on fixed font measures: templates, cutting lines to a
// column, the page layout (header, footer, columns, numbers, margins) and
// which pages go to the printer.
#include "print/engine/line_cutter.h"
#include "print/engine/print_rounding.h"
#include "print/engine/page_layout.h"

#include <gtest/gtest.h>

#include "fixed_metrics.h"

#include <string>
#include <vector>

namespace tabulo::print {
namespace {

using layout_test::FixedMetrics;
using layout_test::kWhen;

// A font whose half-width advance is not a whole number of dots: 41.5 dots,
// full width 83, as IPAMincho at 10 points on 600 dpi.
class HalfDotMetrics : public TextMetrics {
public:
    int lineHeight() const override { return 100; }
    int ascent() const override { return 80; }
    int averageCharWidth() const override { return 42; }
    int charAdvance(unsigned code) const override { return code > 0xFF ? 83 * 64 : 83 * 32; }
};

TEST(ParseHeader, Placeholders) {
    struct Case {
        const char* templ;
        const char* expected;
    };
    const Case cases[] = {
        {"- %p -", "- 12 -"},
        {"%f", "/home/u/\x95\x5C.txt"},
        {"%F %y/%m/%d", "\x95\x5C.txt 2026/1/5"},
        {"%t", "9:05:07"},
        {"%%p", "%p"},
        {"%q", "q"},
        {"50%", "50%"},
        // The trail byte 0x5C of the character after "%" is not taken apart.
        {"%\x95\x5C%p", "\x95\x5C" "12"},
        {"\x95\x25p", "\x95\x25p"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseHeader(c.templ, 12, "/home/u/\x95\x5C.txt", kWhen), c.expected) << c.templ;
}

struct CutCase {
    const char* name;
    std::string line;
    int width;
    std::vector<std::string> pieces;
};

TEST(LineCutter, Pieces) {
    FixedMetrics metrics;
    LineCutter cutter(metrics);
    const std::string kana6 = "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8\x82\xA9";  // 6 x 20 dots
    const CutCase cases[] = {
        {"fits", "abc def", 70, {"abc def"}},
        {"at the last blank", "abc def ghi", 80, {"abc def ", "ghi"}},
        {"blank kept at the end", "abcd efgh", 50, {"abcd ", "efgh"}},
        {"no blank: cut at the width", "abcdefghij", 40, {"abcd", "efgh", "ij"}},
        {"double-byte never split", kana6, 50, {kana6.substr(0, 4), kana6.substr(4, 4), kana6.substr(8, 4)}},
        {"mixed", "a" + kana6.substr(0, 4), 40, {"a" + kana6.substr(0, 2), kana6.substr(2, 2)}},
        {"full-width space is not a blank", "\x81\x40\x82\xA0\x82\xA2", 40, {"\x81\x40\x82\xA0", "\x82\xA2"}},
        {"narrower than one character", kana6.substr(0, 4), 5, {kana6.substr(0, 2), kana6.substr(2, 2)}},
        {"no width at all", "ab", 0, {"a", "b"}},
        {"lone lead byte at the end", "abc\x82", 30, {"abc", "\x82"}},
        {"empty line", "", 30, {""}},
        {"tab to the stop at 80", "a\tb", 90, {"a\tb"}},
        {"cut after the tab", "a\tbc", 90, {"a\t", "bc"}},
    };
    for (const CutCase& c : cases) {
        std::vector<std::string> pieces;
        for (std::string_view p : cutter.cut(c.line, c.width))
            pieces.emplace_back(p);
        EXPECT_EQ(pieces, c.pieces) << c.name;
    }
}

// A line exactly as wide as the column is one piece: 100 half-width
// characters of 41.5 dots are 4150 dots, not 100 rounded advances (4200).
TEST(LineCutter, ALineAsWideAsTheColumnIsOnePiece) {
    HalfDotMetrics metrics;
    LineCutter cutter(metrics);
    const std::string line(100, 'a');
    EXPECT_EQ(cutter.cut(line, 4150).size(), 1u);
    EXPECT_EQ(cutter.textWidth(line), 4150);
    const auto pieces = cutter.cut(line, 4149);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].size(), 99u);  // 99 x 41.5 = 4108.5 dots fit
    // Three characters of 41.5 dots are 124.5: half-way dots round up.
    EXPECT_EQ(cutter.textWidth("aaa"), 125);
    const std::string mixed = "a\x82\xA0" "a";  // 41.5 + 83 + 41.5
    EXPECT_EQ(cutter.cut(mixed, 166).size(), 1u);
    EXPECT_EQ(cutter.cut(mixed, 165).size(), 2u);
}

TEST(LineCutter, HugeLineMakesProgressQuickly) {
    FixedMetrics metrics;
    LineCutter cutter(metrics);
    std::string line;
    for (int i = 0; i < 50000; ++i)
        line += "\x88\x9F";  // 100,000 bytes of one kanji
    line += "tail";
    const auto pieces = cutter.cut(line, 200);
    std::string joined;
    for (std::string_view p : pieces) {
        EXPECT_LE(cutter.textWidth(p), 200);
        joined += p;
    }
    EXPECT_EQ(joined, line);
    EXPECT_EQ(pieces.size(), 5001u);
}

// A layout on a 1000 x 1400 dot page at 254 dpi (1 mm = 10 dots).
struct Layout {
    TStringsPrinterProperties props;
    PageGeometry geometry{254, 1000, 1400, {}};
    std::vector<PrintPage> pages;
    int progressCalls = 0;
    int cancelAt = -1;

    bool run(const std::vector<std::string>& lines) {
        FixedMetrics metrics;
        LayoutCallbacks callbacks;
        callbacks.progress = [&](std::size_t maximum, std::size_t position) {
            EXPECT_EQ(maximum, lines.size() - 1);
            ++progressCalls;
            return static_cast<int>(position) != cancelAt;
        };
        callbacks.page = [&](PrintPage&& page) { pages.push_back(std::move(page)); };
        callbacks.clock = [] { return kWhen; };
        return layoutPages(props, metrics, geometry, {lines.size(), [&](std::size_t i) { return lines[i]; }},
                           callbacks);
    }
    // The runs of a page whose text is `text`.
    std::vector<TextRun> find(std::size_t page, const std::string& text) const {
        std::vector<TextRun> found;
        for (const TextRun& run : pages.at(page).runs)
            if (run.text == text)
                found.push_back(run);
        return found;
    }
};

std::vector<std::string> numbered(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("L" + std::to_string(i));
    return lines;
}

TEST(PageLayout, DialogDefaultsGiveACentredFooterOnEveryPage) {
    Layout layout;
    layout.props.SetMarginLeft(15);
    layout.props.SetMarginRight(15);
    layout.props.SetMarginTop(15);
    layout.props.SetMarginBottom(5);
    layout.props.SetMarginLine(2);
    layout.props.Header = "%F %y/%m/%d";
    layout.props.Footer = "- %p -";
    layout.props.FooterAlign = TStringsPrinterHeaderAlign::haCenter;
    // Body 150..1350 high; footer band 75 high from 1275; pitch 70: lines at
    // 150, 220, ..., 1200 (16 a page).
    ASSERT_TRUE(layout.run(numbered(20)));
    ASSERT_EQ(layout.pages.size(), 2u);
    EXPECT_EQ(layout.find(0, "L1"), std::vector<TextRun>({{150, 190, "L1"}}));
    EXPECT_EQ(layout.find(0, "L16"), std::vector<TextRun>({{150, 1240, "L16"}}));
    EXPECT_EQ(layout.find(1, "L17"), std::vector<TextRun>({{150, 190, "L17"}}));
    // "- 1 -" is 50 wide, centred in 150..850.
    EXPECT_EQ(layout.find(0, "- 1 -"), std::vector<TextRun>({{475, 1315, "- 1 -"}}));
    EXPECT_EQ(layout.find(1, "- 2 -"), std::vector<TextRun>({{475, 1315, "- 2 -"}}));
    EXPECT_EQ(layout.pages[0].runs.size(), 17u);  // no header
    EXPECT_EQ(layout.progressCalls, 20);
}

TEST(PageLayout, HeaderAlignments) {
    struct Case {
        TStringsPrinterHeaderAlign align;
        int x;
    };
    for (const Case& c : {Case{TStringsPrinterHeaderAlign::haLeft, 0}, Case{TStringsPrinterHeaderAlign::haCenter, 490},
                          Case{TStringsPrinterHeaderAlign::haRight, 980}}) {
        Layout layout;
        layout.props.Header = "p%p";
        layout.props.HeaderAlign = c.align;
        layout.props.FileName = "/tmp/a.txt";
        ASSERT_TRUE(layout.run({"x"}));
        EXPECT_EQ(layout.find(0, "p1"), std::vector<TextRun>({{c.x, 40, "p1"}}));
        // The text starts below the 75-dot header band.
        EXPECT_EQ(layout.find(0, "x"), std::vector<TextRun>({{0, 115, "x"}}));
    }
}

TEST(PageLayout, ThreeColumnsFillDownThenAcross) {
    Layout layout;
    layout.props.SetColumnCount(3);
    layout.props.SetColumnSpace(5);  // 50 dots
    // Text columns (1000 - 2 * 50) / 3 = 300 wide at 0, 350, 700; 28 lines
    // of 50 dots a column.
    ASSERT_TRUE(layout.run(numbered(90)));
    ASSERT_EQ(layout.pages.size(), 2u);
    EXPECT_EQ(layout.find(0, "L28"), std::vector<TextRun>({{0, 1390, "L28"}}));
    EXPECT_EQ(layout.find(0, "L29"), std::vector<TextRun>({{350, 40, "L29"}}));
    EXPECT_EQ(layout.find(0, "L57"), std::vector<TextRun>({{700, 40, "L57"}}));
    EXPECT_EQ(layout.find(1, "L85"), std::vector<TextRun>({{0, 40, "L85"}}));
}

TEST(PageLayout, LineNumbersRepeatOnEveryPiece) {
    Layout layout;
    layout.props.LineNumber = true;
    layout.props.SetColumnCount(2);
    layout.props.SetColumnSpace(10);  // 100 dots
    std::vector<std::string> lines = numbered(1234);
    lines[0] = std::string(60, 'w');  // 600 dots in a 390-dot column
    ASSERT_TRUE(layout.run(lines));
    // 1234 has four digits: the number column is six characters (60 dots);
    // text columns (1000 - 60 - 160) / 2 = 390 wide.
    const std::vector<TextRun> numbers = layout.find(0, "1:");
    ASSERT_EQ(numbers.size(), 2u);
    EXPECT_EQ(numbers[0], (TextRun{40, 40, "1:"}));
    EXPECT_EQ(numbers[1], (TextRun{40, 90, "1:"}));
    EXPECT_EQ(layout.find(0, std::string(39, 'w')), std::vector<TextRun>({{60, 40, std::string(39, 'w')}}));
    // Line 1 took two of the column's 28 rows, so line 28 heads the second
    // column, whose number column starts at 60 + 390 + 100.
    EXPECT_EQ(layout.find(0, "28:"), std::vector<TextRun>({{550 + 30, 40, "28:"}}));
    EXPECT_EQ(layout.find(0, "L28"), std::vector<TextRun>({{610, 40, "L28"}}));
}

TEST(PageLayout, TabsStartRunsAtTheStops) {
    Layout layout;
    ASSERT_TRUE(layout.run({"a\tbc\t\td"}));
    EXPECT_EQ(layout.find(0, "a").at(0).x, 0);
    EXPECT_EQ(layout.find(0, "bc").at(0).x, 80);
    EXPECT_EQ(layout.find(0, "d").at(0).x, 240);
}

TEST(PageLayout, RangesAndNumbering) {
    Layout layout;
    layout.props.LineNumber = true;
    layout.props.SetFirstLineNumber(100);
    layout.props.LineRangeOption = TStringsPrinterRangeOption::roLimited;
    layout.props.SetStartLine(3);
    layout.props.SetLastLine(4);
    layout.props.RangeOption = TStringsPrinterRangeOption::roLimited;
    layout.props.SetStartPage(2);
    layout.props.SetFirstPageNumber(10);
    layout.props.Footer = "%p";
    layout.props.FooterAlign = TStringsPrinterHeaderAlign::haLeft;
    ASSERT_TRUE(layout.run(numbered(6)));
    ASSERT_EQ(layout.pages.size(), 1u);
    EXPECT_EQ(layout.find(0, "L3").size(), 1u);
    EXPECT_EQ(layout.find(0, "100:").size(), 1u);
    EXPECT_EQ(layout.find(0, "101:").size(), 1u);
    EXPECT_TRUE(layout.find(0, "L5").empty());
    // Page 2 would carry the first page number, so page 1 carries 9.
    EXPECT_EQ(layout.find(0, "9").size(), 1u);
    EXPECT_EQ(layout.props.pageNumberOf(1), 10);
}

TEST(PageLayout, CancelStopsAfterTheCurrentLine) {
    Layout layout;
    layout.cancelAt = 5;
    EXPECT_FALSE(layout.run(numbered(100)));
    EXPECT_EQ(layout.progressCalls, 6);
}

TEST(PageLayout, MarginsLeavingNoRoom) {
    struct Case {
        const char* name;
        int left, right, top, bottom, marginLine;
    };
    const Case cases[] = {
        {"left and right cross", 60, 50, 0, 0, 0},
        {"top and bottom cross", 0, 0, 100, 100, 0},
        {"one line does not fit", 0, 0, 60, 60, 100},
    };
    for (const Case& c : cases) {
        Layout layout;
        layout.props.SetMarginLeft(c.left);
        layout.props.SetMarginRight(c.right);
        layout.props.SetMarginTop(c.top);
        layout.props.SetMarginBottom(c.bottom);
        layout.props.SetMarginLine(c.marginLine);
        try {
            layout.run({"x"});
            ADD_FAILURE() << c.name;
        } catch (const EPrintLayout& e) {
            EXPECT_STREQ(e.what(), kMarginsTooLarge) << c.name;
        }
    }
}

TEST(PageLayout, MarginsCountFromThePaperEdge) {
    Layout layout;
    layout.geometry.offset = {30, 20, 40, 10};
    layout.props.SetMarginLeft(5);    // 50 - 30
    layout.props.SetMarginTop(1);     // 10 - 20 -> 0
    layout.props.SetMarginRight(2);   // 1000 + 40 - 20 -> 1000
    layout.props.Header = "h";
    layout.props.HeaderAlign = TStringsPrinterHeaderAlign::haRight;
    ASSERT_TRUE(layout.run({"x"}));
    EXPECT_EQ(layout.find(0, "h"), std::vector<TextRun>({{990, 40, "h"}}));
    EXPECT_EQ(layout.find(0, "x"), std::vector<TextRun>({{20, 115, "x"}}));
}

TEST(PageLayout, EmptyInputIsOnePage) {
    Layout layout;
    layout.props.Footer = "%p";
    layout.props.FooterAlign = TStringsPrinterHeaderAlign::haCenter;
    ASSERT_TRUE(layout.run({}));
    EXPECT_EQ(layout.pages.size(), 1u);
}

TEST(PrintedPages, OddEvenAndRange) {
    struct Case {
        const char* name;
        TStringsPrinterPageOption option;
        bool limited;
        int start, last;
        std::vector<int> printed;  // of four pages
    };
    const Case cases[] = {
        {"both", TStringsPrinterPageOption::poBoth, false, 1, 999999, {0, 1, 2, 3}},
        {"odd", TStringsPrinterPageOption::poOdd, false, 1, 999999, {0, 2}},
        {"even", TStringsPrinterPageOption::poEven, false, 1, 999999, {1, 3}},
        // Page 2 carries number 1 in a limited range starting there.
        {"range 2-3, odd", TStringsPrinterPageOption::poOdd, true, 2, 3, {1}},
    };
    for (const Case& c : cases) {
        TStringsPrinterProperties props;
        props.PageOption = c.option;
        props.RangeOption = c.limited ? TStringsPrinterRangeOption::roLimited : TStringsPrinterRangeOption::roWhole;
        props.SetStartPage(c.start);
        props.SetLastPage(c.last);
        std::vector<int> printed;
        for (int i = 0; i < 4; ++i)
            if (props.isPagePrinted(i))
                printed.push_back(i);
        EXPECT_EQ(printed, c.printed) << c.name;
    }
}

TEST(PaperTable, NamesSizesAndOffsets) {
    EXPECT_STREQ(paperEntry(9).name, "DMPAPER_A4");
    EXPECT_EQ(paperEntry(43).widthMm, 100);
    EXPECT_STREQ(paperEntry(24).name, "DMPAPER_CSHEET");
    EXPECT_EQ(paperEntry(24).widthMm, 0);
    EXPECT_STREQ(paperEntry(69).name, "");
    // A4 at 600 dpi is 4961 x 7016 dots.
    const PaperOffset a4 = paperOffset(9, false, 600, 4800, 6800);
    EXPECT_EQ(a4.left, 80);
    EXPECT_EQ(a4.right, 81);
    EXPECT_EQ(a4.top, 108);
    EXPECT_EQ(a4.bottom, 108);
    const PaperOffset landscape = paperOffset(9, true, 600, 6800, 4800);
    EXPECT_EQ(landscape.left, 108);
    EXPECT_EQ(landscape.top, 80);
    const PaperOffset unknown = paperOffset(24, false, 600, 4800, 6800);
    EXPECT_EQ(unknown.left + unknown.top + unknown.right + unknown.bottom, 0);
}

TEST(PrintRounding, HalvesGoToEven) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(printerDot(254, 1.25), 12);  // 12.5 -> 12
}

}  // namespace
}  // namespace tabulo::print
