// The document model: lines over rows, offsets, caret and selection,
// widening, loading and saving.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "editor/model/document_ops.h"
#include "editor/model/editor_model.h"
#include "editor/model/text_lines.h"
#include "editor/model/trim_blanks.h"
#include "support/show_bytes.h"

using namespace tabulo::editor;
using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/tabulo-model-XXXXXX";
        m_path = ::mkdtemp(tmpl);
    }
    ~TempDir() { fs::remove_all(m_path); }
    std::string file(const std::string& name, const std::string& bytes) const {
        const std::string path = m_path + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string path(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> lines(const EditorModel& m) {
    std::vector<std::string> out;
    for (int i = 0; i < m.Lines().Count(); ++i) out.push_back(m.Lines().Get(i));
    return out;
}

void makeWrapped(EditorModel& m, int width, const std::string& text) {
    TEditorWrapOption o;
    o.WrapByte = width;
    o.FollowRetMark = true;
    m.SetWrapOption(o);
    m.SetWordWrap(true);
    m.SetTextStr(text);
}

}  // namespace

TEST(TrimBlanks, Table) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"\x81\x40 abc\t ", "abc"},
        {"\t\x81\x40", ""},
        {"a\x81\x40" "b", "a\x81\x40" "b"},
        {"", ""},
        // 0x40 after a lead byte that is not 0x81 is no blank, nor is 0x81 0x40 split by a walk.
        {"\x82\x81\x40", "\x82\x81\x40"},
        {"\x95\x5C ", "\x95\x5C"},
    };
    for (const auto& c : cases) EXPECT_EQ(trimBlanks(c.in), c.out) << c.in;
}

TEST(EditorModel, EmptyDocument) {
    EditorModel m;
    EXPECT_EQ(m.Lines().Count(), 0);
    EXPECT_EQ(m.GetTextStr(), "");
    EXPECT_EQ(m.SelStart(), 0);
    EXPECT_EQ(m.SelLength(), 0);
    EXPECT_THROW(m.Lines().Get(0), EListError);
    EXPECT_THROW(m.Lines().Delete(0), EListError);
}

TEST(EditorModel, LineOperationsMoveTheCaretAndSetModified) {
    TempDir dir;
    EditorModel m;
    m.LoadFromFile(dir.file("abc.txt", "a\r\nb\r\nc"));
    EXPECT_FALSE(m.Modified());
    m.Lines().Put(1, "B");
    EXPECT_TRUE(m.Modified());
    EXPECT_EQ(m.Row(), 2);
    m.Lines().Insert(0, "z");
    EXPECT_EQ(lines(m), (std::vector<std::string>{"z", "a", "B", "c"}));
    EXPECT_EQ(m.Row(), 1);
    m.Lines().Delete(2);
    EXPECT_EQ(m.Row(), 2);
    EXPECT_EQ(m.GetTextStr(), "z\r\na\r\nc");  // the loaded last line still has no break
    // Adding after a last line without a break gives that line a break first.
    m.Lines().Add("d");
    EXPECT_EQ(m.GetTextStr(), "z\r\na\r\nc\r\nd\r\n");
    EXPECT_EQ(m.Row(), m.RowCount());
    m.Lines().Insert(m.Lines().Count(), "e");
    EXPECT_EQ(m.Lines().Count(), 5);
    EXPECT_THROW(m.Lines().Put(5, "x"), EListError);
}

TEST(EditorModel, OffsetsCountLineBreaksAsTwoAndWrapsAsZero) {
    EditorModel m;
    m.SetTextStr("abc\r\nde\r\n");
    EXPECT_EQ(m.offsetOfRow(0), 0);
    EXPECT_EQ(m.offsetOfRow(1), 5);
    EXPECT_EQ(m.offsetOfRow(2), 9);  // the row after the final break holds the caret
    EXPECT_EQ(m.offsetOfRow(3), -1);
    EXPECT_EQ(m.textLength(), 9);
    EXPECT_EQ(m.rowOfOffset(4), 0);  // inside the break: still row 0
    EXPECT_EQ(m.rowOfOffset(5), 1);

    EditorModel w;
    makeWrapped(w, 4, "abcdefgh\r\nxy");
    ASSERT_EQ(w.RowCount(), 3);
    EXPECT_EQ(w.offsetOfRow(1), 4);
    EXPECT_EQ(w.offsetOfRow(2), 10);
    EXPECT_EQ(w.textLength(), 14);  // set as text: the last line has a break too

    TempDir dir;
    EditorModel f;
    f.LoadFromFile(dir.file("f.txt", "ab\r\ncd"));
    EXPECT_EQ(f.textLength(), 6);
    EXPECT_EQ(f.offsetOfRow(2), -1);  // no break at the end: no row after the last
}

