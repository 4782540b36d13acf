// Qt dialogs behind the Prompts interface. Empty titles become the
// application name; filters are translated from the program's notation.
#include "platform/qt_prompts.h"

#include "platform/modal_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>

#include <algorithm>

namespace tabulo::platform {

namespace detail {

QString titleOrAppName(const QString& title)
{
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

QMessageBox::Icon toQtIcon(Icon icon)
{
    switch (icon) {
    case Icon::None: return QMessageBox::NoIcon;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// The window manager cuts a title wider than the box; leave room for it and
// the title bar's buttons.
void leaveRoomForTitle(QDialog& dialog, const QString& title)
{
    constexpr int kTitleBarButtons = 120;
    dialog.setMinimumWidth(dialog.fontMetrics().horizontalAdvance(title) + kTitleBarButtons);
}

// Qt breaks a message wider than a fixed share of the screen anywhere, also
// inside a word; the box is widened instead so that each line of the text
// fits, as far as the screen allows.
void fitLines(QMessageBox& box)
{
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    const QScreen* screen = box.screen();
    if (!label || !grid || !screen) return;
    int widest = 0;
    for (const QString& line : box.text().split(QLatin1Char('\n')))
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
    // How wide QMessageBox lets itself grow.
    const int screenWidth = screen->availableGeometry().width();
    const int boxLimit = screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
    constexpr int kIconAndMargins = 120;
    const int limit = boxLimit - kIconAndMargins;
    const int width = std::min(widest + label->fontMetrics().averageCharWidth(), limit);
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(label), &row, &column, &rowSpan, &columnSpan);
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), column);
}

// Qt's own dialog on every desktop, so that it follows the program's
// stacking rule.
const QFileDialog::Options kFileDialogOptions =
    QFileDialog::HideNameFilterDetails | QFileDialog::DontUseNativeDialog;

// A file dialog shows its name, size, type and date columns in full, however
// small the window that opened it is.
void sizeForColumns(QFileDialog& dialog)
{
    const QScreen* screen = dialog.screen();
    const QSize wanted(820, 520);
    dialog.resize(screen ? wanted.boundedTo(screen->availableGeometry().size() * 9 / 10) : wanted);
}

}  // namespace detail

namespace {

// File names here are case-sensitive: "*.*" would only match names with a
// dot, so it becomes "*", and an extension is matched in lower and in upper
// case whatever case the entry writes it in.
QStringList filePatterns(const QStringList& patterns)
{
    QStringList result;
    const auto add = [&result](const QString& pattern) {
        if (!result.contains(pattern)) result << pattern;
    };
    for (const QString& pattern : patterns) {
        if (pattern == QStringLiteral("*.*")) {
            add(QStringLiteral("*"));
        } else if (pattern.startsWith(QStringLiteral("*."))) {
            add(pattern.toLower());
            add(pattern.toUpper());
        } else {
            add(pattern);
        }
    }
    return result;
}

}  // namespace

QString qtFileFilter(const QString& filter)
{
    if (filter.isEmpty()) {
        return {};
    }
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString patterns = i + 1 < parts.size()
            ? filePatterns(parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)).join(QLatin1Char(' '))
            : QString();
        // Qt reads the patterns from the last parenthesised group of an
        // entry; descriptions may hold their own, so ours always comes last.
        entries << parts[i] + QStringLiteral(" (")
                       + (patterns.isEmpty() ? QStringLiteral("*") : patterns)
                       + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

QtPrompts::QtPrompts(QWidget* parent) : m_parent(parent) {}

void QtPrompts::setParentWidget(QWidget* parent)
{
    m_parent = parent;
}

QWidget* QtPrompts::parentWidget() const
{
    return m_parent;
}

QWidget* QtPrompts::opener() const
{
    return openerWindow(m_parent);
}

void QtPrompts::message(const QString& text, const QString& title, Icon icon)
{
    QMessageBox box(detail::toQtIcon(icon), detail::titleOrAppName(title), text, QMessageBox::Ok,
                    opener());
    detail::fitLines(box);
    runModal(box);
}

Answer QtPrompts::confirm(const QString& text, const QString& title, Buttons buttons, Icon icon)
{
    QMessageBox::StandardButtons qtButtons;
    QMessageBox::StandardButton escape = QMessageBox::NoButton;
    switch (buttons) {
    case Buttons::Ok:
        qtButtons = QMessageBox::Ok;
        escape = QMessageBox::Ok;
        break;
    case Buttons::YesNo:
        qtButtons = QMessageBox::Yes | QMessageBox::No;
        escape = QMessageBox::No;
        break;
    case Buttons::YesCancel:
        qtButtons = QMessageBox::Yes | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    case Buttons::YesNoCancel:
        qtButtons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    case Buttons::OkCancel:
        qtButtons = QMessageBox::Ok | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    }
    QMessageBox box(detail::toQtIcon(icon), detail::titleOrAppName(title), text, qtButtons,
                    opener());
    box.setEscapeButton(escape);
    // The first button is the default, as Enter answers Yes or OK.
    box.setDefaultButton(buttons == Buttons::Ok || buttons == Buttons::OkCancel
                             ? QMessageBox::Ok
                             : QMessageBox::Yes);
    detail::fitLines(box);
    runModal(box);
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: break;
    }
    // Closed in some other way: as the escape button.
    return escape == QMessageBox::Cancel ? Answer::Cancel
         : escape == QMessageBox::Ok     ? Answer::Ok
                                         : Answer::No;
}

