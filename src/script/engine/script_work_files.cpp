#include "script/engine/script_work_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "script/engine/work_file_writer.h"

namespace tabulo::script {
namespace {

void writeLines(const std::string& path, const DocumentLines& lines, int from, int to) {
    TargetFileWriter out(path);
    for (int i = from; i <= to; ++i) out.addLine(lines.lineAt(i));
    out.finish();
}

}  // namespace

TargetFileWriter::TargetFileWriter(const std::string& path) : m_blocks(std::make_unique<WorkFileWriter>(path)) {}

TargetFileWriter::~TargetFileWriter() = default;

void TargetFileWriter::addLine(std::string_view line) {
    m_blocks->append(line);
    m_blocks->append('\n');
}

void TargetFileWriter::addBytes(std::string_view bytes) { m_blocks->append(bytes); }

void TargetFileWriter::finish() { m_blocks->finish(); }

ScriptWorkFiles scriptWorkFiles(const std::string& workFolder, ScriptMode mode) {
    return {workFolder + "L.$",    workFolder + "TA.txt", workFolder + "TZ.txt",
            workFolder + "T.$",    workFolder + "TT.txt", workFolder + std::string(modeInfo(mode).workScript)};
}

void writeTargetFiles(const ScriptWorkFiles& files, const DocumentLines& lines, int first, int last) {
    if (first == 0) {
        ::unlink(files.before.c_str());
    } else {
        writeLines(files.before, lines, 0, first - 1);
    }
    writeLines(files.target, lines, first, last);
    writeLines(files.after, lines, last + 1, lines.count - 1);
}

void removeTargetFiles(const ScriptWorkFiles& files) {
    for (const std::string* path : {&files.target, &files.before, &files.after}) ::unlink(path->c_str());
}

std::uint64_t fileSize(const std::string& path) {
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace tabulo::script
