// Editing through the document model without a display: the history, box
// selection and box paste, the keys, the tokenizer and the line-number bar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/model/editor_keys.h"
#include "editor/model/editor_model.h"
#include "editor/model/editor_tokenizer.h"
#include "editor/model/leftbar_layout.h"

using namespace tabulo::editor;

namespace {

const std::string kA = "\x82\xA0";    // あ
const std::string kKan = "\x8A\xBF";  // 漢

void wrapAt(EditorModel& m, int width) {
    TEditorWrapOption o;
    o.WrapByte = width;
    o.FollowRetMark = true;
    m.SetWrapOption(o);
    m.SetWordWrap(true);
}

void type(EditorModel& m, const std::string& s) {
    ASSERT_TRUE(typeText(m, s));
}

void press(EditorModel& m, EditKey key, KeyModifiers mods = {}, TEditorCaret opt = {}) {
    pressKey(m, opt, key, mods);
}

// Every row's text and break kind, so an undo can be checked exactly.
std::vector<std::pair<std::string, BreakKind>> rows(const EditorModel& m) {
    std::vector<std::pair<std::string, BreakKind>> out;
    for (int r = 0; r < m.RowCount(); ++r) out.emplace_back(m.rowText(r), m.rowKind(r));
    return out;
}

}  // namespace

// ---------------------------------------------------------------- history

TEST(History, UndoAndRedoRestoreTextCaretAndBreakKinds) {
    for (const bool wrap : {false, true}) {
        EditorModel m;
        if (wrap) wrapAt(m, 6);
        m.SetTextStr("abcdefghij\r\nxyz");
        // SetTextStr gives a final break; make the last line end the text.
        m.replaceLines(1, 1, {"xyz"}, BreakKind::EndOfText);
        const auto before = rows(m);
        const std::string text = m.GetTextStr();
        m.setCaret({0, 3});
        const int steps = m.history().undoCount();
        type(m, "Q");
        m.Lines().Add("added");  // turns the last line's end into a break
        press(m, EditKey::Enter);
        EXPECT_EQ(m.history().undoCount(), steps + 3);
        m.Undo();
        m.Undo();
        m.Undo();
        EXPECT_EQ(m.GetTextStr(), text) << wrap;
        EXPECT_EQ(rows(m), before) << wrap;
        EXPECT_EQ(m.caret(), (TextPosition{0, 3})) << wrap;
        EXPECT_TRUE(m.CanRedo());
        m.Redo();
        EXPECT_EQ(m.Lines().Get(0), "abcQdefghij");
        EXPECT_EQ(m.caret(), (TextPosition{0, 4}));  // where it stood when the step was undone
        m.Redo();
        m.Redo();
        EXPECT_FALSE(m.CanRedo());
        EXPECT_EQ(m.Lines().Count(), 4);  // Enter below the last row added an empty line
        EXPECT_EQ(m.Lines().Get(2), "added");
    }
}

TEST(History, SixtyFiveInsertionsKeepSixtyFourSteps) {
    EditorModel m;
    for (int i = 0; i < 65; ++i) type(m, "x");
    EXPECT_EQ(m.history().undoCount(), 64);
    while (m.CanUndo()) m.Undo();
    EXPECT_EQ(m.GetTextStr(), "x");  // the first insertion cannot be undone
    EXPECT_EQ(m.history().redoCount(), 64);
}

TEST(History, TypingAfterUndoEmptiesRedoAndRedoKeepsTheUndoLength) {
    EditorModel m;
    type(m, "a");
    type(m, "b");
    m.Undo();
    m.Redo();
    EXPECT_EQ(m.history().undoCount(), 2);
    EXPECT_FALSE(m.CanRedo());
    m.Undo();
    type(m, "c");
    EXPECT_FALSE(m.CanRedo());
}

TEST(History, WholeTextChangesAndWrapSwitchEmptyIt) {
    EditorModel m;
    type(m, "a");
    m.SetWordWrap(true);
    EXPECT_FALSE(m.CanUndo());
    type(m, "b");
    m.SetTextStr("new");
    EXPECT_FALSE(m.CanUndo());
    // Appending many lines after clearing keeps only the last 64 appends.
    m.Lines().Clear();
    for (int i = 0; i < 100; ++i) m.Lines().Add(std::to_string(i));
    while (m.CanUndo()) m.Undo();
    EXPECT_EQ(m.Lines().Count(), 36);
    EXPECT_EQ(m.Lines().Get(35), "35");
}

