// tabulo-cli conv: converts every line of the input as the window's code
// conversion command does over a whole-text line range. With --from the
// source code is given instead of detected line by line, so that lines
// detection cannot decide (EUC text that is also valid Shift-JIS) convert too.
// UTF-8 goes in (--from utf-8) or out (--to utf-8) through the CP932 table,
// block by block whatever the lines, so every byte of its line breaks stays
// as it was and an endless line converts in bounded memory.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "cli/input_file.h"
#include "cli/invocation.h"
#include "cli/line_output.h"
#include "cli/line_pieces.h"
#include "kanji/code_conversion.h"
#include "kanji/kanji_code.h"
#include "kanji/mail_encoding.h"
#include "kanji/utf8_stream.h"

namespace tabulo::cli {
namespace {

// How much input the streaming conversions take at a time.
constexpr std::size_t kConvBlockSize = std::size_t{1} << 16;

kanji::TargetCode targetNamed(const std::string& name) {
    static const std::pair<const char*, kanji::TargetCode> kTargets[] = {
        {"sjis", kanji::TargetCode::ShiftJis}, {"jis", kanji::TargetCode::Jis},
        {"euc", kanji::TargetCode::Euc},       {"base64", kanji::TargetCode::Base64},
        {"uuencode", kanji::TargetCode::UUencode}, {"binhex", kanji::TargetCode::BinHex},
    };
    for (const auto& [known, code] : kTargets) {
        if (name == known) return code;
    }
    if (name.empty()) throw UsageError("--to is required");
    throw UsageError("unknown code '" + name + "' for --to");
}

// The kanji code value of a --from name; 0 for auto (detect each line).
int sourceNamed(const std::string& name) {
    if (name == "auto") return 0;
    if (name == "sjis") return kanji::kCodeSjis;
    if (name == "jis") return kanji::kCodeJisB;
    if (name == "euc") return kanji::kCodeEuc;
    throw UsageError("unknown code '" + name + "' for --from (auto, sjis, jis or euc)");
}

int kanjiCodeOf(kanji::TargetCode target) {
    switch (target) {
    case kanji::TargetCode::ShiftJis: return kanji::kCodeSjis;
    case kanji::TargetCode::Jis: return kanji::kCodeJisB;
    case kanji::TargetCode::Euc: return kanji::kCodeEuc;
    default: return 0;
    }
}

bool isUtf8Name(const std::string& name) { return name == "utf-8" || name == "utf8"; }

// Where the first character that did not convert lies, "line L, byte B"
// (both from 1), found from the blocks read before it. The last bytes of a
// block are counted with the next one: a stream may carry them (a cut
// character, and the bytes after a malformed lead that it reads again).
class PlaceFinder {
public:
    static constexpr std::size_t kCarried = kanji::detail::kMaxStep - 1;

    // Takes the block read at offset in the input.
    void see(std::string_view block, std::size_t offset) {
        m_block = block;
        m_offset = offset;
    }
    // The place of an input offset in the carried bytes or the block seen.
    std::string placeOf(std::size_t at) {
        const std::string_view pending(m_pending);
        countLines(pending.substr(0, std::min(at - m_pendingOffset, pending.size())), m_pendingOffset);
        if (at > m_offset) countLines(m_block.substr(0, at - m_offset), m_offset);
        return "line " + std::to_string(m_lines) + ", byte " + std::to_string(at - m_lineStart + 1);
    }
    // Counts the lines of the block seen but its last bytes.
    void passed() {
        if (m_block.size() < kCarried) {
            m_pending.append(m_block);
        } else {
            countLines(m_pending, m_pendingOffset);
            countLines(m_block.substr(0, m_block.size() - kCarried), m_offset);
            m_pending.assign(m_block.substr(m_block.size() - kCarried));
        }
        if (m_pending.size() > kCarried) {
            const std::size_t over = m_pending.size() - kCarried;
            countLines(std::string_view(m_pending).substr(0, over), m_pendingOffset);
            m_pending.erase(0, over);
        }
        m_pendingOffset = m_offset + m_block.size() - m_pending.size();
    }

private:
    void countLines(std::string_view bytes, std::size_t offset) {
        const std::size_t breaks = countLineFeeds(bytes);
        if (breaks == 0) return;
        m_lines += breaks;
        m_lineStart = offset + bytes.find_last_of('\n') + 1;
    }

