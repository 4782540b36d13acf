// The logical lines of an editor (its `Lines`): a view over the display
// rows. With soft wrap off every row is a line; with it on a line is a run of
// rows ending with the first row that is not `Wrapped`.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tabulo::editor {

class EditorModel;

// Raised by Get, Put and Delete with an index outside 0..Count-1.
class EListError : public std::out_of_range {
public:
    explicit EListError(int index);
};

class TEditorStrings {
public:
    explicit TEditorStrings(EditorModel& model) : m_model(model) {}

    int Count() const;
    std::string Get(int i) const;
    // Line i without a copy when it is a single row; a wrapped line is joined
    // in `joined`. Valid until the text or `joined` changes.
    std::string_view View(int i, std::string& joined) const;
    void Put(int i, std::string_view s);
    void Insert(int i, std::string_view s);  // i == Count appends
    void Add(std::string_view s);
    void Delete(int i);
    void Clear();
    std::string Text() const;
    void SetText(std::string_view text);
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;
    void BeginUpdate();
    void EndUpdate();
    // Whether line i ends with a line break (false for a last line without one).
    bool hasLineBreak(int i) const;

private:
    EditorModel& m_model;
};

}  // namespace tabulo::editor
