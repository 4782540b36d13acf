// The editor widget driven like a person drives it: Qt Test key and mouse
// events on the offscreen platform, typed and input-method text, the system
// clipboard, and what the widget paints.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QUrl>
#include <QTextCharFormat>

#include "editor/model/editor_model.h"
#include "editor/view/editor_view.h"
#include "platform/clipboard.h"
#include "sjis/sjis_codec.h"
#include "platform/error_handler.h"
#include "platform/scripted_prompts.h"

using namespace tabulo::editor;
using tabulo::platform::PromptKind;

namespace {

const std::string kA = "\x82\xA0";  // あ

class EditorViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        tabulo::platform::installPrompts(&prompts);
        editor = std::make_unique<TEditor>(model);
        editor->resize(600, 400);
        editor->show();
        editor->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override {
        editor.reset();
        tabulo::platform::installPrompts(nullptr);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(editor.get(), k, mods); }
    void typeKeys(const QString& text) { QTest::keyClicks(editor.get(), text); }
    void commit(const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(editor.get(), &event);
    }
    QPoint at(int row, int col) const {
        return editor->pointOf(row, col) + QPoint(1, editor->rowHeight() / 2);
    }
    int beeps() const {
        int n = 0;
        for (const auto& r : prompts.records()) n += r.kind == PromptKind::Beep;
        return n;
    }
    // What the platform delivers for a double-click: a press and release,
    // then the second press as a double-click event, and its release.
    void doubleClick(QPoint point) {
        QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(editor->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseRelease(editor->viewport(), Qt::LeftButton, {}, point);
    }
    QImage grab() {
        editor->viewport()->repaint();
        return editor->viewport()->grab().toImage();
    }

    tabulo::platform::ScriptedPrompts prompts;
    EditorModel model;
    std::unique_ptr<TEditor> editor;
};

}  // namespace

TEST_F(EditorViewTest, TypingJapaneseFromTheInputMethodAndTheGetaMarkForWhatShiftJisLacks) {
    QStringList notes;
    QObject::connect(editor.get(), &TEditor::note, [&](const QString& text) { notes << text; });
    typeKeys(QStringLiteral("ab"));
    commit(QStringLiteral("あ漢"));
    EXPECT_EQ(model.GetTextStr(), "ab" + kA + "\x8A\xBF");
    EXPECT_EQ(model.Col(), 6);
    QInputMethodEvent composing(QStringLiteral("かな"), {});
    QApplication::sendEvent(editor.get(), &composing);  // composition is shown, not stored
    EXPECT_EQ(model.GetTextStr(), "ab" + kA + "\x8A\xBF");
    // The commit of a text holding characters Shift-JIS lacks keeps all
    // the rest: ゔ and the emoji become 〓 (0x81 0xAC), the user is told.
    QInputMethodEvent missing;
    missing.setCommitString(QStringLiteral("ゔあx😀y"));
    QApplication::sendEvent(editor.get(), &missing);
    EXPECT_EQ(model.GetTextStr(), "ab" + kA + "\x8A\xBF\x81\xAC" + kA + "x\x81\xACy");
    EXPECT_TRUE(editor->preedit().empty());
    EXPECT_EQ(beeps(), 0);
    EXPECT_EQ(notes, QStringList{QStringLiteral("Shift-JIS にない文字 2 個を「〓」に置き換えました。")});
    model.Undo();  // the commit is one step
    EXPECT_EQ(model.GetTextStr(), "ab" + kA + "\x8A\xBF");
    key(Qt::Key_Backspace);  // both bytes of 漢
    key(Qt::Key_Left);       // over both columns of あ
    EXPECT_EQ(model.Col(), 2);
    key(Qt::Key_Delete);
    EXPECT_EQ(model.GetTextStr(), "ab");
}

