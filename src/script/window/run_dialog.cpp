#include "script/window/run_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/error_handler.h"
#include "platform/folders.h"
#include "platform/local_path.h"
#include "platform/prompts.h"
#include "platform/settings_store.h"
#include "script/engine/keyword_file.h"

namespace tabulo::script {
namespace {

const QString kSettingsKey = QStringLiteral("\\Software\\Tabulo\\fmRun");
const QString kDestinationValue = QStringLiteral("ChildScreen");

QString scriptValueName(ScriptMode mode) {
    switch (mode) {
    case ScriptMode::Awk: return QStringLiteral("AwkScr");
    case ScriptMode::Ruby: return QStringLiteral("RubyScr");
    case ScriptMode::Sed: return QStringLiteral("SedScr");
    case ScriptMode::Xtr: return QStringLiteral("XtrScr");
    }
    return {};
}

// The folder part of a path, with its trailing '/'; empty for a bare name.
QString folderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

QRadioButton* addRadio(QButtonGroup* group, QLayout* layout, const QString& caption, int id) {
    auto* button = new QRadioButton(caption);
    group->addButton(button, id);
    layout->addWidget(button);
    return button;
}

}  // namespace

TfmRun::TfmRun(ScriptSession& session, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_session(session) {
    setObjectName(QStringLiteral("fmRun"));
    setWindowTitle(QStringLiteral("Script実行"));
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    auto* programBox = new QGroupBox(QStringLiteral("プログラム ( Script File )"));
    auto* programRow = new QHBoxLayout(programBox);
    m_scripts = new QComboBox;
    m_scripts->setObjectName(QStringLiteral("ComboBox1"));
    m_scripts->setEditable(true);
    m_scripts->setInsertPolicy(QComboBox::NoInsert);
    m_scripts->setMinimumWidth(240);
    m_choose = new QPushButton(QStringLiteral("参 照"));
    m_choose->setObjectName(QStringLiteral("btScript"));
    m_choose->setToolTip(QStringLiteral("ファイル選択のダイアログボックス"));
    m_choose->setAutoDefault(false);
    programRow->addWidget(m_scripts, 1);
    programRow->addWidget(m_choose);
    layout->addWidget(programBox);

    auto* argumentBox = new QGroupBox(QStringLiteral("引数, オプション, ファイル"));
    auto* argumentRow = new QHBoxLayout(argumentBox);
    m_arguments = new QLineEdit;
    m_arguments->setObjectName(QStringLiteral("edRunArg"));
    m_arguments->setToolTip(QStringLiteral("ファイル名は \"ファイル名\" のようにダブルクォートで囲んでください。"));
    argumentRow->addWidget(m_arguments);
    layout->addWidget(argumentBox);

    auto* choices = new QHBoxLayout;
    auto* placementBox = new QGroupBox;
    placementBox->setObjectName(QStringLiteral("rgOption"));
    placementBox->setToolTip(QStringLiteral("処理ファイルやスクリプトの引数は末尾。スイッチ、オプションは先頭。"));
    auto* placementColumn = new QVBoxLayout(placementBox);
    m_placement = new QButtonGroup(this);
    addRadio(m_placement, placementColumn, QStringLiteral("先頭"), 0);
    addRadio(m_placement, placementColumn, QStringLiteral("末尾"), 1)->setChecked(true);
    choices->addWidget(placementBox);

    auto* destinationBox = new QGroupBox(QStringLiteral("処理結果の出力先"));
    destinationBox->setObjectName(QStringLiteral("rgGamenOpt"));
    destinationBox->setToolTip(QStringLiteral("ターゲット画面とスクリプト画面を隠すかどうかを決めます"));
    auto* destinationColumn = new QVBoxLayout(destinationBox);
    m_destination = new QButtonGroup(this);
    addRadio(m_destination, destinationColumn, QStringLiteral("親画面を最小化して出力"), 0)->setChecked(true);
    addRadio(m_destination, destinationColumn, QStringLiteral("親画面を残 して出力"), 1);
    addRadio(m_destination, destinationColumn, QStringLiteral("クリップボードに出力"), 2);
    choices->addWidget(destinationBox, 1);
    layout->addLayout(choices);

    auto* buttons = new QHBoxLayout;
    m_runButton = new QToolButton;
    m_runButton->setObjectName(QStringLiteral("sbRun"));
    m_runButton->setText(QStringLiteral("直接実行モード"));
    m_runButton->setToolTip(QStringLiteral("直接実行モード"));
    m_debugButton = new QToolButton;
    m_debugButton->setObjectName(QStringLiteral("sbDebug"));
    m_debugButton->setText(QStringLiteral("編集・デバッグ モード"));
    m_debugButton->setToolTip(QStringLiteral("編集・デバッグ モード"));
    m_cancel = new QPushButton(QStringLiteral("キャンセル"));
    m_cancel->setObjectName(QStringLiteral("Button1"));
    m_cancel->setAutoDefault(false);
    buttons->addWidget(m_runButton);
    buttons->addWidget(m_debugButton);
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    m_runButton->setEnabled(false);
    m_debugButton->setEnabled(false);

    const auto guarded = [this](void (TfmRun::*command)()) {
        return [this, command] { platform::runGuarded(platform::prompts(), [&] { (this->*command)(); }); };
    };
    connect(m_choose, &QPushButton::clicked, this, guarded(&TfmRun::chooseScript));
    connect(m_runButton, &QToolButton::clicked, this, guarded(&TfmRun::directRun));
    connect(m_debugButton, &QToolButton::clicked, this, guarded(&TfmRun::editAndDebug));
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::close);
    connect(m_scripts, &QComboBox::textActivated, this, guarded(&TfmRun::prepareScriptCopy));
    connect(m_arguments, &QLineEdit::textChanged, this, [this](const QString& text) { m_session.arguments = text; });
    connect(m_placement, &QButtonGroup::idClicked, this,
            [this](int id) { m_session.placement = static_cast<ArgumentPlacement>(id); });
    connect(m_destination, &QButtonGroup::idClicked, this,
            [this](int id) { m_session.destination = static_cast<OutputDestination>(id); });
    m_scripts->installEventFilter(this);
    m_choose->installEventFilter(this);
}

QString TfmRun::scriptFilter() {
    return QStringLiteral(
        "Awk Files (*.awk)|*.awk;*.AWK|Ruby Files (*.rb)|*.rb;*.RB|Sed Files (*.sed)|*.sed;*.SED|"
        "Xtr Files (*.xtr)|*.xtr;*.XTR|All Files (*.*)|*");
}

QString TfmRun::workFolder() const { return QString::fromStdString(platform::workFolder()); }

void TfmRun::showForMode(ScriptMode mode) {
    m_session.mode = mode;
    if (QWidget* owner = parentWidget()) {
        const QRect main = owner->frameGeometry();
        const QSize size = sizeHint().expandedTo(minimumSizeHint());
        move(main.left() + (main.width() - size.width()) / 2, main.top() + 100);
    }
    // The script editor colours reserved words from these files; the user may
    // edit them, so only missing ones are written.
    for (const std::string& failure : writeMissingKeywordFiles(platform::programFolder())) {
        platform::prompts().message(platform::fromLocalPath(failure));
    }
    m_scripts->clear();
    m_scripts->setEditText(QString());

    const platform::SettingsStore store;
    const QString path = store.readString(kSettingsKey, scriptValueName(mode)).value_or(QString());
    const int destination = store.readInteger(kSettingsKey, kDestinationValue).value_or(0);
    m_session.scriptPath = path;
    m_scripts->setEditText(QFileInfo(path).fileName());
    if (QAbstractButton* button = m_destination->button(destination)) {
        button->setChecked(true);
        m_session.destination = static_cast<OutputDestination>(destination);
    }
    m_arguments->setText(m_session.arguments);
    m_placement->button(static_cast<int>(m_session.placement))->setChecked(true);
    if (!path.trimmed().isEmpty()) {
        prepareScriptCopy();
        fillScriptList(path);
        QFile::remove(workFolder() + QStringLiteral("T.$"));
    } else {
        m_runButton->setEnabled(false);
        m_debugButton->setEnabled(false);
    }
    show();
}

void TfmRun::prepareScriptCopy() {
    const QString name = m_scripts->currentText();
    if (name.isEmpty()) {
        m_runButton->setEnabled(false);
        m_debugButton->setEnabled(false);
        m_scripts->clear();
        return;
    }
    QFile::remove(workFolder() + QStringLiteral("T.$"));
    QFile::remove(workFolder() + QStringLiteral("TT.txt"));
    m_session.scriptPath = folderOf(m_session.scriptPath) + name;
    copyToWorkScript();
    m_runButton->setEnabled(true);
    m_debugButton->setEnabled(true);
}

void TfmRun::copyToWorkScript() {
    // Always the mode's own work script name, whatever the script's
    // extension, so the run finds the copy it starts.
    const QString copy = workFolder() + QString::fromUtf8(modeInfo(mode()).workScript);
    QFile::remove(copy);
    if (!QFile::copy(m_session.scriptPath, copy)) {
        if (QFileInfo::exists(m_session.scriptPath)) {
            platform::prompts().message(m_session.scriptPath + QStringLiteral(" の作業ファイル作成に失敗しました"));
        }
        return;
    }
    QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TfmRun::fillScriptList(const QString& path) {
    m_scripts->clear();
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    const QString mask = path.isEmpty() || suffix.isEmpty()
                             ? QStringLiteral("*") + QString::fromUtf8(modeInfo(mode()).extension)
                             : QStringLiteral("*.") + suffix;
    const QDir folder = path.isEmpty() ? QDir::current() : info.absoluteDir();
    m_scripts->addItems(folder.entryList({mask}, QDir::Files, QDir::Name));
    if (!path.isEmpty() && info.isFile()) {
        m_scripts->setEditText(info.fileName());
        m_session.scriptPath = info.absoluteFilePath();
        copyToWorkScript();
    } else {
        m_scripts->setEditText(QString());
        m_session.scriptPath.clear();
    }
}

void TfmRun::chooseScript() {
    // The filter's entries are in the order of the modes.
    const std::optional<QString> chosen =
        platform::prompts().openFile(QString(), m_session.scriptPath, scriptFilter(), static_cast<int>(mode()));
    if (!chosen) return;
    fillScriptList(*chosen);
    prepareScriptCopy();
}

void TfmRun::directRun() {
    prepareScriptCopy();
    // Events run while the interpreter works; an activation meanwhile must
    // not delete the output it is writing.
    m_running = true;
    try {
        if (m_run) m_run();
    } catch (...) {
        m_running = false;
        throw;
    }
    m_running = false;
    close();
}

void TfmRun::editAndDebug() {
    m_session.scriptPath = folderOf(m_session.scriptPath) + m_scripts->currentText();
    const std::optional<ScriptMode> keep = m_session.mode;
    storeSettings();
    if (m_editAndDebug) m_editAndDebug();
    hide();
    m_session.mode = keep;  // the script editor goes on in this mode
}

void TfmRun::storeSettings() {
    platform::SettingsStore store;
    store.writeString(kSettingsKey, scriptValueName(mode()), m_session.scriptPath);
    store.writeInteger(kSettingsKey, kDestinationValue, static_cast<int>(m_session.destination));
}

// Every way of closing (the close box, Escape, "キャンセル", after a direct
// run) ends here.
void TfmRun::reject() {
    if (isVisible()) {
        platform::runGuarded(platform::prompts(), [this] { storeSettings(); });
        m_session.mode.reset();
    }
    QDialog::reject();
}

void TfmRun::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_session.mode && !m_running) {
        platform::runGuarded(platform::prompts(), [this] {
            prepareScriptCopy();
            if (m_activated) m_activated();
        });
    }
}

bool TfmRun::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tabulo::script
