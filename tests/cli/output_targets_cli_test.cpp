// The files tabulo-cli writes on request (graph --pdf/--jpeg/--bmp, print
// --pdf) whatever the name stands for: a file is replaced whole, a link keeps
// being a link, a device or a pipe is written into and stays what it was, a
// folder is refused, and a full disk is exit status 2 with the old file
// intact and no cut file left.
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "cli/cli_fixture.h"

namespace tabulo::testing {
namespace {

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Writer {
    const char* input;   // what feeds the command
    const char* option;  // the subcommand and the option the output name follows
    const char* rest;    // what comes after the name
    std::string magic;   // how the written format starts
};

const Writer kWriters[] = {
    {"", "graph --pdf", " 'sin(x)'", "%PDF"},
    {"", "graph --jpeg", " 'sin(x)'", "\xFF\xD8\xFF"},
    {"", "graph --bmp", " 'sin(x)'", "BM"},
    {"printf 'a\\n' | ", "print --pdf", "", "%PDF"},
};

class OutputTargets : public CliTest {
protected:
    RunResult write(const Writer& writer, const std::string& target) {
        return runShell(writer.input + program() + " " + writer.option + " " + quoted(target) + writer.rest + " 2>&1");
    }
    std::string path(const std::string& name) { return (m_dir / name).string(); }
};

TEST_F(OutputTargets, EachKindOfNameStaysWhatItWas) {
    for (const Writer& writer : kWriters) {
        SCOPED_TRACE(writer.option);
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);

        const std::string plain = writeFile("plain", "old");
        EXPECT_EQ(write(writer, plain).status, 0);
        EXPECT_EQ(readBytes(plain).substr(0, writer.magic.size()), writer.magic);

        const std::string target = writeFile("target", "old");
        std::filesystem::create_symlink(target, path("link"));
        EXPECT_EQ(write(writer, path("link")).status, 0);
        EXPECT_TRUE(std::filesystem::is_symlink(path("link")));
        EXPECT_EQ(readBytes(target).substr(0, writer.magic.size()), writer.magic);

        const std::string first = writeFile("first", "old");
        std::filesystem::create_hard_link(first, path("second"));
        EXPECT_EQ(write(writer, path("second")).status, 0);
        EXPECT_EQ(readBytes(first).substr(0, writer.magic.size()), writer.magic);
        EXPECT_EQ(std::filesystem::hard_link_count(first), 2u);

        ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
        std::string piped;
        std::thread reader([&] { piped = readBytes(path("fifo")); });
        EXPECT_EQ(write(writer, path("fifo")).status, 0);
        reader.join();
        EXPECT_EQ(piped.substr(0, writer.magic.size()), writer.magic);
        EXPECT_TRUE(std::filesystem::is_fifo(path("fifo")));

        if (::geteuid() == 0) {
            // A null device of the test's own, never the system's.
            ASSERT_EQ(::mknod(path("null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
            EXPECT_EQ(write(writer, path("null")).status, 0);
            EXPECT_TRUE(std::filesystem::is_character_file(path("null")));
        }

        std::filesystem::create_directory(path("folder"));
        const RunResult folder = write(writer, path("folder"));
        EXPECT_EQ(folder.status, 2);
        EXPECT_NE(folder.out.find(path("folder")), std::string::npos) << folder.out;
        EXPECT_TRUE(std::filesystem::is_directory(path("folder")));
    }
}

// A file system of 64 KB that the old file and a filler fill.
TEST_F(OutputTargets, AFullDiskIsAnErrorAndTheOldFileStays) {
    const std::string small = path("small");
    std::filesystem::create_directory(small);
    if (::mount("tabulo-test", small.c_str(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    }
    const std::string old = small + "/old";
    std::ofstream(old, std::ios::binary) << "old";
    std::ofstream(small + "/filler", std::ios::binary) << std::string(60 * 1024, 'x');
    for (const Writer& writer : kWriters) {
        SCOPED_TRACE(writer.option);
        const RunResult run = write(writer, old);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.out.find("No space left on device"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find(old), std::string::npos) << run.out;
        EXPECT_EQ(readBytes(old), "old");
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(small)) ++entries;
        EXPECT_EQ(entries, 2u) << "a cut file was left";
    }
    ::umount(small.c_str());
}

}  // namespace
}  // namespace tabulo::testing