TEST_F(EditorViewTest, KeysOnWrappedRows) {
    TEditorWrapOption o;
    o.WrapByte = 4;
    o.FollowRetMark = true;
    model.SetWrapOption(o);
    model.SetWordWrap(true);
    model.SetTextStr("abcdefgh\r\nxy\r\n");  // rows abcd, efgh, xy
    model.setCaret({0, 3});
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(model.caret(), (TextPosition{1, 0}));
    key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(model.SelectedText(), "efgh");
    typeKeys(QStringLiteral("Z"));
    EXPECT_EQ(model.Lines().Get(0), "abcdZ");
    key(Qt::Key_Backspace);
    EXPECT_EQ(model.Lines().Get(0), "abcd");
    key(Qt::Key_Backspace);  // at column 0 after a wrap: the last character of the row above
    EXPECT_EQ(model.Lines().Get(0), "abc");
    key(Qt::Key_Return);
    EXPECT_EQ(model.GetTextStr(), "abc\r\n\r\nxy\r\n");
    key(Qt::Key_Tab);
    EXPECT_EQ(model.Lines().Get(1), "\t");
}

TEST_F(EditorViewTest, UndoAndRedoThroughTheWidgetRestoreTextAndCaret) {
    model.SetTextStr("one\r\ntwo");
    model.replaceLines(1, 1, {"two"}, BreakKind::EndOfText);
    const std::string text = model.GetTextStr();
    model.setCaret({1, 3});
    key(Qt::Key_Return);
    typeKeys(QStringLiteral("3"));
    while (model.CanUndo() && model.GetTextStr() != text) model.Undo();
    EXPECT_EQ(model.GetTextStr(), text);
    EXPECT_EQ(model.rowKind(1), BreakKind::EndOfText);
    EXPECT_EQ(model.caret(), (TextPosition{1, 3}));
    model.Redo();
    model.Redo();
    EXPECT_EQ(model.GetTextStr(), "one\r\ntwo\r\n3");
}

TEST_F(EditorViewTest, BoxCopyAndPasteThroughTheClipboard) {
    model.SetTextStr("a" + kA + "bc\r\nd\tefg\r\nx\r\n");
    model.SetBoxMode(true);
    model.select({0, 2}, {1, 5});  // row 0 from the second half of あ; row 1 inside the tab
    editor->copyToClipboard();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(QString::fromLatin1(tabulo::platform::kBoxMimeType)));
    EXPECT_EQ(data->text(), QStringLiteral("bc\ne\n"));  // other programs get LF
    model.clearSelection();
    model.setCaret({2, 3});
    editor->pasteFromClipboard();
    EXPECT_EQ(model.GetTextStr(), "a" + kA + "bc\r\nd\tefg\r\nx  bc\r\n   e\r\n");
    // Plain text from another program is pasted normally, even in box mode.
    QGuiApplication::clipboard()->setText(QStringLiteral("P\nQ"));
    model.setCaret({0, 0});
    editor->pasteFromClipboard();
    EXPECT_EQ(model.Lines().Get(0), "P");
    EXPECT_EQ(model.Lines().Get(1), "Qa" + kA + "bc");
    // Cut in normal mode: one step, undone whole.
    model.SetBoxMode(false);
    model.select({1, 0}, {1, 2});
    editor->cutToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Qa"));
    EXPECT_EQ(model.Lines().Get(1), kA + "bc");
    model.Undo();
    EXPECT_EQ(model.Lines().Get(1), "Qa" + kA + "bc");
}

TEST_F(EditorViewTest, ClipboardRoundTripsEveryDoubleByteCharacter) {
    // Every double-byte code the code page maps, one line per lead byte.
    const auto& codec = tabulo::sjis::SjisCodec::instance();
    std::string text;
    int count = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead < 0xE0) continue;
        std::string line;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const unsigned code = (lead << 8) | trail;
            if (codec.charToUtf16(code) == 0xFFFD) continue;
            line += static_cast<char>(lead);
            line += static_cast<char>(trail);
            ++count;
        }
        if (!line.empty()) text += line + "\r\n";
    }
    ASSERT_GT(count, 7000);
    model.SetTextStr(text);
    model.SelectAll();
    editor->copyToClipboard();
    // Out as Unicode: the plain text is the Unicode of every character,
    // with LF line breaks.
    const std::u16string unicode = codec.toUtf16(text);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QString::fromUtf16(unicode.data(), static_cast<qsizetype>(unicode.size()))
                  .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    model.SetTextStr("");
    editor->pasteFromClipboard();
    EXPECT_EQ(model.GetTextStr(), text);
}

