// A file filter over the kanji converters, so that run_kanji_bench.sh can
// time them the way it times nkf, iconv and base64: read a file, convert,
// write standard output. Like the peers it streams: the input is mapped and
// converted in blocks of about 1 MB, each ending at a line break (code
// conversions; the JIS inputs return to ASCII before every line break, as
// the command's per-line conversion expects) or at a multiple of 3 bytes or
// 4 characters (Base64; the encoded input has no line breaks).
//   kanji_convert_file OP FILE       OP: sjis2euc euc2sjis sjis2jis jis2sjis
//                                        euc2jis jis2euc base64 base64-decode
//                                        lines-jis (the code conversion command
//                                        over every line, as tabulo-cli conv)
//                                        utf82sjis sjis2utf8 (the CP932 table)
//   kanji_convert_file generate MB   writes MB megabytes of Shift-JIS text
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "bench_text.h"
#include "kanji/code_conversion.h"
#include "kanji/jconvert.h"
#include "kanji/utf8_code.h"

namespace {

using namespace tabulo::kanji;

constexpr std::size_t kBlock = 3 << 18;  // a multiple of 3 and of 4

// The input file, mapped read-only.
class MappedFile {
public:
    explicit MappedFile(const char* path) {
        const int fd = ::open(path, O_RDONLY);
        if (fd < 0) return;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && info.st_size > 0) {
            m_size = static_cast<std::size_t>(info.st_size);
            void* data = ::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
            if (data != MAP_FAILED) m_data = static_cast<const char*>(data);
        }
        m_ok = m_size == 0 || m_data != nullptr;
        ::close(fd);
    }
    ~MappedFile() {
        if (m_data != nullptr) ::munmap(const_cast<char*>(m_data), m_size);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool ok() const { return m_ok; }
    std::string_view text() const { return m_data ? std::string_view(m_data, m_size) : std::string_view(); }

private:
    const char* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_ok = false;
};

bool writeAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The next block of text: about kBlock bytes ending after a line break, or
// exactly kBlock bytes for the Base64 operations.
std::string_view nextBlock(std::string_view text, bool byLines) {
    if (text.size() <= kBlock) return text;
    if (!byLines) return text.substr(0, kBlock);
    const std::size_t lf = text.find('\n', kBlock);
    return lf == std::string_view::npos ? text : text.substr(0, lf + 1);
}

std::string convert(std::string_view op, std::string_view text, bool& known) {
    known = true;
    if (op == "sjis2euc") return sjis2euc(text);
    if (op == "euc2sjis") return euc2sjis(text);
    if (op == "sjis2jis") return sjis2jis83(text);
    if (op == "jis2sjis") return jis2sjis(text);
    if (op == "euc2jis") return euc2jis83(text);
    if (op == "jis2euc") return jis2euc(text);
    if (op == "base64") return EncodeBase64(text);
    if (op == "base64-decode") return DecodeBase64(text);
    if (op == "lines-jis") return convertDocumentText(text, TargetCode::Jis);
    if (op == "utf82sjis") return utf82sjis(text).text;
    if (op == "sjis2utf8") return sjis2utf8(text).text;
    known = false;
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kanji_convert_file OP FILE | generate MB\n");
        return 2;
    }
    if (std::strcmp(argv[1], "generate") == 0) {
        return writeAll(tabulo::kanji::bench::makeSjisText(std::strtoul(argv[2], nullptr, 10) << 20)) ? 0 : 1;
    }
    const MappedFile file(argv[2]);
    if (!file.ok()) {
        std::fprintf(stderr, "kanji_convert_file: cannot read %s\n", argv[2]);
        return 2;
    }
    const std::string_view op = argv[1];
    const bool byLines = op != "base64" && op != "base64-decode";
    std::string_view rest = file.text();
    do {
        const std::string_view block = nextBlock(rest, byLines);
        bool known = false;
        const std::string out = convert(op, block, known);
        if (!known) {
            std::fprintf(stderr, "kanji_convert_file: unknown operation %s\n", argv[1]);
            return 2;
        }
        if (!writeAll(out)) return 1;
        rest.remove_prefix(block.size());
    } while (!rest.empty());
    return 0;
}
