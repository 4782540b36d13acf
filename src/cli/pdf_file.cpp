#include "cli/pdf_file.h"

#include <QPrinter>
#include <QString>

#include <stdexcept>

#include "cli/cli_error.h"
#include "os/files/output_file.h"

namespace tabulo::cli {

void printToPdfFile(QPrinter& printer, const std::string& path, const std::function<void()>& paint) {
    try {
        const os::MemoryFile memory;
        printer.setOutputFileName(QString::fromLocal8Bit(memory.path()));
        paint();
        os::writeOutputFile(path, memory.bytes());
    } catch (const CliError&) {
        throw;
    } catch (const std::runtime_error& error) {
        throw CliError(error.what());
    }
}

}  // namespace tabulo::cli