TEST_F(EditorViewTest, ClickDragShiftClickAndRowSelection) {
    model.SetTextStr("hello world\r\nsecond\r\nthird\r\nfourth\r\nfifth\r\n");
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, at(0, 3));
    EXPECT_EQ(model.caret(), (TextPosition{0, 3}));
    EXPECT_FALSE(model.hasSelection());
    // A press and a move of less than half a character: still no selection.
    QTest::mousePress(editor->viewport(), Qt::LeftButton, {}, at(0, 3));
    QMouseEvent small(QEvent::MouseMove, at(0, 3) + QPoint(1, 0), editor->viewport()->mapToGlobal(at(0, 3)),
                      Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &small);
    QTest::mouseRelease(editor->viewport(), Qt::LeftButton, {}, at(0, 3) + QPoint(1, 0));
    EXPECT_FALSE(model.hasSelection());
    // Drag to select, then Shift+click extends from the anchor.
    QTest::mousePress(editor->viewport(), Qt::LeftButton, {}, at(0, 0));
    QMouseEvent move(QEvent::MouseMove, at(0, 5), editor->viewport()->mapToGlobal(at(0, 5)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &move);
    QTest::mouseRelease(editor->viewport(), Qt::LeftButton, {}, at(0, 5));
    EXPECT_EQ(model.SelectedText(), "hello");
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, Qt::ShiftModifier, at(1, 3));
    EXPECT_EQ(model.SelectedText(), "hello world\r\nsec");
    // The left bar: a click selects a row with its break; a drag takes whole rows.
    TEditorLeftbar bar = editor->leftbar();
    bar.Visible = true;
    editor->setLeftbar(bar);
    const QPoint barRow1(2, at(1, 0).y());
    QTest::mousePress(editor->viewport(), Qt::LeftButton, {}, barRow1);
    EXPECT_EQ(model.SelectedText(), "second\r\n");
    QMouseEvent down(QEvent::MouseMove, QPoint(2, at(3, 0).y()), editor->viewport()->mapToGlobal(barRow1),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &down);
    QTest::mouseRelease(editor->viewport(), Qt::LeftButton, {}, QPoint(2, at(3, 0).y()));
    EXPECT_EQ(model.SelectedText(), "second\r\nthird\r\nfourth\r\n");
    EXPECT_EQ(editor->viewport()->cursor().shape(), Qt::BitmapCursor);  // the right-pointing arrow
}

TEST_F(EditorViewTest, DoubleClickSelectsAWordAndATripleClickTheLine) {
    // x = 漢字かな abc_1
    model.SetTextStr("x = \x8a\xbf\x8e\x9a\x82\xa9\x82\xc8 abc_1\r\nnext\r\n");
    doubleClick(at(0, 6));  // on 字
    EXPECT_EQ(model.SelectedText(), "\x8a\xbf\x8e\x9a");
    doubleClick(at(0, 9));  // on な
    EXPECT_EQ(model.SelectedText(), "\x82\xa9\x82\xc8");
    doubleClick(at(0, 14));
    EXPECT_EQ(model.SelectedText(), "abc_1");
    // A third click soon after takes the whole line with its break.
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, at(0, 14));
    EXPECT_EQ(model.SelectedText(), "x = \x8a\xbf\x8e\x9a\x82\xa9\x82\xc8 abc_1\r\n");
    // A double-click past the end of a line selects nothing.
    doubleClick(at(1, 20));
    EXPECT_FALSE(model.hasSelection());
    EXPECT_EQ(model.caret(), (TextPosition{1, 4}));
}