// ---------------------------------------------------------------- box selection

TEST(BoxSelection, EdgesOnDoubleByteCharactersAndTabs) {
    struct Case {
        std::string row;
        int left, right;
        std::string slice;
    };
    const std::vector<Case> cases = {
        {"ab" + kA + "cd", 3, 5, "c"},            // left edge on the second half: left out
        {"ab" + kA + "cd", 1, 3, "b" + kA},       // right edge on the first half: taken whole
        {"ab" + kA + "cd", 2, 4, kA},
        {"a\tbcd", 2, 5, "b"},                    // left edge inside tab padding: the tab is left out
        {"a\tbcd", 0, 2, "a\t"},                  // right edge inside the padding: the tab whole
        {"ab", 3, 5, ""},                         // a row shorter than the left edge
    };
    for (const Case& c : cases) {
        EditorModel m;
        m.SetTextStr(c.row + "\r\n");
        m.SetBoxMode(true);
        m.select({0, c.left}, {0, c.right});
        EXPECT_EQ(m.SelectedText(), c.slice + "\r\n") << c.row << " " << c.left << "-" << c.right;
    }
}

TEST(BoxSelection, CopyOfTwoRowsAndPasteIntoAShortRowPads) {
    EditorModel m;
    m.SetTextStr("a1234\r\nb5678\r\nx\r\n");
    m.SetBoxMode(true);
    m.select({0, 0}, {1, 1});
    const std::string clip = m.SelectedText();
    EXPECT_EQ(clip, "a\r\nb\r\n");
    m.setCaret({2, 3});
    m.pasteBox(clip);
    EXPECT_EQ(m.GetTextStr(), "a1234\r\nb5678\r\nx  a\r\n   b\r\n");  // past the last row: a new row
    EXPECT_EQ(m.caret(), (TextPosition{3, 4}));
    m.Undo();
    EXPECT_EQ(m.GetTextStr(), "a1234\r\nb5678\r\nx\r\n");
}

TEST(BoxSelection, PasteInsertsAtTheColumnAndReplacesABoxSelection) {
    EditorModel m;
    m.SetTextStr("0123\r\n" + kA + "23\r\nxyz");
    m.replaceLines(2, 1, {"xyz"}, BreakKind::EndOfText);
    m.setCaret({0, 1});
    m.pasteBox("AB\r\nCD\r\n");
    // Column 1 falls on the second half of あ: the block goes after it.
    EXPECT_EQ(m.GetTextStr(), "0AB123\r\n" + kA + "CD23\r\nxyz");
    m.SetBoxMode(true);
    m.select({0, 1}, {1, 4});  // "AB1" and "CD" (あ left out at the left edge)
    m.pasteBox("Z");
    EXPECT_EQ(m.GetTextStr(), "0Z23\r\n" + kA + "23\r\nxyz");
    EXPECT_EQ(m.history().undoCount(), 3);  // one step each
    // A block running past a text without a final break keeps it that way.
    m.clearSelection();
    m.setCaret({2, 1});
    m.pasteBox("1\r\n2\r\n");
    EXPECT_EQ(m.GetTextStr(), "0Z23\r\n" + kA + "23\r\nx1yz\r\n 2");
}

TEST(BoxSelection, TypedCharacterReplacesTheBoxAtItsLeftEdge) {
    EditorModel m;
    m.SetTextStr("abcd\r\nefgh\r\n");
    m.SetBoxMode(true);
    m.select({0, 1}, {1, 3});
    type(m, "X");
    EXPECT_EQ(m.GetTextStr(), "aXd\r\neh\r\n");
}

// ---------------------------------------------------------------- keys

