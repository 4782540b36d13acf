// tabulo-cli postal: converts every line as F11 converts the caret line: a
// line starting with a 7-digit code gets its address, an address line gets
// its codes in front.
#include <string>

#include "cli/cli_error.h"
#include "cli/invocation.h"
#include "cli/line_messages.h"
#include "cli/line_output.h"
#include "regex/re_error.h"
#include "search/engine/postal_conversion.h"

namespace tabulo::cli {
namespace {

int runPostal(Invocation& call) {
    const std::string postalFile = call.value("--file", "KEN_ALL.CSV");
    search::PostalConverter converter;
    LineMessages messages(call);
    std::size_t lineNo = 0;
    filterLines(call, call.inputPath(), [&](std::string_view text, LineOutput& out) {
        ++lineNo;
        std::string line(text);
        search::PostalStatus status = search::PostalStatus::EmptyLine;
        try {
            status = converter.convert(line, postalFile);
        } catch (const regex::ERegExpParser& e) {
            messages.show(lineNo, e.what(), true);
        }
        if (status == search::PostalStatus::MissingFile) {
            throw CliError(call.messages().fromArgument(postalFile) + ": " +
                           std::string(search::postalMessage(status)));
        }
        out.write(line);
        // The message follows the line it belongs to.
        if (const std::string_view message = search::postalMessage(status); !message.empty()) {
            messages.show(lineNo, message);
        }
    });
    return call.reported() ? 2 : 0;
}

const SubcommandRegistration kRegistration{{
    .name = "postal",
    .operands = "[FILE]",
    .summary = "convert 7-digit postal codes to addresses and addresses to codes (F11)",
    .details =
        "Converts every line of FILE (or standard input) as the editor's F11 converts\n"
        "the caret line, with the postal service's nationwide address file (KEN_ALL\n"
        "CSV, Shift-JIS):\n"
        "  150-0002 123-456   -> 〒150-0002 東京都渋谷区渋谷123-456\n"
        "  東京都　渋谷区　渋谷 -> 〒 and the code of every matching town in front\n"
        "An address is prefecture, city and town (or prefecture and city alone)\n"
        "separated by one or two spaces. A line that cannot be converted stays as it\n"
        "was; the message the editor would show goes to standard error with the line\n"
        "number (the first 100 lines of each message). Exit status 0; 2 when the address file is missing or an address is\n"
        "not a valid pattern.\n",
    .options = {{"--file", "-f", OptionKind::Value, "KEN_ALL.CSV",
                 "the address file (default: KEN_ALL.CSV in the current folder)"}},
    .run = runPostal,
}};

}  // namespace
}  // namespace tabulo::cli