TEST_F(EditorViewTest, DoubleClickTakesAWordAcrossASoftWrapAndTripleClickTheWholeLine) {
    TEditorWrapOption option = model.WrapOption();
    option.WrapByte = 10;
    model.SetWrapOption(option);
    model.SetWordWrap(true);
    model.SetTextStr("aaaa bbbbbbbbbbbbbbb cc\r\nlast\r\n");
    ASSERT_EQ(model.rowText(1).substr(0, 2), "bb");
    doubleClick(at(1, 2));
    EXPECT_EQ(model.SelectedText(), "bbbbbbbbbbbbbbb");
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, at(1, 2));
    EXPECT_EQ(model.SelectedText(), "aaaa bbbbbbbbbbbbbbb cc\r\n");
    doubleClick(at(3, 1));
    EXPECT_EQ(model.SelectedText(), "last");
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, at(3, 1));
    EXPECT_EQ(model.SelectedText(), "last\r\n");
    // The empty row after the final break holds no word and no line.
    doubleClick(at(4, 0));
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, at(4, 0));
    EXPECT_FALSE(model.hasSelection());
}

TEST_F(EditorViewTest, DragMoveWithinOneLineAndDragCopyWithCtrl) {
    model.SetTextStr("abc def ghi\r\n");
    model.select({0, 4}, {0, 7});  // "def"
    auto drag = [&](QPoint from, QPoint to, Qt::KeyboardModifiers mods) {
        QTest::mousePress(editor->viewport(), Qt::LeftButton, mods, from);
        QMouseEvent move(QEvent::MouseMove, to, editor->viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         mods);
        QApplication::sendEvent(editor->viewport(), &move);
        QTest::mouseRelease(editor->viewport(), Qt::LeftButton, mods, to);
    };
    drag(at(0, 5), at(0, 11), {});
    EXPECT_EQ(model.GetTextStr(), "abc  ghidef\r\n");
    EXPECT_EQ(model.history().undoCount(), 1);  // one replacement
    model.Undo();
    EXPECT_EQ(model.GetTextStr(), "abc def ghi\r\n");
    model.select({0, 4}, {0, 7});
    drag(at(0, 5), at(0, 0), Qt::ControlModifier);
    EXPECT_EQ(model.GetTextStr(), "defabc def ghi\r\n");
    model.Undo();
    EXPECT_EQ(model.GetTextStr(), "abc def ghi\r\n");
    // A drop inside the selection only removes the selection.
    model.select({0, 4}, {0, 7});
    drag(at(0, 4), at(0, 6), {});
    EXPECT_EQ(model.GetTextStr(), "abc def ghi\r\n");
    EXPECT_FALSE(model.hasSelection());
    // The mode does not change while a selection is being dragged out.
    QTest::mousePress(editor->viewport(), Qt::LeftButton, {}, at(0, 1));
    model.SetBoxMode(true);
    EXPECT_FALSE(model.BoxMode());
    QTest::mouseRelease(editor->viewport(), Qt::LeftButton, {}, at(0, 1));
    // In box mode a press inside the selection starts a new one.
    model.SetBoxMode(true);
    model.select({0, 4}, {0, 7});
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, at(0, 5));
    EXPECT_FALSE(model.hasSelection());
}

