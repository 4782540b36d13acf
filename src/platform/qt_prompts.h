// The Prompts of the window program: real message boxes, input boxes, file
// dialogs and the font dialog, parented to the window that asks.
#pragma once

#include "platform/prompts.h"

#include <QFileDialog>
#include <QPointer>
#include <QWidget>

namespace tabulo::platform {

class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr);

    // The window the dialogs belong to while no other window of the program
    // is active; may be null.
    void setParentWidget(QWidget* parent);
    QWidget* parentWidget() const;

    void message(const QString& text, const QString& title = {},
                 Icon icon = Icon::Information) override;
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
    // The window a box opened now belongs to (see openerWindow()).
    QWidget* opener() const;
    QStringList runFileDialog(QFileDialog::AcceptMode mode, QFileDialog::FileMode files,
                              const QString& caption, const QString& startPath, const QString& filter,
                              int selectedFilter, bool askOverwrite);

    QPointer<QWidget> m_parent;
};

// Turns the program's filter notation ("desc|*.a;*.b|desc2|*.*") into Qt's
// ("desc (*.a *.b);;desc2 (*.*)"). A description without a pattern list
// gets "*". The dialogs hide the appended pattern list, so the user sees the
// program's own descriptions.
QString qtFileFilter(const QString& filter);

}  // namespace tabulo::platform
