// Every message box, confirmation, input box, file dialog and font dialog of
// the program goes through this interface. The window program installs the
// Qt implementation; tests install ScriptedPrompts, which records each text
// shown and answers from a queue, so that questions are checked text for text.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

namespace tabulo::platform {

enum class Buttons { Ok, YesNo, YesCancel, YesNoCancel, OkCancel };
enum class Answer { Ok, Yes, No, Cancel };
enum class Icon { None, Information, Warning, Error, Question };

class Prompts {
public:
    virtual ~Prompts() = default;

    // A plain message box with an OK button. An empty title means the
    // program's own name.
    virtual void message(const QString& text, const QString& title = {},
                         Icon icon = Icon::Information) = 0;

    // A confirmation box; returns the button pressed. Closing the box
    // counts as Cancel when there is one, else as No.
    virtual Answer confirm(const QString& text, const QString& title, Buttons buttons,
                           Icon icon = Icon::Question) = 0;

    // An input box; std::nullopt when cancelled.
    virtual std::optional<QString> input(const QString& caption, const QString& prompt,
                                         const QString& defaultText) = 0;
    // The same with one check box under the field: `checked` gives its state
    // when the box opens and receives the user's choice when the input is
    // accepted (it stays as it was when the box is cancelled).
    virtual std::optional<QString> inputWithCheck(const QString& caption, const QString& prompt,
                                                  const QString& defaultText, const QString& checkCaption,
                                                  bool& checked) = 0;

    // File dialogs. `filter` uses the program's own notation: pairs of
    // description and patterns separated by '|', patterns by ';'
    // ("テキスト(*.txt)|*.txt;*.doc|すべて|*.*"). std::nullopt / empty list
    // when cancelled.
    // selectedFilter is the 0-based filter entry chosen when the dialog
    // opens.
    virtual std::optional<QString> openFile(const QString& caption, const QString& startPath,
                                            const QString& filter, int selectedFilter = 0) = 0;
    // Several files, in the order the dialog returns them.
    virtual QStringList openFiles(const QString& caption, const QString& startPath,
                                  const QString& filter, int selectedFilter = 0) = 0;
    // askOverwrite false leaves the question about an existing file to the
    // caller, which asks one of its own.
    virtual std::optional<QString> saveFile(const QString& caption, const QString& startPath,
                                            const QString& filter, bool askOverwrite = true) = 0;

    // The font dialog; std::nullopt when cancelled.
    virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;

    // The desktop's warning sound for a refused key or character.
    virtual void beep() = 0;
};

}  // namespace tabulo::platform