TEST_F(EditorViewTest, LinksShowTheHandAndOpenOnClick) {
    model.SetTextStr("see http://example.jp/a, x\r\n");
    QString opened;
    editor->setLinkOpener([&](const QString& url) { opened = url; });
    QMouseEvent hover(QEvent::MouseMove, at(0, 8), editor->viewport()->mapToGlobal(at(0, 8)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &hover);
    EXPECT_EQ(editor->viewport()->cursor().shape(), Qt::PointingHandCursor);
    QMouseEvent elsewhere(QEvent::MouseMove, at(0, 1), editor->viewport()->mapToGlobal(at(0, 1)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &elsewhere);
    EXPECT_EQ(editor->viewport()->cursor().shape(), Qt::IBeamCursor);
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, at(0, 8));
    EXPECT_EQ(opened, QStringLiteral("http://example.jp/a"));
}

TEST_F(EditorViewTest, MarksAndTheLeftBarAndRulerArePainted) {
    model.SetTextStr("a\tb\r\n\x81\x40z\r\nend");
    model.replaceLines(2, 1, {"end"}, BreakKind::EndOfText);
    auto silverPixelsIn = [&](const QImage& img, QRect r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) n += img.pixelColor(x, y) == QColor(0xC0, 0xC0, 0xC0);
        }
        return n;
    };
    auto cell = [&](int row, int col, int width = 1) {
        return QRect(editor->pointOf(row, col), QSize(width * editor->cellWidth(), editor->rowHeight()));
    };
    QImage img = grab();
    EXPECT_EQ(silverPixelsIn(img, cell(0, 1)), 0);  // tab arrows hidden by default
    EXPECT_GT(silverPixelsIn(img, cell(0, 5)), 0);  // the line-break arrow after "a\tb"
    EXPECT_GT(silverPixelsIn(img, cell(2, 3, 5)), 0);  // "[EOF]"
    TEditorExMarks marks = editor->exMarks();
    marks.TabMark.Visible = true;
    editor->setExMarks(marks);
    img = grab();
    EXPECT_GT(silverPixelsIn(img, cell(0, 1)), 0);
    // Left bar and ruler move the text; the bar is two digits wide here.
    const int before = editor->pointOf(0, 0).x();
    TEditorLeftbar bar = editor->leftbar();
    bar.Visible = true;
    editor->setLeftbar(bar);
    EXPECT_EQ(editor->leftbarPixels(), 3 + 2 * editor->cellWidth() + 2 + 2);
    EXPECT_EQ(editor->pointOf(0, 0).x(), before + editor->leftbarPixels());
    EXPECT_EQ(editor->rulerPixels(), 11);
    // The ruler marks the caret's column in the mark colour.
    model.setCaret({0, 3});
    img = grab();
    const QPoint mark(editor->pointOf(0, 3).x() + editor->cellWidth() / 2, 1);
    EXPECT_EQ(img.pixelColor(mark), QColor(Qt::black));
}

TEST_F(EditorViewTest, TokensCutBySoftWrapKeepTheirColourOnTheNextRow) {
    TEditorWrapOption o;
    o.WrapByte = 12;
    o.FollowRetMark = true;
    model.SetWrapOption(o);
    model.SetWordWrap(true);
    model.SetTextStr("see http://example.jp/abc\r\n# comment that wraps over\r\n");
    ASSERT_EQ(model.rowKind(0), BreakKind::Wrapped);
    auto countColour = [&](const QImage& img, int row, QColor colour) {
        const QRect r(editor->pointOf(row, 0), QSize(12 * editor->cellWidth(), editor->rowHeight()));
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) n += img.pixelColor(x, y) == colour;
        }
        return n;
    };
    const QImage img = grab();
    const QColor blue(0, 0, 255);
    const QColor green(0, 0x80, 0);
    EXPECT_GT(countColour(img, 1, blue), 0);   // the link's second row
    EXPECT_EQ(countColour(img, 1, green), 0);
    int commentRow = 0;
    while (commentRow < model.RowCount() && model.rowText(commentRow).rfind('#', 0) != 0) ++commentRow;
    ASSERT_LT(commentRow + 1, model.RowCount());
    EXPECT_GT(countColour(img, commentRow + 1, green), 0);  // the comment goes on after the wrap
    EXPECT_EQ(editor->verticalScrollBar()->value(), 0);
    EXPECT_EQ(editor->verticalScrollBar()->maximum(), model.lastCaretRow());
}

