// Killing the program in the middle of saving a 100 MB document never loses
// text. A child process saves the document the way the main window does
// and is killed with SIGKILL at many moments of the write:
// - a file with one link holds either the whole old text or the whole new
//   one, and the clean-up the next start runs for the folder leaves no
//   temporary file;
// - a file with two hard links (written in place) holds the whole old or
//   new text, or else the old text is whole in a recovery copy, which the
//   next start offers to restore;
// - the temporary file of a private (0600) document is never readable by
//   others, at any moment it is seen, and is gone after the next start.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "editor/model/editor_model.h"
#include "os/files/recovery_copy.h"
#include "os/files/safe_save.h"
#include "support/document_window_fixture.h"

namespace {

namespace fs = std::filesystem;
using tabulo::platform::Answer;

constexpr std::size_t kNewSize = 100u * 1024 * 1024;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Lines of 98 copies of `letter` and CR LF, up to `size` bytes.
std::string linesOf(char letter, std::size_t size) {
    const std::string line = std::string(98, letter) + "\r\n";
    std::string text;
    text.reserve(size);
    while (text.size() + line.size() <= size) text += line;
    return text;
}

// The first name in `folder` starting with `prefix`, or an empty path.
fs::path firstStartingWith(const fs::path& folder, const std::string& prefix) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0) return entry.path();
    }
    return {};
}

std::uintmax_t sizeOf(const fs::path& path) {
    std::error_code error;
    const auto size = path.empty() ? 0 : fs::file_size(path, error);
    return error ? 0 : size;
}

int countStartingWith(const fs::path& folder, const std::string& prefix) {
    int n = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        n += entry.path().filename().string().rfind(prefix, 0) == 0 ? 1 : 0;
    }
    return n;
}

// Saves `text` to `target` in a child process, as the main window saves a
// document: through EditorModel, its recovery copies in `recoveryFolder`.
pid_t startSave(const fs::path& target, const std::string& text, const std::string& recoveryFolder) {
    const pid_t child = ::fork();
    if (child == 0) {
        tabulo::editor::EditorModel model;
        model.SetTextStr(text);
        try {
            model.SaveToFile(target.string(), {.privateFile = false, .attributesFrom = {}, .followLink = true,
                                               .recoveryFolder = recoveryFolder});
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(0);
    }
    return child;
}

// Waits until `reached` holds (or the child ends, or a minute passes),
// calling `watch` at every look, then kills the child.
void killWhen(pid_t child, const std::function<bool()>& reached, const std::function<void()>& watch = [] {}) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        watch();
        if (reached()) break;
        if (::waitpid(child, &status, WNOHANG) == child) return;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
}

// Whether the byte at `offset` of `file` is `letter` now.
bool byteIs(const fs::path& file, std::uintmax_t offset, char letter) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    char byte = 0;
    const bool is = fd >= 0 && ::pread(fd, &byte, 1, static_cast<off_t>(offset)) == 1 && byte == letter;
    if (fd >= 0) ::close(fd);
    return is;
}

class InterruptedSaveTest : public tabulo::testing::DocumentWindowTest {
protected:
    fs::path folder() const { return fs::path(dir.path().toStdString()); }
    fs::path home() const { return fs::path(programFolder().toStdString()); }

    // The program's start with `document` in its recent-file history, as
    // after a run that opened it.
    void rememberInHistory(const fs::path& document) {
        open({QString::fromStdString(document.string())});
        closeWindow();
    }
};

}  // namespace

