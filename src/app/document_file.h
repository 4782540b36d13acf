// Reading and writing an editor's text as the program's documents are read
// and written: file errors in the program's words, the free-space check,
// the refusal of folders and devices, and the backup question. The main
// window and the script editor both use them.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "os/files/safe_save.h"

namespace tabulo::editor {
class EditorModel;
}

namespace tabulo::app {

// Loads the file; throws "ファイル <path> は開けません (<reason>)".
void loadDocumentFile(editor::EditorModel& document, const QString& path);

// Writes the text to `path` after the free-space check; with askBackup an
// existing file first gets the backup question. `confirmTarget`, when
// given, is asked about the resolved target file before anything else is
// asked; false stops. `bytes`, when given, are written instead of the
// document's text (a document saved back in the encoding it came in).
// `options` say whether a link at the name is followed and where a file
// written in place keeps its recovery copy.
// Returns false when nothing was written, and throws
// "ファイル <path> を作成できません (<reason>)" when the write fails.
bool saveDocumentFile(editor::EditorModel& document, const QString& path, bool askBackup,
                      const std::function<bool(const std::string& target)>& confirmTarget = {},
                      const std::string* bytes = nullptr, const os::SaveOptions& options = {});

}  // namespace tabulo::app
