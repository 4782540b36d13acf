// Recording prompts for tests; see scripted_prompts.h.
#include "platform/scripted_prompts.h"

#include <stdexcept>
#include <string>

namespace tabulo::platform {

namespace detail {

const char* kindName(PromptKind kind)
{
    switch (kind) {
    case PromptKind::Message: return "message";
    case PromptKind::Confirm: return "confirm";
    case PromptKind::Input: return "input";
    case PromptKind::OpenFile: return "openFile";
    case PromptKind::OpenFiles: return "openFiles";
    case PromptKind::SaveFile: return "saveFile";
    case PromptKind::ChooseFont: return "chooseFont";
    case PromptKind::Beep: return "beep";
    }
    return "prompt";
}

[[noreturn]] void throwUnexpected(const PromptRecord& record, const char* why)
{
    throw std::logic_error(std::string("ScriptedPrompts: ") + why + " for " + kindName(record.kind)
                           + " \"" + record.text.toStdString() + '"');
}

template <typename T>
T takeAnswer(std::deque<T>& queue, const PromptRecord& record)
{
    if (queue.empty()) {
        throwUnexpected(record, "no answer queued");
    }
    T answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

bool offers(Buttons buttons, Answer answer)
{
    switch (buttons) {
    case Buttons::Ok: return answer == Answer::Ok;
    case Buttons::YesNo: return answer == Answer::Yes || answer == Answer::No;
    case Buttons::YesCancel: return answer == Answer::Yes || answer == Answer::Cancel;
    case Buttons::YesNoCancel: return answer != Answer::Ok;
    case Buttons::OkCancel: return answer == Answer::Ok || answer == Answer::Cancel;
    }
    return false;
}

}  // namespace detail

void ScriptedPrompts::queueAnswer(Answer answer)
{
    m_answers.push_back(answer);
}

void ScriptedPrompts::queueInput(std::optional<QString> text)
{
    m_inputs.push_back(std::move(text));
}

void ScriptedPrompts::queueCheck(bool checked)
{
    m_checks.push_back(checked);
}

void ScriptedPrompts::queueFile(std::optional<QString> path)
{
    m_files.push_back(std::move(path));
}

void ScriptedPrompts::queueFiles(QStringList paths)
{
    m_fileLists.push_back(std::move(paths));
}

void ScriptedPrompts::queueFont(std::optional<QFont> font)
{
    m_fonts.push_back(std::move(font));
}

const std::vector<PromptRecord>& ScriptedPrompts::records() const
{
    return m_records;
}

QStringList ScriptedPrompts::texts() const
{
    QStringList result;
    for (const PromptRecord& record : m_records) {
        result << record.text;
    }
    return result;
}

void ScriptedPrompts::clear()
{
    m_records.clear();
    m_answers.clear();
    m_inputs.clear();
    m_checks.clear();
    m_files.clear();
    m_fileLists.clear();
    m_fonts.clear();
}

int ScriptedPrompts::pendingAnswers() const
{
    return static_cast<int>(m_answers.size() + m_inputs.size() + m_checks.size() + m_files.size()
                            + m_fileLists.size() + m_fonts.size());
}

PromptRecord& ScriptedPrompts::record(PromptKind kind, const QString& text)
{
    PromptRecord& added = m_records.emplace_back();
    added.kind = kind;
    added.text = text;
    return added;
}

void ScriptedPrompts::message(const QString& text, const QString& title, Icon icon)
{
    PromptRecord& added = record(PromptKind::Message, text);
    added.title = title;
    added.icon = icon;
}

Answer ScriptedPrompts::confirm(const QString& text, const QString& title, Buttons buttons,
                                Icon icon)
{
    PromptRecord& added = record(PromptKind::Confirm, text);
    added.title = title;
    added.buttons = buttons;
    added.icon = icon;
    const Answer answer = detail::takeAnswer(m_answers, added);
    if (!detail::offers(buttons, answer)) {
        detail::throwUnexpected(added, "queued answer is not one of the buttons");
    }
    return answer;
}

std::optional<QString> ScriptedPrompts::input(const QString& caption, const QString& prompt,
                                              const QString& defaultText)
{
    PromptRecord& added = record(PromptKind::Input, caption);
    added.prompt = prompt;
    added.defaultText = defaultText;
    return detail::takeAnswer(m_inputs, added);
}

std::optional<QString> ScriptedPrompts::inputWithCheck(const QString& caption, const QString& prompt,
                                                       const QString& defaultText, const QString& checkCaption,
                                                       bool& checked)
{
    PromptRecord& added = record(PromptKind::Input, caption);
    added.prompt = prompt;
    added.defaultText = defaultText;
    added.checkCaption = checkCaption;
    added.checked = checked;
    std::optional<QString> text = detail::takeAnswer(m_inputs, added);
    if (!m_checks.empty()) {
        if (text) checked = m_checks.front();
        m_checks.pop_front();
    }
    return text;
}

PromptRecord& ScriptedPrompts::fileRecord(PromptKind kind, const QString& caption,
                                          const QString& startPath, const QString& filter)
{
    PromptRecord& added = record(kind, caption);
    added.defaultText = startPath;
    added.filter = filter;
    return added;
}

std::optional<QString> ScriptedPrompts::openFile(const QString& caption, const QString& startPath,
                                                 const QString& filter, int selectedFilter)
{
    PromptRecord& added = fileRecord(PromptKind::OpenFile, caption, startPath, filter);
    added.selectedFilter = selectedFilter;
    return detail::takeAnswer(m_files, added);
}

QStringList ScriptedPrompts::openFiles(const QString& caption, const QString& startPath,
                                       const QString& filter, int selectedFilter)
{
    PromptRecord& added = fileRecord(PromptKind::OpenFiles, caption, startPath, filter);
    added.selectedFilter = selectedFilter;
    return detail::takeAnswer(m_fileLists, added);
}

std::optional<QString> ScriptedPrompts::saveFile(const QString& caption, const QString& startPath,
                                                 const QString& filter, bool askOverwrite)
{
    PromptRecord& entry = fileRecord(PromptKind::SaveFile, caption, startPath, filter);
    entry.askOverwrite = askOverwrite;
    return detail::takeAnswer(m_files, entry);
}

std::optional<QFont> ScriptedPrompts::chooseFont(const QFont& initial)
{
    PromptRecord& added = record(PromptKind::ChooseFont, initial.family());
    added.font = initial;
    return detail::takeAnswer(m_fonts, added);
}

void ScriptedPrompts::beep()
{
    record(PromptKind::Beep, {});
}

}  // namespace tabulo::platform
