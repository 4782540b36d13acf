// A PDF that tabulo-cli writes. The printer writes its file without telling
// of a failed write, so it writes into a pipe, and the bytes are copied
// from there into the file checked to the last byte as they come: a PDF of
// any size costs no memory, and a full disk is exit status 2 with the
// system's reason, never a cut PDF under the name (os/files/output_file.h).
#pragma once

#include <functional>
#include <string>

class QPrinter;

namespace tabulo::cli {

// `paint` prints the pages on `printer`, which is set up but for its file,
// and ends its painting before it returns or throws. Throws CliError
// "<path>: <reason>".
void printToPdfFile(QPrinter& printer, const std::string& path, const std::function<void()>& paint);

}  // namespace tabulo::cli
