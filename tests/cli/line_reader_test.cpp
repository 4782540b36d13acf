// LineReader cuts an input into lines whatever its block size: line breaks,
// CR LF pairs and long lines that cross block boundaries come out whole.
// LinePieceReader gives the same lines in pieces no longer than its block.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/cli_error.h"
#include "cli/input_file.h"
#include "cli/line_pieces.h"

namespace {

using tabulo::cli::InputFile;
using tabulo::cli::Line;
using tabulo::cli::LineBreak;
using tabulo::cli::LinePiece;
using tabulo::cli::LinePieceReader;
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

    // The lines put together from their pieces; every piece fits the block.
    std::vector<ReadLine> readPieces(const std::string& bytes, std::size_t blockSize) {
        std::ofstream(m_path, std::ios::binary) << bytes;
        InputFile file(m_path.string());
        LinePieceReader reader(file, blockSize);
        std::vector<ReadLine> lines;
        std::string text;
        LinePiece piece;
        while (reader.next(piece)) {
            EXPECT_LE(piece.text.size(), blockSize);
            text.append(piece.text);
            if (!piece.endsLine) continue;
            lines.push_back({text, piece.lineBreak});
            text.clear();
        }
        EXPECT_TRUE(text.empty()) << "a line without its end";
        return lines;
    }

    std::filesystem::path m_path;
};

struct SplitCase {
    std::string input;
    std::vector<ReadLine> lines;
};

std::vector<SplitCase> splitCases() {
    const std::string longLine(5000, 'x');
    return {
        {"", {}},
        {"a", {{"a", LineBreak::None}}},
        {"a\r\n", {{"a", LineBreak::CrLf}}},
        {"a\r\nb\rc\nd", {{"a", LineBreak::CrLf}, {"b", LineBreak::Cr}, {"c", LineBreak::Lf}, {"d", LineBreak::None}}},
        {"\r\r\n\n\r", {{"", LineBreak::Cr}, {"", LineBreak::CrLf}, {"", LineBreak::Lf}, {"", LineBreak::Cr}}},
        {"a\x1a" "b\r", {{"a\x1a" "b", LineBreak::Cr}}},
        {std::string("\0\x82\r\n", 4), {{std::string("\0\x82", 2), LineBreak::CrLf}}},
        {longLine + "\r\n" + longLine, {{longLine, LineBreak::CrLf}, {longLine, LineBreak::None}}},
        {longLine + "\r", {{longLine, LineBreak::Cr}}},
    };
}

TEST_F(LineReaderTest, SplitsAtEveryBreakWithAnyBlockSize) {
    for (const std::size_t blockSize : {1u, 2u, 3u, 7u, 4096u, 1u << 20}) {
        for (const SplitCase& c : splitCases()) {
            SCOPED_TRACE("block " + std::to_string(blockSize) + ", input of " + std::to_string(c.input.size()));
            EXPECT_EQ(read(c.input, blockSize), c.lines);
        }
    }
}

TEST_F(LineReaderTest, PiecesMakeTheSameLinesWithAnyBlockSize) {
    for (const std::size_t blockSize : {1u, 2u, 3u, 7u, 4096u}) {
        for (const SplitCase& c : splitCases()) {
            SCOPED_TRACE("block " + std::to_string(blockSize) + ", input of " + std::to_string(c.input.size()));
            EXPECT_EQ(readPieces(c.input, blockSize), c.lines);
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