TEST_F(InterruptedSaveTest, KillingASaveLeavesTheOldOrTheNewFileWhole) {
    const fs::path target = folder() / "big.txt";
    std::string oldText;
    for (int i = 0; i < 1000; ++i) oldText += "old line " + std::to_string(i) + "\r\n";
    const std::string newText = linesOf('n', kNewSize);
    std::ofstream(target, std::ios::binary) << oldText;
    rememberInHistory(target);

    // Kill points, as fractions of the new text written to the temporary
    // file; 0 kills before the write starts, 2 after the child finished.
    const double points[] = {0.0, 0.01, 0.1, 0.3, 0.45, 0.6, 0.8, 0.95, 0.99, 2.0};
    int sawNew = 0;
    int killedMidWrite = 0;  // kills that caught a partly written temporary file
    for (const double point : points) {
        SCOPED_TRACE(point);
        std::ofstream(target, std::ios::binary | std::ios::trunc) << oldText;
        const pid_t child = startSave(target, newText, home().string());
        std::uintmax_t partial = 0;
        const auto temp = [&] { return sizeOf(firstStartingWith(folder(), ".tabulo-save-")); };
        if (point <= 1.0) {
            const auto wanted = static_cast<std::uintmax_t>(point * static_cast<double>(kNewSize));
            killWhen(child, [&] {
                partial = temp();
                return point == 0.0 ? partial == 0 && fs::exists(target) : partial >= wanted;
            });
            if (partial > 0 && partial < kNewSize) ++killedMidWrite;
        } else {
            int status = 0;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        const std::string now = readFile(target);
        if (now != oldText) {
            ASSERT_EQ(now.size(), newText.size()) << "the file is neither old nor new";
            EXPECT_TRUE(now == newText);
            ++sawNew;
        }
        if (point == 2.0) {
            EXPECT_NE(now, oldText);
        }
        // A killed save may leave its temporary file beside the target; the
        // next start removes it.
        EXPECT_LE(countStartingWith(folder(), ".tabulo-save-"), 1);
        open();
        EXPECT_EQ(countStartingWith(folder(), ".tabulo-save-"), 0);
        window.reset();
    }
    EXPECT_GE(sawNew, 1);
    EXPECT_GE(killedMidWrite, 1) << "no kill landed inside the write";
}

TEST_F(InterruptedSaveTest, AKilledSaveOfAHardLinkedFileLeavesTheOldTextWholeSomewhere) {
    const fs::path target = folder() / "linked.txt";
    const fs::path second = folder() / "second.txt";
    const std::string oldText = linesOf('o', 30u * 1024 * 1024);
    const std::string newText = linesOf('n', kNewSize);
    std::ofstream(target, std::ios::binary) << oldText;
    ASSERT_EQ(::link(target.c_str(), second.c_str()), 0);
    rememberInHistory(target);
    const QString question = QStringLiteral("ファイル %1 の保存が前回、途中で中断されました。\n"
                                            "保存する前の内容に戻しますか？（いいえ：保存する前の内容を捨てます）")
                                 .arg(QString::fromStdString(target.string()));

    // Kill points by what the save has done: how much of the new text is in
    // its temporary file, how much of the old text in the recovery copy, and
    // how far the in-place copy has come (the new text's letter at that
    // offset of the file); the last one lets the save finish.
    const auto tempSize = [&] { return sizeOf(firstStartingWith(folder(), ".tabulo-save-")); };
    const auto copySize = [&] { return sizeOf(firstStartingWith(home(), ".tabulo-save-")); };
    const auto copied = [&](double part) {
        return byteIs(target, static_cast<std::uintmax_t>(part * static_cast<double>(newText.size())), 'n');
    };
    const struct {
        const char* moment;
        std::function<bool()> reached;
    } moments[] = {
        {"new text 10% written", [&] { return tempSize() >= kNewSize / 10; }},
        {"new text 90% written", [&] { return tempSize() >= kNewSize / 10 * 9; }},
        {"recovery copy started", [&] { return copySize() > 0; }},
        {"recovery copy half made", [&] { return copySize() >= oldText.size() / 2; }},
        {"recovery copy complete", [&] { return countStartingWith(home(), ".tabulo-recover-") > 0; }},
        {"in place 1%", [&] { return copied(0.01); }},
        {"in place 15%", [&] { return copied(0.15); }},
        {"in place 29%", [&] { return copied(0.29); }},
        {"in place 50%", [&] { return copied(0.5); }},
        {"in place 80%", [&] { return copied(0.8); }},
        {"in place 99%", [&] { return copied(0.99); }},
        {"finished", {}},
    };
    int recovered = 0;
    int sawNew = 0;
    for (const auto& m : moments) {
        SCOPED_TRACE(m.moment);
        std::ofstream(target, std::ios::binary | std::ios::trunc) << oldText;
        const pid_t child = startSave(target, newText, home().string());
        if (m.reached) {
            killWhen(child, m.reached);
        } else {
            int status = 0;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        const std::string now = readFile(target);
        EXPECT_EQ(readFile(second), now) << "the links no longer share one file";
        const std::vector<tabulo::os::RecoveryCopy> copies = tabulo::os::findRecoveryCopies(home().string());
        const bool whole = now == oldText || now == newText;
        if (!whole) {
            // Half old, half new: the old text must be whole in a recovery copy.
            ASSERT_EQ(copies.size(), 1u);
            EXPECT_EQ(copies[0].document, target.string());
            const std::string record = readFile(copies[0].copy);
            EXPECT_TRUE(record == target.string() + std::string(1, '\0') + oldText) << "the recovery copy is not the old text";
            ++recovered;
        }
        sawNew += now == newText ? 1 : 0;

        // The next start offers every recovery copy it finds; Yes puts the
        // old text back, through both links.
        prompts.clear();
        prompts.queueAnswer(Answer::Yes);
        open();
        EXPECT_EQ(prompts.texts().contains(question), !copies.empty());
        if (!copies.empty()) {
            EXPECT_TRUE(readFile(target) == oldText);
        }
        if (copies.empty()) {
            EXPECT_TRUE(readFile(target) == now);
        }
        EXPECT_EQ(readFile(second), readFile(target));
        EXPECT_EQ(countStartingWith(home(), ".tabulo-"), 0);
        EXPECT_EQ(countStartingWith(folder(), ".tabulo-"), 0);
        window.reset();
    }
    EXPECT_GE(recovered, 3) << "too few kills landed inside the in-place write";
    EXPECT_GE(sawNew, 1);
}

// A document others may read gets its mode only once its text is whole:
// a half-written temporary file is its owner's only.
TEST_F(InterruptedSaveTest, TheTemporaryFileOfAPrivateDocumentIsNeverReadableByOthers) {
    const fs::path target = folder() / "private.txt";
    const std::string newText = linesOf('n', kNewSize);
    std::ofstream(target, std::ios::binary) << "secret\r\n";
    rememberInHistory(target);
    const std::pair<int, double> runs[] = {{0600, 0.05}, {0600, 0.5}, {0600, 0.95}, {0644, 0.5}};
    for (const auto& [mode, point] : runs) {
        SCOPED_TRACE(::testing::Message() << std::oct << mode << " at " << point);
        ::chmod(target.c_str(), static_cast<mode_t>(mode));
        const pid_t child = startSave(target, newText, home().string());
        int looks = 0;
        killWhen(
            child, [&] { return sizeOf(firstStartingWith(folder(), ".tabulo-save-")) >= point * kNewSize; },
            [&] {
                struct stat info {};
                const fs::path temp = firstStartingWith(folder(), ".tabulo-save-");
                if (temp.empty() || ::stat(temp.c_str(), &info) != 0) return;
                ++looks;
                EXPECT_EQ(info.st_mode & 077, 0u) << std::oct << (info.st_mode & 07777);
            });
        EXPECT_GT(looks, 0) << "the temporary file was never seen";
        const fs::path left = firstStartingWith(folder(), ".tabulo-save-");
        ASSERT_FALSE(left.empty()) << "the kill left no temporary file to look at";
        struct stat info {};
        ASSERT_EQ(::stat(left.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 077, 0u);
        EXPECT_EQ(readFile(target), "secret\r\n");
        EXPECT_EQ(fs::status(target).permissions(), static_cast<fs::perms>(mode));
        open();
        EXPECT_EQ(countStartingWith(folder(), ".tabulo-save-"), 0);
        window.reset();
    }
}