TEST(Keys, TabInsertsTabOrSpacesOrMovesInOverwrite) {
    TEditorCaret soft;
    soft.SoftTab = true;
    EditorModel m;
    m.SetTextStr("ab\r\n");
    m.setCaret({0, 2});
    press(m, EditKey::Tab);
    EXPECT_EQ(m.Lines().Get(0), "ab\t");
    m.SetTextStr("ab\r\n");
    m.setCaret({0, 2});
    press(m, EditKey::Tab, {}, soft);
    EXPECT_EQ(m.Lines().Get(0), "ab  ");
    m.SetTextStr("ab\r\n");
    m.setCaret({0, 2});
    m.SetOverwriteMode(true);
    press(m, EditKey::Tab);
    EXPECT_EQ(m.Lines().Get(0), "ab");
    EXPECT_EQ(m.Col(), 4);
    // Soft wrap at 10: at column 9 only one column is left on the row.
    EditorModel w;
    wrapAt(w, 10);
    w.SetTextStr("123456789\r\n");
    w.setCaret({0, 9});
    press(w, EditKey::Tab, {}, soft);
    EXPECT_EQ(w.Lines().Get(0), "123456789 ");
}

TEST(Keys, EnterWithAutoIndent) {
    struct Case {
        bool tabIndent;
        int caretCol;
        std::string newLine;
    };
    for (const Case& c : {Case{true, 7, "\t"}, Case{false, 7, "    "}, Case{true, 2, "  "}}) {
        EditorModel m;
        m.SetAutoIndent(true);
        m.SetTextStr("    abc\r\n");
        m.setCaret({0, c.caretCol});
        TEditorCaret opt;
        opt.TabIndent = c.tabIndent;
        press(m, EditKey::Enter, {}, opt);
        const std::string rest = c.caretCol == 7 ? "" : "  abc";
        EXPECT_EQ(m.Lines().Get(1), c.newLine + rest) << c.caretCol;
        EXPECT_EQ(m.caret(), (TextPosition{1, static_cast<int>(c.newLine.size() == 1 ? 4 : c.newLine.size())}));
    }
    // Below the last row: a line break is appended.
    EditorModel m;
    press(m, EditKey::Enter);
    EXPECT_EQ(m.GetTextStr(), "\r\n");
    EXPECT_EQ(m.caret(), (TextPosition{1, 0}));
}

TEST(Keys, BackspaceUnindentsToTheUpperLine) {
    for (const auto& [above, expected] : std::vector<std::pair<std::string, std::string>>{
             {"  up", "  abc"}, {"up", "abc"}}) {
        EditorModel m;
        m.SetTextStr(above + "\r\n    abc\r\n");
        m.setCaret({1, 4});
        press(m, EditKey::Backspace);
        EXPECT_EQ(m.Lines().Get(1), expected) << above;
        EXPECT_EQ(m.Col(), static_cast<int>(expected.size()) - 3);
    }
}

TEST(Keys, BackspaceAndDeleteTakeWholeDoubleByteCharactersAndJoinLines) {
    EditorModel m;
    m.SetTextStr("a" + kA + "b\r\ncd");
    m.setCaret({0, 3});
    press(m, EditKey::Backspace);
    EXPECT_EQ(m.Lines().Get(0), "ab");
    m.setCaret({0, 1});
    type(m, kKan);
    m.setCaret({0, 1});
    press(m, EditKey::Delete);
    EXPECT_EQ(m.Lines().Get(0), "ab");
    m.setCaret({0, 2});
    press(m, EditKey::Delete);  // end of a line joins the next
    EXPECT_EQ(m.GetTextStr(), "abcd\r\n");
    m.setCaret({0, 4});
    press(m, EditKey::Delete);  // end of the last line: nothing
    EXPECT_EQ(m.GetTextStr(), "abcd\r\n");
    m.SetTextStr("ab\r\ncd\r\n");
    m.setCaret({1, 0});
    press(m, EditKey::Backspace);
    EXPECT_EQ(m.GetTextStr(), "abcd\r\n");
    EXPECT_EQ(m.caret(), (TextPosition{0, 2}));
}

