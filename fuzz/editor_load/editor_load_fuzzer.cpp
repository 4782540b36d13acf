// Fuzz target of the editor's file loader. Input: a flags byte (soft wrap,
// the line-break rules), a wrap width byte, then the file's bytes. The file is
// loaded with soft wrap on or off and saved again: the saved file must equal
// the input up to its first 0x1A with every line break (CR LF, lone CR, lone
// LF) written in the file's first convention (CR LF when it has no break),
// and nothing else changed; a file of one convention comes back byte for
// byte. The load reports the convention, whether the file mixes kinds, and
// the bytes after the 0x1A. The rows of every line must spell the line, and
// switching soft wrap must not change the text.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "common/fuzz_check.h"
#include "editor/model/editor_model.h"

using namespace tabulo::editor;
using tabulo::fuzz::check;

namespace {

std::string scratch(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/tabulo-fuzz-" + name + "-" + std::to_string(getpid());
}

// The kinds of the breaks of a text, in order.
std::vector<LineBreakStyle> breaksOf(const std::string& text) {
    std::vector<LineBreakStyle> kinds;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            const bool crLf = i + 1 < text.size() && text[i + 1] == '\n';
            kinds.push_back(crLf ? LineBreakStyle::CrLf : LineBreakStyle::Cr);
            if (crLf) ++i;
        } else if (text[i] == '\n') {
            kinds.push_back(LineBreakStyle::Lf);
        }
    }
    return kinds;
}

// What a load and save must make of a text, with `lineBreak` for every break.
std::string expectedSave(const std::string& text, std::string_view lineBreak) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += lineBreak;
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            out += lineBreak;
        } else {
            out += text[i];
        }
    }
    return out;
}

void checkRows(const EditorModel& m, const std::string& detail) {
    const int lines = m.Lines().Count();
    std::string joined;
    for (int i = 0; i < lines; ++i) {
        const std::string line = m.Lines().Get(i);
        check(line.find_first_of("\r\n") == std::string::npos, "a line holds no line break", detail);
        const int first = m.firstRowOfLine(i);
        std::string rows;
        for (int r = first; r < first + m.rowCountOfLine(i); ++r) {
            check(m.LineIndexOfRow(r) == i, "a row belongs to its line", detail);
            rows += m.rowText(r);
        }
        check(rows == line, "the rows of a line spell the line", detail);
    }
    check(m.firstRowOfLine(lines) == m.RowCount(), "the rows end with the last line", detail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tabulo::fuzz::ByteReader in(data, size);
    const std::uint8_t flags = in.byte();
    const std::uint8_t width = in.byte();
    const std::string file = in.rest();

    static const std::string source = scratch("load");
    {
        std::ofstream out(source, std::ios::binary | std::ios::trunc);
        out.write(file.data(), static_cast<std::streamsize>(file.size()));
    }

    EditorModel m;
    TEditorWrapOption option = TEditorWrapOption::mainWindowDefaults();
    option.WrapByte = 1 + width % 250;
    option.Leading = flags & 2;
    option.FollowPunctuation = flags & 4;
    option.FollowRetMark = flags & 8;
    option.WordBreak = flags & 16;
    m.SetWrapOption(option);
    m.SetTabSpaceCount(1 + (flags >> 5));
    m.SetWordWrap(flags & 1);
    const FileReadReport report = m.LoadFromFile(source);
    checkRows(m, file);

    const std::size_t marker = file.find('\x1A');
    const std::string text = file.substr(0, marker);
    const std::vector<LineBreakStyle> kinds = breaksOf(text);
    const LineBreakStyle convention = kinds.empty() ? LineBreakStyle::CrLf : kinds.front();
    bool mixed = false;
    for (const LineBreakStyle kind : kinds) mixed |= kind != convention;
    check(m.lineBreakStyle() == convention, "the document takes the first break's convention", file);
    check(report.breaks.mixed() == mixed, "a file is mixed when its breaks differ", file);
    check(report.endMarkerOffset == (marker == std::string::npos ? std::nullopt : std::optional<std::uint64_t>(marker)),
          "the 0x1A is found where it is", file);
    check(report.bytesAfterEndMarker == (marker == std::string::npos ? 0 : file.size() - marker - 1),
          "the bytes after the 0x1A are counted", file);

    const std::string expected = expectedSave(text, "\r\n");
    check(m.GetTextStr() == expected, "the loaded text is the file with CR LF breaks", file);
    // What a save writes; the writing itself (fsync, rename) has its own
    // tests and would only slow the fuzzer down.
    const std::string saved = m.fileText();
    check(saved == expectedSave(text, lineBreakBytes(convention)), "saving writes the loaded text unchanged", file);
    if (!mixed) check(saved == text, "a file of one convention comes back byte for byte", file);

    m.SetWordWrap(!(flags & 1));
    checkRows(m, file);
    check(m.GetTextStr() == expected, "switching soft wrap keeps the text", file);

    std::remove(source.c_str());
    return 0;
}
