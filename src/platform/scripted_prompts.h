// The Prompts of tests: every question and message is recorded in order, and
// the answers come from queues the test fills beforehand. A question with no
// queued answer is still recorded, then throws std::logic_error naming its
// text, so a test notices a question it did not expect.
#pragma once

#include "platform/prompts.h"

#include <deque>
#include <vector>

namespace tabulo::platform {

enum class PromptKind { Message, Confirm, Input, OpenFile, OpenFiles, SaveFile, ChooseFont, Beep };

// One call, as the program made it. For input boxes and file dialogs `text`
// holds the caption; `defaultText` holds the input default or the file
// dialog's start path, `filter` the file dialog's filter. For the font
// dialog `text` is the family of the font offered and `font` that font.
struct PromptRecord {
    PromptKind kind = PromptKind::Message;
    QString title;
    QString text;
    QString prompt;
    QString defaultText;
    QString filter;
    int selectedFilter = 0;  // openFile(s): the filter entry chosen at first
    QString checkCaption;    // inputWithCheck: the check box's caption
    bool checked = false;    // inputWithCheck: its state when the box opened
    bool askOverwrite = true;  // saveFile: whether the dialog asks before replacing a file
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    QFont font;
};

class ScriptedPrompts : public Prompts {
public:
    // Answers for confirm().
    void queueAnswer(Answer answer);
    // Answers for input(); std::nullopt = the box is cancelled.
    void queueInput(std::optional<QString> text);
    // States the user gives the check box of inputWithCheck(); without one
    // queued the box is left as it opened.
    void queueCheck(bool checked);
    // Answers for openFile() and saveFile(); std::nullopt = cancelled.
    void queueFile(std::optional<QString> path);
    // Answers for openFiles(); an empty list = cancelled.
    void queueFiles(QStringList paths);
    // Answers for chooseFont(); std::nullopt = cancelled.
    void queueFont(std::optional<QFont> font);

    const std::vector<PromptRecord>& records() const;
    // The text of each record, in order.
    QStringList texts() const;
    // Forgets the records and every queued answer.
    void clear();
    // How many queued answers of all kinds are still unused.
    int pendingAnswers() const;

    void message(const QString& text, const QString& title = {},
                 Icon icon = Icon::Information) override;
    // Throws std::logic_error also when the queued answer is not one of the
    // box's buttons (a Cancel for a Yes/No box).
    Answer confirm(const QString& text, const QString& title, Buttons buttons,
                   Icon icon = Icon::Question) override;
    std::optional<QString> input(const QString& caption, const QString& prompt,
                                 const QString& defaultText) override;
    std::optional<QString> inputWithCheck(const QString& caption, const QString& prompt,
                                          const QString& defaultText, const QString& checkCaption,
                                          bool& checked) override;
    std::optional<QString> openFile(const QString& caption, const QString& startPath,
                                    const QString& filter, int selectedFilter = 0) override;
    QStringList openFiles(const QString& caption, const QString& startPath,
                          const QString& filter, int selectedFilter = 0) override;
    std::optional<QString> saveFile(const QString& caption, const QString& startPath,
                                    const QString& filter, bool askOverwrite = true) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    void beep() override;

private:
    PromptRecord& record(PromptKind kind, const QString& text);
    PromptRecord& fileRecord(PromptKind kind, const QString& caption, const QString& startPath,
                             const QString& filter);

    std::vector<PromptRecord> m_records;
    std::deque<Answer> m_answers;
    std::deque<std::optional<QString>> m_inputs;
    std::deque<bool> m_checks;
    std::deque<std::optional<QString>> m_files;
    std::deque<QStringList> m_fileLists;
    std::deque<std::optional<QFont>> m_fonts;
};

}  // namespace tabulo::platform
