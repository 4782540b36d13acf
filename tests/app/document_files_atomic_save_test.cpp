// Killing the program in the middle of saving a 100 MB document never leaves
// the file truncated: a child process saves the document the way the main
// window does and is killed with SIGKILL at many moments of the write; each
// time the file holds either the whole old text or the whole new one, and
// the clean-up the next start runs for the folder leaves no temporary file.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "editor/model/editor_model.h"
#include "os/files/safe_save.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kNewSize = 100u * 1024 * 1024;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The size of the save's temporary file beside the target, 0 while there is none.
std::uintmax_t tempFileSize(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(".tabulo-save-", 0) == 0) {
            std::error_code error;
            const auto size = fs::file_size(entry.path(), error);
            return error ? 0 : size;
        }
    }
    return 0;
}

int tempFileCount(const fs::path& folder) {
    int n = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        n += entry.path().filename().string().rfind(".tabulo-save-", 0) == 0 ? 1 : 0;
    }
    return n;
}

}  // namespace

TEST(AtomicSave, KillingASaveLeavesTheOldOrTheNewFileWhole) {
    const fs::path folder = fs::temp_directory_path() / ("tabulo-atomic-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path target = folder / "big.txt";
    const std::string line(98, 'n');
    std::string oldText;
    for (int i = 0; i < 1000; ++i) oldText += "old line " + std::to_string(i) + "\r\n";

    // Kill points, as fractions of the new text written to the temporary
    // file; 0 kills before the write starts, 2 after the child finished.
    const double points[] = {0.0, 0.01, 0.1, 0.3, 0.45, 0.6, 0.8, 0.95, 0.99, 2.0};
    int sawNew = 0;
    int killedMidWrite = 0;  // kills that caught a partly written temporary file
    for (const double point : points) {
        {
            std::ofstream out(target, std::ios::binary | std::ios::trunc);
            out << oldText;
        }
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            tabulo::editor::EditorModel model;
            std::string text;
            text.reserve(kNewSize);
            while (text.size() + line.size() + 2 <= kNewSize) text += line + "\r\n";
            model.SetTextStr(text);
            try {
                model.SaveToFile(target.string());
            } catch (...) {
                ::_exit(2);
            }
            ::_exit(0);
        }
        if (point <= 1.0) {
            const auto wanted = static_cast<std::uintmax_t>(point * static_cast<double>(kNewSize));
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            int status = 0;
            while (std::chrono::steady_clock::now() < deadline) {
                if (point == 0.0 ? tempFileSize(folder) == 0 && fs::exists(target) : tempFileSize(folder) >= wanted) break;
                if (::waitpid(child, &status, WNOHANG) == child) break;
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            const std::uintmax_t partial = tempFileSize(folder);
            ::kill(child, SIGKILL);
            if (partial > 0 && partial < kNewSize) ++killedMidWrite;
        }
        int status = 0;
        ::waitpid(child, &status, 0);

        const std::string now = readFile(target);
        if (now == oldText) {
            SCOPED_TRACE("old text kept");
        } else {
            ASSERT_EQ(now.size(), kNewSize - kNewSize % 100) << "killed at " << point << ": the file is neither old nor new";
            EXPECT_EQ(now.find_first_not_of("n\r\n"), std::string::npos);
            ++sawNew;
        }
        if (point == 2.0) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            EXPECT_NE(now, oldText);
        }
        // A killed save may leave its temporary file beside the target; the
        // next start (or the next save in the folder) removes it.
        EXPECT_LE(tempFileCount(folder), 1);
        tabulo::os::removeStaleSaveFiles(folder.string());
        EXPECT_EQ(tempFileCount(folder), 0) << "killed at " << point;
    }
    EXPECT_GE(sawNew, 1);
    EXPECT_GE(killedMidWrite, 1) << "no kill landed inside the write";
    fs::remove_all(folder);
}