TEST_F(EditorViewTest, SearchMatchesInTheFindColourExchangedInsideTheSelection) {
    model.SetTextStr("ab ab ab\r\n");
    auto countColour = [&](const QImage& img, int col, QColor colour) {
        const QRect r(editor->pointOf(0, col), QSize(2 * editor->cellWidth(), editor->rowHeight()));
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) n += img.pixelColor(x, y) == colour;
        }
        return n;
    };
    const QColor aqua(0, 0xFF, 0xFF);
    const QColor black(Qt::black);
    EXPECT_EQ(countColour(grab(), 0, aqua), 0);  // no highlight before a search
    editor->setMatchFinder([](std::string_view line, auto& ranges) {
        for (std::size_t p = line.find("ab"); p != std::string_view::npos; p = line.find("ab", p + 2)) {
            ranges.emplace_back(p, p + 2);
        }
    });
    model.select({0, 3}, {0, 5});  // the second match
    const QImage img = grab();
    const int cellPixels = editor->cellWidth() * editor->rowHeight() * 2;
    EXPECT_GT(countColour(img, 0, aqua), cellPixels / 2);   // window text on aqua
    EXPECT_GT(countColour(img, 6, aqua), cellPixels / 2);
    EXPECT_GT(countColour(img, 3, black), cellPixels / 2);  // exchanged in the selection
    EXPECT_EQ(countColour(img, 3, aqua) > cellPixels / 2, false);
    editor->setMatchFinder({});
    EXPECT_EQ(countColour(grab(), 0, aqua), 0);
}

TEST_F(EditorViewTest, ReleaseWithEscHeldShowsTheDefaultCursor) {
    model.SetTextStr("see http://example.jp/a x\r\n");
    editor->setLinkOpener([](const QString&) {});
    // A press inside a draggable selection over a link, released without a
    // drag: the hand cursor without Esc, the default cursor with it held.
    for (const bool esc : {false, true}) {
        if (esc) QTest::keyPress(editor.get(), Qt::Key_Escape);
        model.select({0, 4}, {0, 20});
        QTest::mousePress(editor->viewport(), Qt::LeftButton, {}, at(0, 8));
        QTest::mouseRelease(editor->viewport(), Qt::LeftButton, {}, at(0, 8));
        EXPECT_FALSE(model.hasSelection());
        EXPECT_EQ(editor->viewport()->cursor().shape(), esc ? Qt::IBeamCursor : Qt::PointingHandCursor) << esc;
        if (esc) QTest::keyRelease(editor.get(), Qt::Key_Escape);
    }
}

namespace {

// A pre-edit event as an input method sends it: clauses with their formats
// and the cursor.
struct Clause {
    int start;
    int length;
    QTextCharFormat format;
};
QInputMethodEvent preeditEvent(const QString& text, const std::vector<Clause>& clauses, int cursor) {
    QList<QInputMethodEvent::Attribute> attributes;
    for (const Clause& c : clauses) {
        attributes << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, c.start, c.length, c.format);
    }
    attributes << QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, cursor, 1, QVariant());
    return QInputMethodEvent(text, attributes);
}

QTextCharFormat underlined() {
    QTextCharFormat f;
    f.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    return f;
}

QTextCharFormat highlighted() {
    QTextCharFormat f = underlined();
    f.setBackground(QColor(0, 0, 255));
    f.setForeground(QColor(255, 255, 255));
    return f;
}

}  // namespace