TEST(EditorModel, SelStartAndLengthRoundTrip) {
    EditorModel m;
    m.SetTextStr("abc\r\n\x82\xA0\x82\xA2\r\nxyz");
    m.SetSelStart(4);
    EXPECT_EQ(m.SelStart(), 3);  // an offset inside a break goes to the row's end
    m.SetSelStart(1);
    m.SetSelLength(8);
    EXPECT_EQ(m.SelStart(), 1);
    EXPECT_EQ(m.SelLength(), 8);
    EXPECT_EQ(m.SelectedText(), "bc\r\n\x82\xA0\x82\xA2");
    m.SelectAll();
    EXPECT_EQ(m.SelStart(), 0);
    EXPECT_EQ(m.SelLength(), m.textLength());
}

TEST(EditorModel, LineIndexOfRowWithSoftWrap) {
    EditorModel m;
    makeWrapped(m, 4, "abcdefgh\r\nxy\r\n");
    ASSERT_EQ(m.RowCount(), 3);
    EXPECT_EQ(m.rowKind(0), BreakKind::Wrapped);
    EXPECT_EQ(m.LineIndexOfRow(0), 0);
    EXPECT_EQ(m.LineIndexOfRow(1), 0);
    EXPECT_EQ(m.LineIndexOfRow(2), 1);
    EXPECT_EQ(m.LineIndexOfRow(3), 2);
    EXPECT_EQ(m.Lines().Count(), 2);
    EXPECT_EQ(m.Lines().Get(0), "abcdefgh");
    std::string joined;
    EXPECT_EQ(m.Lines().View(0, joined), "abcdefgh");  // joined from its two rows
    EXPECT_EQ(m.Lines().View(1, joined), "xy");
    // Changing a wrapped line re-cuts it and keeps the lines after it.
    m.Lines().Put(0, "ab");
    EXPECT_EQ(m.RowCount(), 2);
    EXPECT_EQ(m.Lines().Get(1), "xy");
    EXPECT_EQ(m.LineIndexOfRow(1), 1);
}

TEST(EditorModel, SoftWrapOnAndOffKeepsTextAndCaretOffset) {
    EditorModel m;
    m.SetTextStr("0123456789abcdef\r\nxyz");
    m.SetSelStart(12);
    TEditorWrapOption o;
    o.WrapByte = 5;
    m.SetWrapOption(o);
    m.SetWordWrap(true);
    EXPECT_EQ(m.RowCount(), 5);
    EXPECT_EQ(m.SelStart(), 12);
    EXPECT_EQ(m.GetTextStr(), "0123456789abcdef\r\nxyz\r\n");
    m.SetWordWrap(false);
    EXPECT_EQ(m.RowCount(), 2);
    EXPECT_EQ(m.SelStart(), 12);
    EXPECT_EQ(m.rowKind(1), BreakKind::LineBreak);
}

TEST(EditorModel, SoftWrapSwitchKeepsTheTopTextAndTheCaretInView) {
    EditorModel m;
    std::string text;
    for (int i = 0; i < 200; ++i) text += std::string(30, static_cast<char>('a' + i % 26)) + "\r\n";
    m.SetTextStr(text);
    m.setVisibleArea(10, 40);
    TEditorWrapOption o;
    o.WrapByte = 10;
    m.SetWrapOption(o);
    // Caret on line 150, line 145 at the top: each line takes three rows with wrap on.
    m.SetTopRow(145);
    m.setCaret({150, 4});
    m.SetWordWrap(true);
    EXPECT_EQ(m.LineIndexOfRow(m.Row()), 150);
    EXPECT_GE(m.Row(), m.TopRow());
    EXPECT_LT(m.Row(), m.TopRow() + m.VisibleRows());
    EXPECT_EQ(m.LineIndexOfRow(m.TopRow()), 147);  // scrolled just enough for the caret
    m.SetTopRow(m.firstRowOfLine(148));
    m.SetWordWrap(false);
    EXPECT_EQ(m.caret(), (TextPosition{150, 4}));
    EXPECT_EQ(m.TopRow(), 148);  // the text at the top stays at the top
}

