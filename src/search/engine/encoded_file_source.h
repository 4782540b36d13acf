// A file read as Shift-JIS text whatever its kanji code, for the grep over
// files of any encoding. The code is detected from the file's first bytes
// (up to kDetectionBytes, all of most text files): well-formed UTF-8 with
// non-ASCII characters is UTF-8, otherwise the kanji unit's detection
// decides between JIS, EUC and Shift-JIS. Text in JIS, EUC or UTF-8 is
// converted a few whole lines at a time as it is read, so line numbers stay
// those of the file and memory stays bounded by the longest line; anything
// else (Shift-JIS, 7-bit, binary, undecided) is read as it is.
#pragma once

#include <cstddef>
#include <string>

#include "regex/text_source.h"

namespace tabulo::search {

enum class FileEncoding { ShiftJis, Euc, Jis, Utf8 };

class EncodedFileSource : public regex::TTextSource {
public:
    static constexpr std::size_t kDetectionBytes = std::size_t{1} << 20;

    // Opens the file and detects its code; raises regex::EFileNotFound when
    // it cannot be opened and std::system_error when reading fails.
    explicit EncodedFileSource(const std::string& path);

    FileEncoding encoding() const { return m_encoding; }
    std::size_t read(char* dst, std::size_t count) override;

private:
    void detect();
    bool readChunk();
    std::size_t takeRaw(char* dst, std::size_t count);
    bool convertNextLines();

    regex::TFileSource m_file;
    FileEncoding m_encoding = FileEncoding::ShiftJis;
    std::string m_raw;  // bytes read from the file and not yet passed on
    std::size_t m_rawPos = 0;
    bool m_fileEnd = false;
    std::string m_converted;  // Shift-JIS text not yet passed on
    std::size_t m_convertedPos = 0;
};

}  // namespace tabulo::search