TEST_F(EditorViewTest, PreeditIsDrawnClauseByClauseWithTheCaretAtTheInputMethodsCursor) {
    model.SetTextStr("abc\r\ndef");
    model.setCaret({1, 1});
    // にほん|ご: the first clause underlined, the second (being converted)
    // highlighted, the input method's cursor after the third character.
    QInputMethodEvent e = preeditEvent(QStringLiteral("にほんご"), {{0, 2, underlined()}, {2, 2, highlighted()}}, 3);
    QApplication::sendEvent(editor.get(), &e);
    EXPECT_EQ(model.GetTextStr(), "abc\r\ndef\r\n");  // shown, not stored
    ASSERT_TRUE(editor->composing());

    // The input method is told where its cursor stands: column 1 + 6.
    QInputMethodQueryEvent q(Qt::ImCursorRectangle | Qt::ImSurroundingText | Qt::ImCursorPosition | Qt::ImEnabled);
    QApplication::sendEvent(editor.get(), &q);
    const QRect rect = q.value(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(rect.topLeft(), editor->viewport()->mapTo(editor.get(), editor->pointOf(1, 7)));
    EXPECT_EQ(rect.height(), editor->rowHeight());
    EXPECT_EQ(q.value(Qt::ImSurroundingText).toString(), QStringLiteral("def"));
    EXPECT_EQ(q.value(Qt::ImCursorPosition).toInt(), 1);
    EXPECT_TRUE(q.value(Qt::ImEnabled).toBool());

    const QImage image = grab();
    const int cw = editor->cellWidth();
    const QPoint origin = editor->pointOf(1, 1);
    const auto cellHas = [&](int firstCol, int cols, auto test) {
        for (int x = origin.x() + firstCol * cw; x < origin.x() + (firstCol + cols) * cw; ++x) {
            for (int y = origin.y(); y < origin.y() + editor->rowHeight(); ++y) {
                if (test(image.pixelColor(x, y))) return true;
            }
        }
        return false;
    };
    const auto blue = [](QColor c) { return c == QColor(0, 0, 255); };
    EXPECT_FALSE(cellHas(0, 4, blue)) << "first clause plain";
    EXPECT_TRUE(cellHas(4, 4, blue)) << "second clause highlighted";
    // The first clause's underline: a dark line under its cells, with a gap
    // at the clause boundary.
    int underlineRow = -1;
    for (int y = origin.y() + editor->rowHeight() - 1; y > origin.y(); --y) {
        int dark = 0;
        for (int x = origin.x(); x < origin.x() + 4 * cw - 2; ++x) dark += image.pixelColor(x, y).lightness() < 128;
        if (dark == 4 * cw - 2) {
            underlineRow = y;
            break;
        }
    }
    ASSERT_GE(underlineRow, 0);
    EXPECT_GT(image.pixelColor(origin.x() + 4 * cw - 1, underlineRow).lightness(), 128);
    // The caret bar inside the highlighted clause, and none before the pre-edit.
    const QPoint caretAt = editor->pointOf(1, 7);
    EXPECT_EQ(image.pixelColor(caretAt + QPoint(0, 1)), QColor(Qt::black));
    EXPECT_NE(image.pixelColor(origin + QPoint(0, 1)), QColor(Qt::black));
    // In insert mode the rest of the row ("ef") moves right of the pre-edit.
    const QImage plain = [&] {
        QInputMethodEvent none;
        QApplication::sendEvent(editor.get(), &none);
        return grab();
    }();
    const auto column = [&](const QImage& img, int x) {
        QList<QRgb> c;
        for (int y = origin.y(); y < origin.y() + editor->rowHeight(); ++y) c << img.pixel(x, y);
        return c;
    };
    for (int dx = 2; dx < 2 * cw; ++dx) {  // right of the caret bar of the plain row
        EXPECT_EQ(column(image, origin.x() + 8 * cw + dx), column(plain, origin.x() + dx)) << dx;
    }
}

TEST_F(EditorViewTest, ALongPreeditAtTheEndOfALongLineIsScrolledIntoView) {
    model.SetTextStr(std::string(300, 'x'));
    model.setCaret({0, 300});
    QInputMethodEvent e = preeditEvent(QStringLiteral("にほんごのぶんしょう"), {{0, 10, underlined()}}, 10);
    QApplication::sendEvent(editor.get(), &e);
    EXPECT_LE(editor->leftColumn(), 300);
    EXPECT_GT(editor->leftColumn() + model.VisibleColumns(), 320);
    EXPECT_EQ(editor->horizontalScrollBar()->value(), editor->leftColumn());
}

TEST_F(EditorViewTest, ALiveCompositionIsCommittedWhereItStandsBeforeAClickAKeyAFocusChangeOrACommand) {
    model.SetTextStr("abc\r\ndef\r\n");
    const auto compose = [&](const QString& text) {
        QInputMethodEvent e = preeditEvent(text, {{0, static_cast<int>(text.size()), underlined()}}, 0);
        QApplication::sendEvent(editor.get(), &e);
        ASSERT_TRUE(editor->composing());
    };
    model.setCaret({0, 1});
    compose(QStringLiteral("に"));
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, at(1, 2));
    EXPECT_EQ(model.Lines().Get(0), "a\x82\xC9" "bc");  // at the place it was composed
    EXPECT_EQ(model.caret(), (TextPosition{1, 2}));     // then the click acts
    EXPECT_FALSE(editor->composing());

    compose(QStringLiteral("ほ"));
    key(Qt::Key_Right);
    EXPECT_EQ(model.Lines().Get(1), "de\x82\xD9" "f");
    EXPECT_EQ(model.caret(), (TextPosition{1, 5}));

    compose(QStringLiteral("ん"));
    QWidget other;
    other.show();
    other.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(model.Lines().Get(1), "de\x82\xD9" "f\x82\xF1");
    EXPECT_FALSE(editor->composing());

    editor->setFocus();
    compose(QStringLiteral("ゔ"));  // a command: committed like typing, 〓 for what Shift-JIS lacks
    editor->commitComposition();
    EXPECT_EQ(model.Lines().Get(1), "de\x82\xD9" "f\x82\xF1\x81\xAC");
    EXPECT_EQ(beeps(), 0);
}