    // Sixteen bytes at a time (every block passes here until a place is
    // asked): lanes of byte counters, each added up before it could overflow.
    static std::size_t countLineFeeds(std::string_view bytes) {
        using Lanes = unsigned char __attribute__((vector_size(16)));
        constexpr std::size_t kLanes = sizeof(Lanes);
        std::size_t count = 0;
        std::size_t i = 0;
        while (i + kLanes <= bytes.size()) {
            Lanes sums = {};
            for (int round = 0; round < 255 && i + kLanes <= bytes.size(); ++round, i += kLanes) {
                Lanes chunk;
                std::memcpy(&chunk, bytes.data() + i, kLanes);
                sums -= reinterpret_cast<Lanes>(chunk == '\n');  // -1 in a lane that holds a line feed
            }
            for (std::size_t lane = 0; lane < kLanes; ++lane) count += sums[lane];
        }
        for (; i < bytes.size(); ++i) count += bytes[i] == '\n';
        return count;
    }

    std::string_view m_block;
    std::size_t m_offset = 0;
    std::string m_pending;  // the uncounted bytes before m_block
    std::size_t m_pendingOffset = 0;
    std::size_t m_lines = 1;
    std::size_t m_lineStart = 0;
};

// Converts the input to or from UTF-8 block by block, in memory bounded by
// the block whatever the length of its lines. A character the target code
// cannot hold ends the output before it and the run with an error, unless
// --substitute says to write 〓 (or U+FFFD) for it; the count and the first
// place are named either way.
template <class Stream>
int streamUtf8Conv(Invocation& call, bool toUtf8) {
    InputFile file(call.inputPath());
    const bool substitute = call.flag("--substitute");
    // A writer for a UTF-8 terminal converts Shift-JIS itself, with the same table.
    const bool writeInput = toUtf8 && call.out().target() == Encoding::Utf8;
    Stream stream;
    PlaceFinder places;
    std::string place;
    std::string block(kConvBlockSize, '\0');
    std::string converted(Stream::maxOutput(kConvBlockSize), '\0');
    std::size_t offset = 0;    // of the block in the input
    std::size_t written = 0;   // output bytes converted so far
    bool writing = true;
    for (bool last = false; !last;) {
        const std::size_t n = file.read(block.data(), block.size());
        last = n == 0;
        const std::string_view input(block.data(), n);
        places.see(input, offset);
        const std::string_view result(converted.data(),
                                      static_cast<std::size_t>(stream.convert(input, last, converted.data()) - converted.data()));
        if (writing) {
            const kanji::Utf8Losses& losses = stream.losses();
            std::string_view out = writeInput ? input : result;
            if (losses.count != 0 && place.empty()) {
                place = places.placeOf(losses.firstInput);
                if (!substitute) {
                    writing = false;
                    const std::size_t keep = writeInput ? (losses.firstInput > offset ? losses.firstInput - offset : 0)
                                                        : losses.firstOutput - written;
                    out = out.substr(0, keep);
                }
            }
            call.out().write(out);
        }
        if (place.empty()) places.passed();
        written += result.size();
        offset += n;
    }
    const kanji::Utf8Losses& losses = stream.losses();
    if (losses.count == 0) return 0;
    const std::string what = std::to_string(losses.count) +
                             (toUtf8 ? " byte sequence(s) are no Shift-JIS character"
                                     : " character(s) have no Shift-JIS form") +
                             ", the first at " + place;
    if (!substitute) {
        throw CliError(what + "; the output ends before it (--substitute writes " + (toUtf8 ? "U+FFFD" : "〓") +
                       " for them)");
    }
    call.messages().error("tabulo-cli conv: " + what + "; substituted");
    return 0;
}

int runUtf8Conv(Invocation& call, bool toUtf8) {
    return toUtf8 ? streamUtf8Conv<kanji::Sjis2Utf8Stream>(call, true)
                  : streamUtf8Conv<kanji::Utf82SjisStream>(call, false);
}

// Converts every line from a named code, piece by piece, so that a line of
// any length converts in bounded memory. Each line is converted on its own
// (a JIS line leaves kanji mode at its end), and lines are written with the
// input's first line break, as the line-wise subcommands write them.
int streamKanjiConv(Invocation& call, int source, int target) {
    kanji::KanjiCodeStream stream(source, target);
    filterLinePieces(call, call.inputPath(), [&](std::string_view piece, bool endsLine, std::string& out) {
        stream.convert(piece, endsLine, out);
    });
    return 0;
}

int runConv(Invocation& call) {
    const std::string toName = call.value("--to");
    const std::string fromName = call.value("--from", "auto");
    if (isUtf8Name(fromName)) {
        if (toName != "sjis") throw UsageError("--from utf-8 goes with --to sjis");
        return runUtf8Conv(call, false);
    }
    if (isUtf8Name(toName)) {
        if (fromName != "auto" && fromName != "sjis") throw UsageError("--to utf-8 converts from sjis");
        return runUtf8Conv(call, true);
    }
    if (call.flag("--substitute")) throw UsageError("--substitute goes with --from utf-8 or --to utf-8");
    const kanji::TargetCode target = targetNamed(toName);
    const int source = sourceNamed(fromName);
    const int targetCode = kanjiCodeOf(target);
    if (source != 0 && targetCode == 0) throw UsageError("--from goes with --to sjis, jis or euc");
    if (target == kanji::TargetCode::Base64) {
        // The common case of many short lines: one buffer for all of them.
        std::string encoded;
        filterLines(call, call.inputPath(), [&](std::string_view line, LineOutput& out) {
            encoded.resize(kanji::base64Length(line.size()));
            kanji::encodeBase64To(line, encoded.data());
            out.write(encoded);
        });
        return 0;
    }
    if (source != 0) return streamKanjiConv(call, source, targetCode);
    // Detection looks at a whole line; one buffer takes every line's result.
    std::string converted;
    filterLines(call, call.inputPath(), [&](std::string_view line, LineOutput& out) {
        converted.clear();
        kanji::convertLineTo(line, target, converted);
        out.write(converted);
    });
    return 0;
}

const SubcommandRegistration kRegistration{{
    .name = "conv",
    .operands = "[FILE]",
    .summary = "convert every line's kanji code or encode it (the code conversion menu)",
    .details =
        "--to sjis, jis or euc converts each line's kanji code. Without --from (or with\n"
        "--from auto) each line's code is detected on its own, and a line that is 7-bit,\n"
        "already in the target code or undecided between EUC and Shift-JIS stays as it\n"
        "is. --from sjis, jis or euc converts every line from that code.\n"
        "--to base64, uuencode or binhex encodes each line on its own line; the lines of\n"
        "one uuencode or BinHex result are joined by the seven characters \"#$0D#0A\".\n"
        "tabulo-cli decode turns them back. Lines keep the input's line break.\n"
        "--from utf-8 --to sjis converts UTF-8 text to Shift-JIS (CP932, which also takes\n"
        "the JIS look-alikes such as U+301C); --to utf-8 converts Shift-JIS text to UTF-8.\n"
        "Both keep the line breaks byte for byte. A character the target cannot hold is\n"
        "an error naming how many there are and where the first is, and the output ends\n"
        "just before the first; with --substitute it becomes 〓 (or U+FFFD) and a note\n"
        "says so. These and --from sjis, jis or euc convert as they read, in bounded\n"
        "memory however long a line is; detecting (--from auto) and the encodings take\n"
        "each line whole and keep the line limit.\n",
    .options = {{"--to", nullptr, OptionKind::Value, "sjis|jis|euc|utf-8|base64|uuencode|binhex",
                 "the code to convert to"},
                {"--from", nullptr, OptionKind::Value, "auto|sjis|jis|euc|utf-8",
                 "the code of the input: auto (the default) detects each line's code"},
                {"--substitute", nullptr, OptionKind::Flag, "",
                 "with utf-8: write a substitute for characters the target cannot hold"}},
    .run = runConv,
}};

}  // namespace
}  // namespace tabulo::cli
