// A test of the file grep engine: a fresh folder for the files it writes,
// and the lines TGrep reports for a file at a given block size. A regular
// file is searched whole where the pattern allows it; each file is searched
// as a stream of blocks as well, which must report the same lines.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "regex/grep.h"
#include "reference_matcher.h"

namespace tabulo::regex::testing {

class GrepFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("tabulo_grep_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string write(const std::string& bytes, const std::string& name = "f.txt") {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::vector<RefHit> grep(TGrep& g, const std::string& path, std::size_t blockSize = TTxtFile::kBlockSize) {
        std::vector<RefHit> hits;
        g.setBlockSize(blockSize);
        g.SetOnMatch([&](TGrep&, const RE_LineInfo_t& h) { hits.push_back({h.LineNo, h.Line}); });
        g.GrepFile(path);
        const std::vector<RefHit> whole = std::move(hits);
        hits.clear();
        TFileSource stream(path);
        g.GrepSource(stream);
        EXPECT_EQ(hits, whole) << "streamed at block size " << blockSize;
        return whole;
    }

    std::vector<RefHit> grep(const std::string& pattern, const std::string& bytes, std::size_t blockSize = TTxtFile::kBlockSize) {
        TGrep g;
        g.SetRegExp(pattern);
        return grep(g, write(bytes), blockSize);
    }

    std::filesystem::path m_dir;
};

}  // namespace tabulo::regex::testing