TEST(Keys, LeftAndRightAcrossWrappedRowsAndBreaks) {
    EditorModel m;
    wrapAt(m, 4);
    m.SetTextStr("abcdef\r\nxy\r\n");  // rows: abcd (wrapped), ef, xy
    m.setCaret({1, 0});
    press(m, EditKey::Left);
    EXPECT_EQ(m.caret(), (TextPosition{0, 4}));
    m.setCaret({2, 0});
    press(m, EditKey::Left);  // after a line break, NextLine off: stays
    EXPECT_EQ(m.caret(), (TextPosition{2, 0}));
    TEditorCaret next;
    next.NextLine = true;
    press(m, EditKey::Left, {}, next);
    EXPECT_EQ(m.caret(), (TextPosition{1, 2}));
    m.setCaret({0, 4});
    press(m, EditKey::Right);
    EXPECT_EQ(m.caret(), (TextPosition{1, 0}));
    // Typing on a wrapped row goes into the line and re-wraps it.
    m.setCaret({1, 1});
    type(m, "Z");
    EXPECT_EQ(m.Lines().Get(0), "abcdeZf");
    EXPECT_EQ(m.rowText(1), "eZf");
    // Overwrite continues into the next row of the same line.
    m.SetOverwriteMode(true);
    m.setCaret({0, 3});
    type(m, kKan);
    EXPECT_EQ(m.Lines().Get(0), "abc" + kKan + "Zf");
}

TEST(Keys, OverwriteOnTheFirstHalfLeavesASpace) {
    EditorModel m;
    m.SetTextStr(kA + "b\r\n");
    m.SetOverwriteMode(true);
    type(m, "x");
    EXPECT_EQ(m.Lines().Get(0), "x b");
}

TEST(Keys, ShiftMovesExtendTheSelectionAndPageDownScrolls) {
    EditorModel m;
    std::string text;
    for (int i = 0; i < 50; ++i) text += "line\r\n";
    m.SetTextStr(text);
    m.setVisibleArea(10, 80);
    KeyModifiers shift;
    shift.shift = true;
    press(m, EditKey::End, shift);
    EXPECT_EQ(m.SelectedText(), "line");
    press(m, EditKey::PageDown);
    EXPECT_FALSE(m.hasSelection());
    EXPECT_EQ(m.TopRow(), 9);
    EXPECT_EQ(m.Row(), 9);
    press(m, EditKey::PageUp);
    press(m, EditKey::PageUp);
    EXPECT_EQ(m.Row(), 0);
}

TEST(Keys, TypingRefusesLoneLeadBytesAndControlCharacters) {
    EditorModel m;
    EXPECT_FALSE(typeText(m, "a\x82"));
    EXPECT_FALSE(typeText(m, "\x01"));
    EXPECT_EQ(m.GetTextStr(), "");
    m.SetTextStr("ab\r\n");
    m.setCaret({0, 5});
    type(m, "c");  // beyond the end: filled with spaces
    EXPECT_EQ(m.Lines().Get(0), "ab   c");
}

// ---------------------------------------------------------------- tokenizer

namespace {

struct Tokenizer {
    TEditorViewInfo view;
    TEditorBracketCollection brackets;
    ReserveWordList words;
    std::vector<std::pair<std::string, TokenKind>> run(const std::string& line, int open = -1, int* end = nullptr) {
        std::vector<Token> tokens;
        const int e = tokenizeLine(line, open, {view, brackets, words}, tokens);
        if (end) *end = e;
        std::vector<std::pair<std::string, TokenKind>> out;
        for (const Token& t : tokens) {
            out.emplace_back(line.substr(t.begin, t.end - t.begin), t.reserved ? TokenKind::None : t.kind);
        }
        return out;
    }
};

}  // namespace

