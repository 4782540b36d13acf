// TfmFind: the find and replace dialog (`fmFind`), one for the whole run,
// shown modelessly and kept above the other windows. Its tag picks the
// target editor: 0 the main window's, 1 the script editor's. It reads its
// histories on every show and writes them on every close.
#pragma once

#include <QDialog>
#include <array>
#include <optional>
#include <string>

#include "search/engine/search_options.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QToolButton;

namespace tabulo::search {

class EditorSearch;

class TfmFind : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMainEditor = 0;
    static constexpr int kScriptEditor = 1;

    explicit TfmFind(QWidget* parent = nullptr);

    // The search operations of the editor behind a tag (not owned).
    void setTarget(int tag, EditorSearch* search);
    int tag() const { return m_tag; }
    void setTag(int tag);
    EditorSearch* target() const;

    QComboBox& findCombo() { return *m_findCombo; }
    QComboBox& replaceCombo() { return *m_replaceCombo; }
    QCheckBox& matchCase() { return *m_matchCase; }
    QCheckBox& wholeWord() { return *m_wholeWord; }
    QCheckBox& regexp() { return *m_regexp; }
    QCheckBox& fuzzy() { return *m_fuzzy; }
    QCheckBox& replaceAll() { return *m_replaceAll; }

    // The buttons' commands.
    void FindBitBtn1Click();
    void ReplaceBitBtn1Click();
    void FindCancelBitBtn1Click();
    // Repeat the stored search of the target editor forward or backward
    // (also F3 and Shift+F3 of the main window, with the dialog closed).
    void sbFindNextClick();
    void sbFindPrevClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    SearchOptions checkedOptions() const;
    // The field's text as Shift-JIS; std::nullopt, after telling the user,
    // when it holds characters Shift-JIS has not.
    std::string fieldBytes(const QComboBox& combo) const;
    void updateButtons();
    void updateCaption();
    void scrollToFound(EditorSearch& search);
    void notFound(const QString& text);

    int m_tag = kMainEditor;
    std::array<EditorSearch*, 2> m_targets{};
    QComboBox* m_findCombo;
    QComboBox* m_replaceCombo;
    QCheckBox* m_matchCase;
    QCheckBox* m_wholeWord;
    QCheckBox* m_regexp;
    QCheckBox* m_fuzzy;
    QCheckBox* m_replaceAll;
    QPushButton* m_find;
    QPushButton* m_replace;
    QPushButton* m_findCancel;
    QPushButton* m_close;
    QToolButton* m_next;
    QToolButton* m_prev;
};

}  // namespace tabulo::search