TEST(DocumentOps, WidenToWholeLines) {
    EditorModel m;
    m.SetTextStr("l0\r\nl1\r\nline2\r\nline3\r\nline4\r\nl5\r\nlast");
    // From the middle of line 2 to the middle of line 4.
    m.select({2, 2}, {4, 2});
    widenToWholeLines(m);
    EXPECT_EQ(m.selectionStart(), (TextPosition{2, 0}));
    EXPECT_EQ(m.SelectedText(), "line2\r\nline3\r\nline4");
    auto range = lineRange(m);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, 2);
    EXPECT_EQ(range->last, 4);

    // Nothing selected on the end row: stops at the row before.
    m.select({2, 1}, {5, 0});
    range = lineRange(m);
    EXPECT_EQ(range->last, 4);

    // Ending on the last row extends to the end of the text.
    m.select({5, 1}, {6, 1});
    widenToWholeLines(m);
    EXPECT_EQ(m.SelectedText(), "l5\r\nlast\r\n");
    EXPECT_EQ(m.SelStart() + m.SelLength(), m.textLength());

    m.clearSelection();
    EXPECT_FALSE(lineRange(m));
}

TEST(DocumentOps, BulkEditStopAndDoubleEnd) {
    EditorModel m;
    m.SetTextStr("a\r\nb\r\n");
    std::vector<bool> stopItem;
    BulkEdit bulk(m, {[&](bool on) { stopItem.push_back(on); }, [] {}});
    bulk.begin(true);
    EXPECT_TRUE(m.updating());
    bulk.requestStop();
    EXPECT_FALSE(bulk.keepGoing());
    bulk.end(true);  // the stop command ends it...
    EXPECT_FALSE(m.updating());
    bulk.end(true);  // ...and the command's own end changes nothing
    EXPECT_EQ(stopItem, (std::vector<bool>{true, false}));
    bulk.begin(true);
    EXPECT_FALSE(bulk.stopRequested());
    EXPECT_TRUE(m.updating());
    bulk.end(true);
    EXPECT_EQ(m.SelStart(), m.textLength());
}

TEST(TextLines, BreakRulesAndEndOfFileByte) {
    const struct {
        std::string bytes;
        std::vector<std::string> lines;
        bool lastBreak;
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b"}, true},
        {"a\rb\nc", {"a", "b", "c"}, false},
        {"a\n\rb", {"a", "", "b"}, false},
        {"a\x1A" "b\r\n", {"a"}, false},
        {"a\r\n\x1A", {"a"}, true},
        {"a\0b\r\n"s, {"a\0b"s}, true},
        {"", {}, true},
    };
    for (const auto& c : cases) {
        for (std::size_t block : {1u, 2u, 3u, 8192u}) {
            TempDir dir;
            const std::string path = dir.file("t.txt", c.bytes);
            std::vector<std::string> got;
            bool lastBreak = true;
            readFileText(path, [&](std::string_view l, std::size_t, bool b) {
                got.emplace_back(l);
                lastBreak = b;
            }, block);
            EXPECT_EQ(got, c.lines) << "block " << block;
            EXPECT_EQ(lastBreak, c.lastBreak) << "block " << block;
        }
    }
}

// What a read reports besides the lines: the first break decides the
// convention, any other kind makes the file mixed (a CR ending one block and
// an LF starting the next are one CR LF), and a 0x1A with bytes after it.
TEST(TextLines, ReadReportsTheConventionAndTheBytesAfterTheEndMarker) {
    constexpr auto none = std::nullopt;
    const struct {
        std::string bytes;
        std::optional<LineBreakStyle> first;
        bool mixed;
        std::optional<std::uint64_t> marker;
        std::uint64_t after;
    } cases[] = {
        {"a\r\nb\r\n", LineBreakStyle::CrLf, false, none, 0},
        {"a\nb\n", LineBreakStyle::Lf, false, none, 0},
        {"a\rb\r", LineBreakStyle::Cr, false, none, 0},
        {"a\rb", LineBreakStyle::Cr, false, none, 0},
        {"ab", none, false, none, 0},
        {"a\nb\r\n", LineBreakStyle::Lf, true, none, 0},
        {"a\r\nb\rc", LineBreakStyle::CrLf, true, none, 0},
        {"a\r\n\x1A", LineBreakStyle::CrLf, false, 3, 0},
        {"a\x1A" "b\r\n", none, false, 1, 3},
        {"a\n\x1A" "b\r\n", LineBreakStyle::Lf, false, 2, 3},   // breaks after the marker do not count
        {"a\r\x1A" "b", LineBreakStyle::Cr, false, 2, 1},
    };
    for (const auto& c : cases) {
        for (std::size_t block : {1u, 2u, 3u, 8192u}) {
            TempDir dir;
            const FileReadReport report =
                readFileText(dir.file("t.txt", c.bytes), [](std::string_view, std::size_t, bool) {}, block).report;
            const std::string where = tabulo::testing::showBytes(c.bytes) + " block " + std::to_string(block);
            EXPECT_EQ(report.breaks.first(), c.first) << where;
            EXPECT_EQ(report.breaks.mixed(), c.mixed) << where;
            EXPECT_EQ(report.endMarkerOffset, c.marker) << where;
            EXPECT_EQ(report.bytesAfterEndMarker, c.after) << where;
        }
    }
}

