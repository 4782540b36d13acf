// A loaded file is held once and its unedited lines point into it: what
// loads must save back byte for byte, edits must land where an independent
// edit of the bytes puts them, and undo must give back the file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/model/editor_model.h"
#include "support/file_fixture.h"
#include "support/show_bytes.h"

using namespace tabulo::editor;
using tabulo::testing::ScratchFolder;

namespace {

// From this many bytes on a line is held as a long place of its own.
constexpr std::size_t kLongLine = std::size_t{1} << 22;

// Shift-JIS lines ("日本語", "テキスト", "表示") of varying length.
std::vector<std::string> japaneseLines(int count) {
    const std::string words[] = {"\x93\xFA\x96\x7B\x8C\xEA", "\x83\x65\x83\x4C\x83\x58\x83\x67", "abc ",
                                 "\x95\x5C\x8E\xA6", "\t"};
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        std::string line;
        for (int w = 0; w < i % 17; ++w) line += words[(i + w) % 5];
        lines.push_back(line);
    }
    return lines;
}

std::string join(const std::vector<std::string>& lines, const std::string& lineBreak, bool finalBreak) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        if (i + 1 < lines.size() || finalBreak) out += lineBreak;
    }
    return out;
}

}  // namespace

// Unedited, with soft wrap off and on, every kind of file saves as it was.
TEST(LoadedText, UneditedFileSavesTheSameBytes) {
    const std::string longLine(kLongLine, 'x');
    const std::string edgeLine(kLongLine - 1, '\x82');  // the longest line held the short way
    const std::string cases[] = {
        join(japaneseLines(300), "\r\n", true),
        join(japaneseLines(300), "\n", false),
        join(japaneseLines(300), "\r", true),
        std::string("a\0b\r\n\r\n\r\nlast", 13),
        "only",
        "x\r\n" + longLine + "\r\n" + edgeLine + "\r\ny",
        edgeLine + "\n" + longLine,
    };
    ScratchFolder dir;
    for (bool wrap : {false, true}) {
        for (const std::string& bytes : cases) {
            EditorModel m;
            m.SetWordWrap(wrap);
            m.LoadFromFile(dir.write("in.txt", bytes));
            m.SaveToFile(dir.path("out.txt"));
            EXPECT_EQ(ScratchFolder::read(dir.path("out.txt")) == bytes, true)
                << "wrap " << wrap << ": " << tabulo::testing::showBytes(bytes.substr(0, 40));
            m.SetWordWrap(!wrap);
            EXPECT_EQ(m.fileText() == bytes, true) << "rewrapped, wrap " << wrap;
        }
    }
}

// Edits at the start, in the middle, at the end and on a long line, with
// the caret moving over lines that stay as loaded; then undo returns the
// file and redo the edited bytes.
TEST(LoadedText, EditsLandWhereAnIndependentEditPutsThemAndUndoReturnsTheFile) {
    std::vector<std::string> expected = japaneseLines(2000);
    expected[1500] = std::string(kLongLine + 10, 'y');
    const std::string original = join(expected, "\n", false);
    ScratchFolder dir;
    for (bool wrap : {false, true}) {
        std::vector<std::string> lines = expected;
        EditorModel m;
        m.SetWordWrap(wrap);
        m.LoadFromFile(dir.write("in.txt", original));
        m.Lines().Put(0, "first");
        lines[0] = "first";
        m.Lines().Put(1999, "last");  // the last line keeps having no break
        lines[1999] = "last";
        m.Lines().Insert(700, "\x8A\xBF\x8E\x9A");
        lines.insert(lines.begin() + 700, "\x8A\xBF\x8E\x9A");
        m.Lines().Delete(1000);
        lines.erase(lines.begin() + 1000);
        // Two loaded lines joined by removing the break between them.
        const int row = m.firstRowOfLine(1201) - 1;  // the last row of line 1200
        m.replaceRange({row, m.rowColumns(row)}, {row + 1, 0}, "+");
        lines[1200] += "+" + lines[1201];
        lines.erase(lines.begin() + 1201);
        // Inside the long line.
        // Inside the long line, which the edits above moved to line 1499.
        const int longRow = m.firstRowOfLine(1499);
        m.replaceRange({longRow, 3}, {longRow, 5}, "\r\nsplit\r\n");
        const std::string tail = lines[1499].substr(5);
        lines[1499].resize(3);
        lines.insert(lines.begin() + 1500, {"split", tail});
        const std::string edited = join(lines, "\n", false);
        m.SaveToFile(dir.path("out.txt"));
        EXPECT_EQ(ScratchFolder::read(dir.path("out.txt")) == edited, true) << "wrap " << wrap;

        // Offset units: every line break counts 2.
        EXPECT_EQ(m.textLength(), static_cast<std::int64_t>(edited.size() + lines.size() - 1)) << "wrap " << wrap;
        while (m.CanUndo()) m.Undo();
        EXPECT_EQ(m.fileText() == original, true) << "wrap " << wrap;
        EXPECT_EQ(m.textLength(), static_cast<std::int64_t>(original.size() + 1999)) << "wrap " << wrap;
        while (m.CanRedo()) m.Redo();
        EXPECT_EQ(m.fileText() == edited, true) << "wrap " << wrap;
        // Soft wrap switched over the edited text keeps it.
        m.SetWordWrap(!wrap);
        EXPECT_EQ(m.fileText() == edited, true) << "rewrapped, wrap " << wrap;
    }
}

// Text set from memory is held the same way as a loaded file.
TEST(LoadedText, TextFromMemoryEditsAndUndoes) {
    const std::string text = join(japaneseLines(50), "\r\n", false);
    EditorModel m;
    m.LoadFromText(text);
    m.Lines().Put(10, "z");
    std::vector<std::string> lines = japaneseLines(50);
    lines[10] = "z";
    EXPECT_EQ(m.GetTextStr(), join(lines, "\r\n", false));
    m.Undo();
    EXPECT_EQ(m.GetTextStr(), text);
    m.SetTextStr(text);
    EXPECT_EQ(m.GetTextStr(), text + "\r\n");  // set as text: every line gets a break
}
