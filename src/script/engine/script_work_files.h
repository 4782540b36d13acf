// The work files of a script run, all in the private work folder: the
// target lines ("L.$") and the lines before and after them ("TA.txt",
// "TZ.txt"), the interpreter's output ("T.$"), the result ("TT.txt" = the
// lines before, the output, the lines after) and the work script. The
// interpreters read LF line breaks; the result takes the document's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "script/engine/script_mode.h"

namespace tabulo::script {

class WorkFileWriter;

// A work file that cannot be written or read; the message is
// "can't open " (or "can't write ") followed by the path.
class ScriptFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ScriptWorkFiles {
    std::string target;  // L.$
    std::string before;  // TA.txt
    std::string after;   // TZ.txt
    std::string output;  // T.$
    std::string result;  // TT.txt
    std::string script;  // the mode's own work script name
};

// `workFolder` ends in '/'.
ScriptWorkFiles scriptWorkFiles(const std::string& workFolder, ScriptMode mode);

// Work files are written and read in blocks of this size.
inline constexpr std::size_t kWorkFileBlock = std::size_t{1} << 20;

// The document's lines as the target writer reads them: `count` lines, the
// i-th (0-based) from `lineAt`, Shift-JIS bytes without a line break. The
// bytes need to stay valid only until the next call, so a line storage can
// hand out its own bytes without a copy.
struct DocumentLines {
    int count = 0;
    std::function<std::string_view(int)> lineAt;
};

// Writes lines first..last (0-based, both included) to the target, the
// lines before it to "TA.txt" (removed instead when first is 0, so that no
// earlier run's lines survive) and the lines after it to "TZ.txt" (empty
// when last is the final line), each line ending in LF. Throws
// ScriptFileError.
void writeTargetFiles(const ScriptWorkFiles& files, const DocumentLines& lines, int first, int last);

// Writes a work file in large blocks: a target line by line, each line
// ending in LF (for a target that arrives as a stream), or a script's
// copy. Throws ScriptFileError.
class TargetFileWriter {
public:
    explicit TargetFileWriter(const std::string& path);
    ~TargetFileWriter();
    TargetFileWriter(const TargetFileWriter&) = delete;
    TargetFileWriter& operator=(const TargetFileWriter&) = delete;
    void addLine(std::string_view line);
    // Bytes as they are (a script file's copy).
    void addBytes(std::string_view bytes);
    void finish();

private:
    std::unique_ptr<WorkFileWriter> m_blocks;
};

// Removes "L.$", "TA.txt" and "TZ.txt" when present.
void removeTargetFiles(const ScriptWorkFiles& files);

// The size of a file in bytes; 0 when it does not exist.
std::uint64_t fileSize(const std::string& path);

}  // namespace tabulo::script
