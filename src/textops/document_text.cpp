// Splitting keeps views into the caller's buffer so that a large text is
// never copied line by line.
#include "textops/document_text.h"

namespace tabulo::textops {

SplitText splitDocumentText(std::string_view text) {
    SplitText result;
    result.finalBreak = detail::forEachLine(
        text, [&](std::size_t offset, std::size_t length) { result.lines.push_back(text.substr(offset, length)); });
    return result;
}

std::string joinDocumentText(std::span<const std::string> lines, bool finalBreak) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() || finalBreak) text += "\r\n";
    }
    return text;
}

std::string applyToWholeText(std::string_view text, const WholeTextCommand& command) {
    const SplitText split = splitDocumentText(text);
    std::vector<std::string> lines(split.lines.begin(), split.lines.end());
    if (!lines.empty()) command(lines, {0, lines.size() - 1});
    return joinDocumentText(lines, split.finalBreak);
}

namespace detail {

namespace {
constexpr std::size_t kBlockSize = 1 << 16;
}

BlockWriter::BlockWriter(std::ostream& out) : m_out(out) {
    m_block.reserve(kBlockSize);
}

void BlockWriter::flush() {
    m_out.write(m_block.data(), static_cast<std::streamsize>(m_block.size()));
    m_block.clear();
}

void BlockWriter::write(std::string_view bytes) {
    if (m_block.size() + bytes.size() > kBlockSize) {
        flush();
        if (bytes.size() >= kBlockSize) {
            m_out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            return;
        }
    }
    m_block.append(bytes);
}

}  // namespace detail

}  // namespace tabulo::textops
