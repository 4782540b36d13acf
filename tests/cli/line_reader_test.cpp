// LineReader cuts an input into lines whatever its block size: line breaks,
// CR LF pairs and long lines that cross block boundaries come out whole.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/cli_error.h"
#include "cli/input_file.h"

namespace {

using tabulo::cli::InputFile;
using tabulo::cli::Line;
using tabulo::cli::LineBreak;
using tabulo::cli::LineReader;

struct ReadLine {
    std::string text;
    LineBreak lineBreak;
    bool operator==(const ReadLine&) const = default;
};

class LineReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = std::filesystem::temp_directory_path() / ("tabulo_line_reader_" + std::to_string(::getpid()));
    }
    void TearDown() override { std::filesystem::remove(m_path); }

    std::vector<ReadLine> read(const std::string& bytes, std::size_t blockSize) {
        std::ofstream(m_path, std::ios::binary) << bytes;
        InputFile file(m_path.string());
        LineReader reader(file, blockSize);
        std::vector<ReadLine> lines;
        Line line;
        while (reader.next(line)) lines.push_back({std::string(line.text), line.lineBreak});
        return lines;
    }

    std::filesystem::path m_path;
};

TEST_F(LineReaderTest, SplitsAtEveryBreakWithAnyBlockSize) {
    const std::string longLine(5000, 'x');
    struct Case {
        std::string input;
        std::vector<ReadLine> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {{"a", LineBreak::None}}},
        {"a\r\n", {{"a", LineBreak::CrLf}}},
        {"a\r\nb\rc\nd", {{"a", LineBreak::CrLf}, {"b", LineBreak::Cr}, {"c", LineBreak::Lf}, {"d", LineBreak::None}}},
        {"\r\r\n\n\r", {{"", LineBreak::Cr}, {"", LineBreak::CrLf}, {"", LineBreak::Lf}, {"", LineBreak::Cr}}},
        {"a\x1a" "b\r", {{"a\x1a" "b", LineBreak::Cr}}},
        {std::string("\0\x82\r\n", 4), {{std::string("\0\x82", 2), LineBreak::CrLf}}},
        {longLine + "\r\n" + longLine, {{longLine, LineBreak::CrLf}, {longLine, LineBreak::None}}},
    };
    for (const std::size_t blockSize : {1u, 2u, 3u, 7u, 4096u, 1u << 20}) {
        for (const Case& c : cases) {
            SCOPED_TRACE("block " + std::to_string(blockSize) + ", input of " + std::to_string(c.input.size()));
            EXPECT_EQ(read(c.input, blockSize), c.lines);
        }
    }
}

TEST_F(LineReaderTest, MissingFileAndFolderAreFileErrors) {
    EXPECT_THROW(InputFile("/nonexistent/tabulo"), tabulo::cli::FileError);
    InputFile folder("/");
    LineReader reader(folder);
    Line line;
    EXPECT_THROW(reader.next(line), tabulo::cli::FileError);
}

}  // namespace
