// TfmNamazu: the full-text search dialog (`fmNamazu`, caption "Namazu"), one
// for the run, shown modelessly above the other windows. The user types a
// query (with a history of earlier ones), the namazu options and the index
// folders; the search itself is the owner's handler. History, options and
// folders are read on every show and written on every close and after each
// search, in the INI file.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace tabulo::search {

// What one search asks for: the trimmed query, the options ("-n 100" when
// none were typed) and the index folders (empty: namazu's own default).
struct NamazuRequest {
    QString query;
    QString options;
    QString indexFolders;
};

class TfmNamazu : public QDialog {
    Q_OBJECT
public:
    explicit TfmNamazu(QWidget* parent = nullptr);

    using SearchHandler = std::function<void(const NamazuRequest&)>;
    void setSearchHandler(SearchHandler handler) { m_search = std::move(handler); }

    QComboBox& ComboBox1() { return *m_query; }
    QLineEdit& Edit1() { return *m_options; }
    QLineEdit& Edit2() { return *m_indexes; }
    QToolButton& SpeedButton1() { return *m_searchButton; }
    QPushButton& btExit() { return *m_exit; }

    // The search button and Enter in the query field.
    void SpeedButton1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void loadSettings();
    void saveSettings();
    void queryChanged();

    SearchHandler m_search;
    QComboBox* m_query;
    QLineEdit* m_options;
    QLineEdit* m_indexes;
    QToolButton* m_searchButton;
    QPushButton* m_exit;
};

}  // namespace tabulo::search