TEST_F(EditorViewTest, OneCommitIsOneStepOfTheHistoryInInsertAndOverwriteMode) {
    model.SetTextStr("abcdef");
    model.setCaret({0, 1});
    QString seventy;
    for (int i = 0; i < 70; ++i) seventy += QChar(u'あ' + i % 40);
    commit(seventy);  // more characters than the history has steps
    EXPECT_EQ(model.Col(), 141);
    model.Undo();
    EXPECT_EQ(model.Lines().Get(0), "abcdef");
    EXPECT_EQ(model.caret(), (TextPosition{0, 1}));
    EXPECT_FALSE(model.CanUndo());
    // Overwrite: 日本 (four columns) replaces bcde, in one step.
    model.SetOverwriteMode(true);
    commit(QStringLiteral("日本"));
    EXPECT_EQ(model.Lines().Get(0), "a\x93\xFA\x96\x7B" "f");
    model.Undo();
    EXPECT_EQ(model.Lines().Get(0), "abcdef");
}

TEST_F(EditorViewTest, DesktopClipboardKeysPasteCopyAndCutBesideTheEditorsOwn) {
    model.SetTextStr("one\r\ntwo\r\n");
    model.select({0, 0}, {1, 1});
    key(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("one\nt"));
    EXPECT_EQ(model.GetTextStr(), "one\r\ntwo\r\n");
    key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(model.GetTextStr(), "wo\r\n");
    model.setCaret({0, 2});
    key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(model.GetTextStr(), "woone\r\nt\r\n");  // byte for byte, through the private type
    // Text from another program: LF becomes the document's break, decomposed
    // kana are composed.
    QGuiApplication::clipboard()->setText(QStringLiteral("か\u3099\nz"));
    model.SetTextStr("");
    key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(model.GetTextStr(), "\x82\xAA\r\nz");
    EXPECT_TRUE(prompts.records().empty());  // nothing replaced, nothing to tell
}

TEST_F(EditorViewTest, TextDroppedFromAnotherProgramGoesInAtTheDropPointAndFilesGoOn) {
    model.SetTextStr("abc\r\n");
    const auto drop = [&](QMimeData& data, QPoint point) {
        QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(editor->viewport(), &enter);
        QDropEvent event(point, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(editor->viewport(), &event);
        return event.isAccepted();
    };
    QMimeData text;
    text.setText(QStringLiteral("ゔx"));
    EXPECT_TRUE(drop(text, at(0, 1)));
    EXPECT_EQ(model.Lines().Get(0), "a\x81\xAC" "xbc");
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, QStringLiteral("Shift-JIS にない文字 1 個を「〓」に置き換えて貼り付けました。"));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.txt"))});
    EXPECT_FALSE(drop(files, at(0, 0)));  // for the window: it opens files
    EXPECT_EQ(model.Lines().Get(0), "a\x81\xAC" "xbc");
}
