// The fixture of the tabulo-cli tests: runs the built program through the
// shell and keeps input files in a private temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace tabulo::testing {

struct RunResult {
    std::string out;
    int status = -1;
};

inline RunResult runShell(const std::string& command) {
    RunResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("tabulo_cli_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string writeFile(const std::string& name, const std::string& bytes) {
        const std::filesystem::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    static std::string program() { return std::string("'") + TABULO_CLI_PATH + "'"; }
    static std::string quoted(const std::string& path) { return "'" + path + "'"; }

    std::filesystem::path m_dir;
};

// Bytes the kanji-code tests share.
const std::string kIn = "\x1B$B";   // JIS kanji mode in
const std::string kOut = "\x1B(J";  // and out
const std::string kA = "\x82\xA0";  // あ

}  // namespace tabulo::testing
