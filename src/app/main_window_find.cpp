// Find and replace in the main window: the command that seeds and shows the
// dialog, F3 and Shift+F3 repeating the last search with the dialog closed,
// and long searches run with progress in the status bar and the stop
// command honoured.
#include <QAction>
#include <QLabel>

#include "app/main_window.h"
#include "app/progress_pump.h"
#include "app/window_placement.h"
#include "editor/view/editor_view.h"
#include "sjis/sjis_codec.h"
#include "platform/error_handler.h"
#include "search/window/editor_search.h"
#include "search/window/find_dialog.h"

#include <QComboBox>

namespace tabulo::app {

void TfmTabulo::registerFindCommands() {
    m_search = std::make_unique<search::EditorSearch>(m_document, *m_editor);
    m_find = new search::TfmFind(this);
    m_find->setTarget(search::TfmFind::kMainEditor, m_search.get());

    m_search->setHooks({
        [this](bool replacing) {
            showProgress(replacing ? QStringLiteral("置換中") : QStringLiteral("検索中"), QString());
            m_bulk.begin(false);
            m_searchPump = std::make_unique<ProgressPump>(
                m_bulk, [this](const QString& a, const QString& b) { showProgress(a, b); });
        },
        [this](std::size_t done, std::size_t total) {
            return m_searchPump->step([&] {
                return std::pair{m_panels[0]->text(), QString::number(total ? done * 100 / total : 100) +
                                                          QStringLiteral("%")};
            });
        },
        [this] {
            m_searchPump.reset();
            m_bulk.end(false);
            refreshStatus();
        },
    });

    addCommand(QStringLiteral("Find1"), [this](QAction*) {
        const std::string selected = m_document.SelectedText();
        m_find->findCombo().setCurrentText(
            QString::fromStdString(sjis::SjisCodec::instance().toUtf8(selected)));
        if (m_document.textLength() == 0) return;
        m_find->setTag(search::TfmFind::kMainEditor);
        m_find->adjustSize();
        m_find->move(placeDialog(frameGeometry(), m_find->frameGeometry(), 0).topLeft());
        m_find->show();
        m_find->raise();
        m_find->activateWindow();
    });

    // Repeat the last search of the main editor, dialog open or not.
    const auto repeat = [this](const QString& name, const QKeySequence& key, void (search::TfmFind::*command)()) {
        auto* a = new QAction(this);
        a->setObjectName(name);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
        connect(a, &QAction::triggered, this, [this, command] {
            const int tag = m_find->tag();
            m_find->setTag(search::TfmFind::kMainEditor);
            platform::runGuarded(platform::prompts(), [&] { (m_find->*command)(); });
            m_find->setTag(tag);
            refreshStatus();
            refreshCommands();
        });
    };
    repeat(QStringLiteral("FindNext"), QKeySequence(Qt::Key_F3), &search::TfmFind::sbFindNextClick);
    repeat(QStringLiteral("FindPrev"), QKeySequence(Qt::SHIFT | Qt::Key_F3), &search::TfmFind::sbFindPrevClick);
}

}  // namespace tabulo::app