// Every convention comes back byte for byte; a text without breaks and a new
// document save with CR LF, and a changed convention is what the next save
// writes.
TEST(EditorModel, SavesWithTheConventionOfItsFile) {
    TempDir dir;
    EditorModel m;
    for (const std::string bytes : {"a\r\nb\r\n", "a\nb\n", "a\rb\r", "a\nb"}) {
        m.LoadFromFile(dir.file("in.txt", bytes));
        m.Lines().Add("c");
        m.SaveToFile(dir.path("out.txt"));
        const std::string_view lineBreak = lineBreakBytes(m.lineBreakStyle());
        EXPECT_EQ(readAll(dir.path("out.txt")), "a" + std::string(lineBreak) + "b" + std::string(lineBreak) + "c" +
                                                    std::string(lineBreak))
            << tabulo::testing::showBytes(bytes);
    }
    m.LoadFromFile(dir.file("in.txt", "no break"));
    EXPECT_EQ(m.lineBreakStyle(), LineBreakStyle::CrLf);
    m.setLineBreakStyle(LineBreakStyle::Lf);
    m.Lines().Add("x");
    EXPECT_EQ(m.fileText(), "no break\nx\n");
    EXPECT_EQ(m.GetTextStr(), "no break\r\nx\r\n");  // the text itself keeps CR LF
}

TEST(EditorModel, LoadAndSaveKeepTheFinalBreakRule) {
    TempDir dir;
    EditorModel m;
    m.LoadFromFile(dir.file("a.txt", "a\r\nb"));
    EXPECT_EQ(m.Lines().Count(), 2);
    EXPECT_EQ(m.rowKind(1), BreakKind::EndOfText);
    m.SaveToFile(dir.path("out.txt"));
    EXPECT_EQ(readAll(dir.path("out.txt")), "a\r\nb");

    m.SetTextStr("a\r\nb");  // set as text: every line gets a break
    m.SaveToFile(dir.path("out.txt"));
    EXPECT_EQ(readAll(dir.path("out.txt")), "a\r\nb\r\n");

    // Mixed breaks: the first one (a lone CR) is the document's convention.
    m.LoadFromFile(dir.file("mixed.txt", "x\ry\nz\r\n\x1Atail"));
    EXPECT_EQ(lines(m), (std::vector<std::string>{"x", "y", "z"}));
    m.SaveToFile(dir.path("out.txt"));
    EXPECT_EQ(readAll(dir.path("out.txt")), "x\ry\rz\r");

    EXPECT_THROW(m.LoadFromFile(dir.path("missing.txt")), std::runtime_error);
    EXPECT_THROW(m.SaveToFile(dir.path("no/such/folder/f.txt")), std::runtime_error);
}

// A text converted after loading replaces the loaded one as a load would:
// nothing to undo, not modified, the file's convention and final break kept.
TEST(EditorModel, TextLoadedFromMemoryKeepsWhatTheFileLoadDecided) {
    TempDir dir;
    EditorModel m;
    m.LoadFromFile(dir.file("a.txt", "a\nb\nc"));
    m.setFileEncoding(FileEncoding::Utf8);
    m.Lines().Put(0, "z");
    m.LoadFromText("x\r\ny\r\nw");
    EXPECT_EQ(lines(m), (std::vector<std::string>{"x", "y", "w"}));
    EXPECT_FALSE(m.Modified());
    EXPECT_FALSE(m.CanUndo());
    EXPECT_EQ(m.lineBreakStyle(), LineBreakStyle::Lf);
    EXPECT_EQ(m.fileEncoding(), FileEncoding::Utf8);
    EXPECT_EQ(m.fileText(), "x\ny\nw");
    m.LoadFromText("x\r\n");
    EXPECT_EQ(m.fileText(), "x\n");
    // Every load starts again from Shift-JIS.
    m.LoadFromFile(dir.file("b.txt", "b"));
    EXPECT_EQ(m.fileEncoding(), FileEncoding::ShiftJis);
}

TEST(EditorModel, ReplaceSelectionAcrossLines) {
    EditorModel m;
    m.SetTextStr("abc\r\ndef\r\nghi");
    m.select({0, 1}, {2, 1});
    m.replaceSelection("X\r\nY");
    EXPECT_EQ(m.GetTextStr(), "aX\r\nYhi\r\n");
    EXPECT_EQ(m.caret(), (TextPosition{1, 1}));
    m.setCaret({1, 3});
    m.replaceSelection("\r\n");
    EXPECT_EQ(m.GetTextStr(), "aX\r\nYhi\r\n\r\n");
    EXPECT_EQ(m.caret(), (TextPosition{2, 0}));
}
