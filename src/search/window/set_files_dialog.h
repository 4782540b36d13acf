// TfmSetFiles: the Cat dialog, "Cat 連結ファイルの選択". The dropped files (or
// command-line files) stand on the left; the user moves the ones to join to
// the right, in joining order, and presses "連結実行". Its result is 1 when
// the user asked to join, else 0.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "search/engine/cat_selection.h"

class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;

namespace tabulo::search {

class TfmSetFiles : public QDialog {
    Q_OBJECT
public:
    explicit TfmSetFiles(QWidget* parent = nullptr);

    // The input list: paths as file-system bytes, in the order delivered.
    // Sets the result to 0 and resets both lists.
    void setInputs(std::vector<std::string> paths);
    int result() const { return m_result; }
    std::vector<std::string> filesToJoin() const { return m_selection.filesToJoin(); }

    QListWidget& leftList() { return *m_left; }
    QListWidget& rightList() { return *m_right; }
    QString panelText(int panel) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* addToolButton(const char* name, const QString& glyph, const QString& hint);
    QPushButton* addButton(const char* name, const QString& caption, const QString& hint);
    void moveSelectedRight();
    void join();
    void showLists();

    CatSelection m_selection;
    int m_result = 0;
    QListWidget* m_left;
    QListWidget* m_right;
    QLabel* m_panels[3] = {};
};

}  // namespace tabulo::search
