// A PDF that tabulo-cli writes: painted into memory first, because the
// printer writes its file without telling of a failed write, then written
// to its place checked to the last byte (a full disk is exit status 2 with
// the system's reason, never a cut PDF under the name).
#pragma once

#include <functional>
#include <string>

class QPrinter;

namespace tabulo::cli {

// `paint` prints the pages on `printer`, which is set up but for its file.
// Throws CliError "<path>: <reason>".
void printToPdfFile(QPrinter& printer, const std::string& path, const std::function<void()>& paint);

}  // namespace tabulo::cli