TEST(Tokenizer, LinksCommentsNumbersAndDoubleByteRuns) {
    Tokenizer t;
    using K = TokenKind;
    using V = std::vector<std::pair<std::string, TokenKind>>;
    EXPECT_EQ(t.run("see http://a.jp/x?q=1, ok"),
              (V{{"see", K::Ank}, {"http://a.jp/x?q=1", K::Url}, {",", K::Symbol}, {"ok", K::Ank}}));
    EXPECT_EQ(t.run("xhttp://a"), (V{{"xhttp", K::Ank}, {":", K::Symbol}, {"/", K::Symbol}, {"/", K::Symbol},
                                     {"a", K::Ank}}));
    EXPECT_EQ(t.run("x = 1.5e+3 # note"), (V{{"x", K::Ank}, {"=", K::Symbol}, {"1.5e+3", K::Int}, {"# note", K::Comment}}));
    EXPECT_EQ(t.run("0x1F"), (V{{"0x1F", K::Int}}));
    EXPECT_EQ(t.run("\x82\xA0\x82\xA2\x81\x5B" "\x83\x41" "\x8A\xBF\x8E\x9A"),
              (V{{"\x82\xA0\x82\xA2\x81\x5B", K::DBCS}, {"\x83\x41", K::DBCS}, {"\x8A\xBF\x8E\x9A", K::DBCS}}));
    EXPECT_EQ(t.run(">a>>b> c"), (V{{">a>>b>", K::Str}, {"c", K::Ank}}));
    t.view.Mail = true;
    EXPECT_EQ(t.run("to a.b@c.jp"), (V{{"to", K::Ank}, {"a.b@c.jp", K::Mail}}));
    EXPECT_EQ(t.run("a@b")[0].second, K::Ank);  // no dot after the @: no mail token
}

TEST(Tokenizer, ReservedWordsMatchWholeTokensIgnoringCase) {
    Tokenizer t;
    t.words.Assign({"if", "print", "if"});
    EXPECT_EQ(t.words.Count(), 2);
    const auto tokens = t.run("IF If iffy Print printf");
    EXPECT_EQ(tokens[0].second, TokenKind::None);  // reserved
    EXPECT_EQ(tokens[1].second, TokenKind::None);
    EXPECT_EQ(tokens[2].second, TokenKind::Ank);
    EXPECT_EQ(tokens[3].second, TokenKind::None);
    EXPECT_EQ(tokens[4].second, TokenKind::Ank);
}

TEST(Tokenizer, BracketRegionsCarryAcrossLinesAndTheCollectionHoldsFourteen) {
    Tokenizer t;
    t.brackets.Add({"/*", "*/", {}});
    int open = -2;
    auto first = t.run("a /* open", -1, &open);
    EXPECT_EQ(open, 0);
    EXPECT_EQ(first.back(), (std::pair<std::string, TokenKind>{"/* open", TokenKind::Bracket}));
    auto second = t.run("still */ b", open, &open);
    EXPECT_EQ(open, -1);
    EXPECT_EQ(second[0], (std::pair<std::string, TokenKind>{"still */", TokenKind::Bracket}));
    EXPECT_EQ(second[1].first, "b");
    for (int i = 1; i < 14; ++i) t.brackets.Add({"<", ">", {}});
    try {
        t.brackets.Add({"<", ">", {}});
        FAIL() << "a 15th item was accepted";
    } catch (const std::length_error& e) {
        EXPECT_STREQ(e.what(), "TEditorBracketCollection\r\nYou can not add item over 14");
    }
    EXPECT_EQ(t.brackets.Count(), 14);
}

// ---------------------------------------------------------------- line-number bar

TEST(Leftbar, WidthFollowsTheLastNumberAndTheFinalBreak) {
    TEditorLeftbar bar;  // the main editor's: Column 2
    EditorModel m;
    std::string nine;
    for (int i = 0; i < 9; ++i) nine += "x\r\n";
    m.SetTextStr(nine);
    EXPECT_EQ(leftbarDigits(bar, m), 2);
    EXPECT_EQ(leftbarNumber(bar, m, 9), 10);  // the row after the final break is numbered
    EXPECT_FALSE(leftbarNumber(bar, m, 10));
    std::string hundred;
    for (int i = 0; i < 99; ++i) hundred += "x\r\n";
    m.SetTextStr(hundred);
    EXPECT_EQ(leftbarDigits(bar, m), 3);  // 99 lines and a break: number 100
    m.SetTextStr(hundred + "x");
    m.replaceLines(99, 1, {"x"}, BreakKind::EndOfText);
    EXPECT_EQ(leftbarDigits(bar, m), 3);
    m.replaceLines(98, 2, {"x"}, BreakKind::EndOfText);  // 99 lines, no final break
    EXPECT_EQ(leftbarDigits(bar, m), 2);
    EXPECT_EQ(leftbarWidth(bar, 2, 8), 3 + 16 + 2 + 2);
    bar.ZeroLead = true;
    EXPECT_EQ(formatLeftbarNumber(bar, 7, 3), "007");
    EXPECT_EQ(clampLeftbarColumn(0), 1);
    EXPECT_EQ(clampLeftbarColumn(12), 8);
    EXPECT_EQ(clampGaugeRange(9), 8);
    EXPECT_EQ(clampGaugeRange(12), 10);
}