std::optional<QString> QtPrompts::input(const QString& caption, const QString& prompt,
                                        const QString& defaultText)
{
    QInputDialog dialog(opener());
    const QString title = detail::titleOrAppName(caption);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    detail::leaveRoomForTitle(dialog, title);
    if (runModal(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}

std::optional<QString> QtPrompts::inputWithCheck(const QString& caption, const QString& prompt,
                                                 const QString& defaultText, const QString& checkCaption,
                                                 bool& checked)
{
    QDialog dialog(opener());
    const QString title = detail::titleOrAppName(caption);
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(prompt, &dialog));
    auto* field = new QLineEdit(defaultText, &dialog);
    layout->addWidget(field);
    auto* check = new QCheckBox(checkCaption, &dialog);
    check->setChecked(checked);
    layout->addWidget(check);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    detail::leaveRoomForTitle(dialog, title);
    if (runModal(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    checked = check->isChecked();
    return field->text();
}

QStringList QtPrompts::runFileDialog(QFileDialog::AcceptMode mode, QFileDialog::FileMode files,
                                     const QString& caption, const QString& startPath,
                                     const QString& filter, int selectedFilter, bool askOverwrite)
{
    const QString qtFilter = qtFileFilter(filter);
    QFileDialog dialog(opener(), caption, startPath, qtFilter);
    dialog.setOptions(detail::kFileDialogOptions);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !askOverwrite);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(files);
    if (!qtFilter.isEmpty()) dialog.selectNameFilter(qtFilter.split(QStringLiteral(";;")).value(selectedFilter));
    detail::sizeForColumns(dialog);
    if (runModal(dialog) != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles();
}

std::optional<QString> QtPrompts::openFile(const QString& caption, const QString& startPath,
                                           const QString& filter, int selectedFilter)
{
    const QStringList paths = runFileDialog(QFileDialog::AcceptOpen, QFileDialog::ExistingFile, caption,
                                            startPath, filter, selectedFilter, true);
    if (paths.isEmpty() || paths.front().isEmpty()) {
        return std::nullopt;
    }
    return paths.front();
}

QStringList QtPrompts::openFiles(const QString& caption, const QString& startPath,
                                 const QString& filter, int selectedFilter)
{
    return runFileDialog(QFileDialog::AcceptOpen, QFileDialog::ExistingFiles, caption, startPath, filter,
                         selectedFilter, true);
}

std::optional<QString> QtPrompts::saveFile(const QString& caption, const QString& startPath,
                                           const QString& filter, bool askOverwrite)
{
    const QStringList paths = runFileDialog(QFileDialog::AcceptSave, QFileDialog::AnyFile, caption, startPath,
                                            filter, 0, askOverwrite);
    if (paths.isEmpty() || paths.front().isEmpty()) {
        return std::nullopt;
    }
    return paths.front();
}

std::optional<QFont> QtPrompts::chooseFont(const QFont& initial)
{
    QFontDialog dialog(initial, opener());
    if (runModal(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.selectedFont();
}

void QtPrompts::beep()
{
    QApplication::beep();
}

}  // namespace tabulo::platform
