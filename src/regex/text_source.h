// Where the grep reader's bytes come from: a file as it is, or text that is
// converted on its way in (a file in another kanji code read as Shift-JIS).
#pragma once

#include <cstddef>
#include <string>

namespace tabulo::regex {

class TTextSource {
public:
    virtual ~TTextSource() = default;
    // Fills dst with up to count bytes; fewer only at the end of the text.
    // Raises std::system_error when reading fails.
    virtual std::size_t read(char* dst, std::size_t count) = 0;
};

// The bytes of a file. Raises EFileNotFound (txt_file.h) when the file
// cannot be opened for reading or is a folder.
class TFileSource : public TTextSource {
public:
    explicit TFileSource(const std::string& path);
    ~TFileSource() override;
    TFileSource(const TFileSource&) = delete;
    TFileSource& operator=(const TFileSource&) = delete;

    std::size_t read(char* dst, std::size_t count) override;
    int descriptor() const { return m_fd; }

private:
    int m_fd = -1;
};

}  // namespace tabulo::regex