TEST(Leftbar, LineModeNumbersOnlyTheFirstRowOfAWrappedLine) {
    TEditorLeftbar bar;
    bar.ShowNumberMode = NumberMode::nmLine;
    EditorModel m;
    wrapAt(m, 4);
    m.SetTextStr("abcdefgh\r\nxy\r\n");  // rows: abcd, efgh, xy
    EXPECT_EQ(leftbarNumber(bar, m, 0), 1);
    EXPECT_FALSE(leftbarNumber(bar, m, 1));
    EXPECT_EQ(leftbarNumber(bar, m, 2), 2);
}

// ---------------------------------------------------------------- random edits

namespace {

// Offsets, line starts and line indexes recomputed from the rows alone.
void expectCachesTrue(const EditorModel& m, int step) {
    std::int64_t offset = 0;
    int line = 0;
    for (int r = 0; r < m.RowCount(); ++r) {
        ASSERT_EQ(m.offsetOfRow(r), offset) << "row " << r << " step " << step;
        ASSERT_EQ(m.LineIndexOfRow(r), line) << "row " << r << " step " << step;
        if (r == 0 || m.rowKind(r - 1) != BreakKind::Wrapped) {
            ASSERT_EQ(m.firstRowOfLine(line), r) << step;
        }
        offset += static_cast<std::int64_t>(m.rowText(r).size()) + (m.rowKind(r) == BreakKind::LineBreak ? 2 : 0);
        if (m.rowKind(r) != BreakKind::Wrapped) ++line;
    }
    ASSERT_EQ(m.textLength(), offset) << step;
    const bool lastWrapped = m.RowCount() > 0 && m.rowKind(m.RowCount() - 1) == BreakKind::Wrapped;
    ASSERT_EQ(m.Lines().Count(), line + (lastWrapped ? 1 : 0)) << step;
}

}  // namespace

TEST(RandomEdits, CachesStayTrueAndUndoingEverythingRestoresTheRows) {
    for (const bool wrap : {false, true}) {
        unsigned seed = wrap ? 7u : 3u;
        auto next = [&](unsigned n) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) % n;
        };
        EditorModel m;
        if (wrap) wrapAt(m, 7);
        m.SetUndoListMax(1000);
        m.SetTextStr("first line\r\n\tsecond " + kA + kKan + "\r\nthird\r\n");
        const auto original = rows(m);
        TEditorCaret opt;
        const std::vector<std::string> typed = {"a", " ", kA, "\t", "xyz"};
        for (int step = 0; step < 400; ++step) {
            m.setCaret({static_cast<int>(next(static_cast<unsigned>(m.lastCaretRow() + 1))), static_cast<int>(next(14))});
            switch (next(7)) {
            case 0: ASSERT_TRUE(typeText(m, typed[next(5)])); break;
            case 1: pressKey(m, opt, EditKey::Enter); break;
            case 2: pressKey(m, opt, EditKey::Backspace); break;
            case 3: pressKey(m, opt, EditKey::Delete); break;
            case 4: m.pasteBox("P\r\nQQ\r\n"); break;
            case 5:
                m.select(m.caret(), {static_cast<int>(next(static_cast<unsigned>(m.lastCaretRow() + 1))), 2});
                m.replaceSelection("R\r\nS");
                break;
            default: m.SetOverwriteMode(!m.OverwriteMode()); break;
            }
            expectCachesTrue(m, step);
            if (::testing::Test::HasFatalFailure()) return;
        }
        while (m.CanUndo()) m.Undo();
        EXPECT_EQ(rows(m), original) << "wrap " << wrap;
        expectCachesTrue(m, -1);
        while (m.CanRedo()) m.Redo();
        expectCachesTrue(m, -2);
    }
}
