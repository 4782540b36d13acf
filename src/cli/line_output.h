// How the line-wise subcommands write their lines: with the input's line
// break (the first break found in it; CR LF when it has none) between lines,
// and after the last line only when the input's last line had a break, so
// that a text passes through unchanged in its form.
#pragma once

#include <string>
#include <string_view>

#include "cli/input_file.h"
#include "cli/invocation.h"
#include "cli/output_writer.h"

namespace tabulo::cli {

class LineOutput {
public:
    explicit LineOutput(OutputWriter& out) : m_out(out) {}

    // Call for every input line, in order, before writing what it gives.
    void see(const Line& input) {
        if (!m_breakKnown && input.lineBreak != LineBreak::None) {
            m_break = lineBreakBytes(input.lineBreak);
            m_breakKnown = true;
        }
        m_lastHadBreak = input.lineBreak != LineBreak::None;
    }

    // The convention as far as seen (CR LF until a break is seen).
    std::string_view lineBreak() const { return m_break; }

    void write(std::string_view line) {
        if (m_open) m_out.write(m_break);
        m_out.write(line);
        m_open = true;
    }

    // Ends the last line written with a break when the input's did.
    void finish() { finish(m_lastHadBreak); }
    void finish(bool finalBreak) {
        if (m_open && finalBreak) m_out.write(m_break);
        m_open = false;
    }

private:
    OutputWriter& m_out;
    std::string_view m_break = "\r\n";
    bool m_breakKnown = false;
    bool m_lastHadBreak = false;
    bool m_open = false;  // a line was written and waits for its break
};

// Runs fn(lineText, output) over the lines of the input at path ("-" for
// standard input) and finishes the output as the input ended.
template <class Fn>
void filterLines(Invocation& call, const std::string& path, Fn&& fn) {
    InputFile file(path);
    LineReader reader(file);
    LineOutput output(call.out());
    Line line;
    while (reader.next(line)) {
        output.see(line);
        fn(line.text, output);
    }
    output.finish();
}

}  // namespace tabulo::cli
