// A file filter over the kanji converters, so that run_kanji_bench.sh can
// time them the way it times nkf, iconv and base64: read a file, convert,
// write standard output. Like the peers it streams: the input is mapped and
// converted in blocks of about 1 MB. The code and UTF-8 conversions go
// through their streams, which take blocks cut anywhere, into one output
// buffer; the others get blocks ending at a line break (lines-jis) or at a
// multiple of 3 bytes or 4 characters (Base64; the encoded input has no line
// breaks).
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

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "bench_text.h"
#include "kanji/code_conversion.h"
#include "kanji/jconvert.h"
#include "kanji/utf8_stream.h"

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

// The kanji code conversions by name: source and target code.
bool codesOf(std::string_view op, int& source, int& target) {
    static const struct {
        const char* name;
        int source;
        int target;
    } kOps[] = {
        {"sjis2euc", kCodeSjis, kCodeEuc}, {"euc2sjis", kCodeEuc, kCodeSjis}, {"sjis2jis", kCodeSjis, kCodeJisB},
        {"jis2sjis", kCodeJisB, kCodeSjis}, {"euc2jis", kCodeEuc, kCodeJisB}, {"jis2euc", kCodeJisB, kCodeEuc},
    };
    for (const auto& known : kOps) {
        if (op == known.name) {
            source = known.source;
            target = known.target;
            return true;
        }
    }
    return false;
}

// Runs a stream over the text in blocks of kBlock, cut anywhere, writing
// each block's result from one reused buffer.
template <class Stream>
int streamed(Stream& stream, std::string_view text) {
    std::string out;
    for (bool last = false; !last;) {
        const std::string_view block = text.substr(0, std::min(kBlock, text.size()));
        text.remove_prefix(block.size());
        last = text.empty();
        out.clear();
        stream.convert(block, last, out);
        if (!writeAll(out)) return 1;
    }
    return 0;
}

std::string convert(std::string_view op, std::string_view text, bool& known) {
    known = true;
    if (op == "base64") return EncodeBase64(text);
    if (op == "base64-decode") return DecodeBase64(text);
    if (op == "lines-jis") return convertDocumentText(text, TargetCode::Jis);
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
    int source = 0;
    int target = 0;
    if (codesOf(op, source, target)) {
        KanjiCodeStream stream(source, target);
        return streamed(stream, file.text());
    }
    if (op == "sjis2utf8") {
        Sjis2Utf8Stream stream;
        return streamed(stream, file.text());
    }
    if (op == "utf82sjis") {
        Utf82SjisStream stream;
        return streamed(stream, file.text());
    }
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
