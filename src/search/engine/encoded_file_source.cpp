#include "search/engine/encoded_file_source.h"

#include <string.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "kanji/kanji_code.h"
#include "kanji/stream_code_check.h"
#include "kanji/utf8_code.h"
#include "sjis/sjis_codec.h"

namespace tabulo::search {

namespace {

constexpr std::size_t kChunkBytes = 64 * 1024;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The end of the whole UTF-8 sequences of text: a lead byte near the end
// whose sequence is cut off by it is left for the next chunk.
std::size_t completeUtf8End(std::string_view text) {
    const std::size_t size = text.size();
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, size); ++back) {
        const auto byte = static_cast<unsigned char>(text[size - back]);
        if ((byte & 0xC0) == 0x80) continue;
        if (byte < 0xC0) return size;
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        return length > back ? size - back : size;
    }
    return size;
}

std::size_t lastLineBreak(std::string_view text) {
    const void* lf = ::memrchr(text.data(), '\n', text.size());
    const void* cr = ::memrchr(text.data(), '\r', text.size());
    const void* last = std::max(lf ? lf : cr, cr ? cr : lf);
    return last ? static_cast<std::size_t>(static_cast<const char*>(last) - text.data()) : std::string_view::npos;
}

bool hasNonAscii(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
}

FileEncoding encodingOfKanjiCode(int code) {
    switch (code) {
    case kanji::kCodeJisB:
    case kanji::kCodeJisAt: return FileEncoding::Jis;
    case kanji::kCodeEuc: return FileEncoding::Euc;
    default: return FileEncoding::ShiftJis;
    }
}

}  // namespace

EncodedFileSource::EncodedFileSource(const std::string& path) : m_file(path) {
    detect();
    if (m_encoding == FileEncoding::Utf8 && std::string_view(m_raw).starts_with(kUtf8ByteOrderMark)) {
        m_rawPos = kUtf8ByteOrderMark.size();
    }
}

// Appends the next chunk of the file to m_raw; false at the end of the file.
bool EncodedFileSource::readChunk() {
    if (m_fileEnd) return false;
    const std::size_t old = m_raw.size();
    m_raw.resize(old + kChunkBytes);
    const std::size_t got = m_file.read(m_raw.data() + old, kChunkBytes);
    m_raw.resize(old + got);
    if (got < kChunkBytes) m_fileEnd = true;
    return got > 0;
}

// Reads until both questions are settled: whether the text is UTF-8 (the
// first malformed sequence says no; only the end of the text, or of the
// detection window, says yes) and which kanji code it is otherwise.
void EncodedFileSource::detect() {
    kanji::StreamCodeCheck kanjiCode;
    bool kanjiDecided = false;
    bool utf8 = true;
    bool nonAscii = false;
    std::size_t utf8Checked = 0;
    std::size_t fed = 0;
    while (m_raw.size() < kDetectionBytes && readChunk()) {
        const std::string_view text(m_raw);
        if (!kanjiDecided) kanjiDecided = kanjiCode.feed(text.substr(fed));
        fed = text.size();
        if (utf8) {
            const std::size_t end = m_fileEnd ? text.size() : completeUtf8End(text);
            const std::string_view part = text.substr(utf8Checked, end - utf8Checked);
            utf8 = sjis::isWellFormedUtf8(part);
            nonAscii = nonAscii || hasNonAscii(part);
            utf8Checked = end;
        }
        if (kanjiDecided && !utf8) break;
    }
    m_encoding = utf8 && nonAscii ? FileEncoding::Utf8 : encodingOfKanjiCode(kanjiCode.finish());
}

std::size_t EncodedFileSource::read(char* dst, std::size_t count) {
    if (m_encoding == FileEncoding::ShiftJis) return takeRaw(dst, count);
    std::size_t given = 0;
    while (given < count) {
        if (m_convertedPos == m_converted.size() && !convertNextLines()) break;
        const std::size_t n = std::min(count - given, m_converted.size() - m_convertedPos);
        std::memcpy(dst + given, m_converted.data() + m_convertedPos, n);
        m_convertedPos += n;
        given += n;
    }
    return given;
}

// The bytes held from detection, then the file itself.
std::size_t EncodedFileSource::takeRaw(char* dst, std::size_t count) {
    const std::size_t held = std::min(count, m_raw.size() - m_rawPos);
    std::memcpy(dst, m_raw.data() + m_rawPos, held);
    m_rawPos += held;
    if (held == count || m_fileEnd) return held;
    return held + m_file.read(dst + held, count - held);
}

// Converts the held text up to its last line break, CR or LF (all of it at
// the end of the file), reading on until a break comes; false when nothing
// is left. A CR LF pair may be cut: both bytes pass the conversion as they
// are.
bool EncodedFileSource::convertNextLines() {
    m_raw.erase(0, m_rawPos);
    m_rawPos = 0;
    std::size_t lineBreak = m_raw.find_last_of("\r\n");
    while (lineBreak == std::string::npos) {
        const std::size_t old = m_raw.size();
        if (!readChunk()) break;
        lineBreak = lastLineBreak(std::string_view(m_raw).substr(old));
        if (lineBreak != std::string::npos) lineBreak += old;
    }
    if (m_raw.empty()) return false;
    const std::size_t end = lineBreak == std::string::npos ? m_raw.size() : lineBreak + 1;
    const std::string_view lines(m_raw.data(), end);
    switch (m_encoding) {
    case FileEncoding::Euc: m_converted = kanji::euc2sjis(lines); break;
    case FileEncoding::Jis: m_converted = kanji::jis2sjis(lines); break;
    case FileEncoding::Utf8: m_converted = kanji::utf82sjis(lines).text; break;
    case FileEncoding::ShiftJis: m_converted.assign(lines); break;
    }
    m_convertedPos = 0;
    m_rawPos = end;
    return true;
}

}  // namespace tabulo::search
