// Saves keep what the file is: a symbolic link stays a link to the written
// target, hard links all see the new text, owner, group, mode and extended
// attributes stay, private files are 0600, and temporary files of killed
// saves are cleared away by the next save in the folder.
#include <sys/resource.h>
#include <sys/xattr.h>

#include "os/files/regular_file.h"
#include "os/files/safe_save.h"
#include "support/file_fixture.h"

using tabulo::os::kSaveTempPrefix;
using tabulo::os::NotRegularFileError;
using tabulo::os::removeStaleSaveFiles;
using tabulo::os::saveFileBytes;
using tabulo::testing::ScratchFolder;

namespace {

struct stat statOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

std::string tempName(pid_t pid) {
    return std::string(kSaveTempPrefix) + std::to_string(pid) + "-Ab12Cd";
}

}  // namespace

TEST(SafeSave, ThroughSymbolicLinksTheTargetIsWrittenAndTheLinksStay) {
    ScratchFolder dir;
    std::filesystem::create_directory(dir.path("real"));
    const std::string target = dir.write("real/t.txt", "old");
    ASSERT_EQ(::symlink("real/t.txt", dir.path("rel").c_str()), 0);       // relative
    ASSERT_EQ(::symlink(dir.path("rel").c_str(), dir.path("abs").c_str()), 0);  // a chain
    saveFileBytes(dir.path("abs"), "new");
    EXPECT_EQ(ScratchFolder::read(target), "new");
    EXPECT_TRUE(S_ISLNK(statOf(dir.path("rel")).st_mode));
    EXPECT_TRUE(S_ISLNK(statOf(dir.path("abs")).st_mode));
    EXPECT_EQ(dir.countStartingWith(std::string(kSaveTempPrefix)), 0);

    // A dangling link gets its target created.
    ASSERT_EQ(::symlink("real/made.txt", dir.path("dangling").c_str()), 0);
    saveFileBytes(dir.path("dangling"), "made");
    EXPECT_EQ(ScratchFolder::read(dir.path("real/made.txt")), "made");
    EXPECT_TRUE(S_ISLNK(statOf(dir.path("dangling")).st_mode));
}

TEST(SafeSave, EveryHardLinkSeesTheNewTextAndNothingIsLeftBehind) {
    ScratchFolder dir;
    ScratchFolder recovery;
    const std::string a = dir.write("a.txt", "old old old");
    ASSERT_EQ(::link(a.c_str(), dir.path("b.txt").c_str()), 0);
    const ino_t inode = statOf(a).st_ino;
    for (const std::string text : {"new", "a longer new text than before"}) {  // shorter: the rest is cut off
        saveFileBytes(a, text, {.privateFile = false, .attributesFrom = {}, .followLink = true,
                                .recoveryFolder = recovery.folder()});
        EXPECT_EQ(ScratchFolder::read(a), text);
        EXPECT_EQ(ScratchFolder::read(dir.path("b.txt")), text);
        EXPECT_EQ(statOf(a).st_ino, inode);
        EXPECT_EQ(statOf(a).st_nlink, 2u);
    }
    EXPECT_EQ(dir.countStartingWith(".tabulo-"), 0);
    EXPECT_EQ(recovery.countStartingWith(".tabulo-"), 0);
}

// A link another user owns in a folder everyone may write in, or a sticky
// one, may have been planted to make the user overwrite a file of theirs:
// the save replaces the link and leaves its target alone. The same holds
// for any link when the save is told not to follow links.
TEST(SafeSave, PlantedLinksAreReplacedNotFollowed) {
    ScratchFolder dir;
    const struct {
        const char* name;
        mode_t folderMode;
        uid_t owner;  // of the link
        bool followLink;
        bool followed;
    } cases[] = {
        {"sticky", 01777, 65534, true, false},
        {"open", 0777, 65534, true, false},
        {"private", 0755, 65534, true, true},  // only its owner could have put it there
        {"own-in-sticky", 01777, 0, true, true},
        {"not-followed", 0755, 0, false, false},
    };
    for (const auto& c : cases) {
        const bool foreign = c.owner != 0;
        if (foreign && ::geteuid() != 0) continue;
        const std::string folder = dir.path(c.name);
        std::filesystem::create_directory(folder);
        ::chmod(folder.c_str(), c.folderMode);
        const std::string victim = dir.write(std::string(c.name) + "-victim.txt", "victim's text");
        const std::string link = folder + "/CatTemp.txt";
        ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0);
        if (foreign) {
            ASSERT_EQ(::lchown(link.c_str(), c.owner, c.owner), 0);
        }
        const uid_t owner = foreign ? c.owner : ::geteuid();
        ASSERT_EQ(statOf(link).st_uid, owner);
        saveFileBytes(link, "joined", {.privateFile = false, .attributesFrom = {}, .followLink = c.followLink,
                                       .recoveryFolder = {}});
        EXPECT_EQ(ScratchFolder::read(victim), c.followed ? "joined" : "victim's text") << c.name;
        EXPECT_EQ(S_ISLNK(statOf(link).st_mode), c.followed) << c.name;
        EXPECT_EQ(ScratchFolder::read(link), "joined") << c.name;
    }
}

TEST(SafeSave, ModesOfNewExistingAndPrivateFiles) {
    ScratchFolder dir;
    const mode_t mask = ::umask(022);
    const struct {
        const char* name;
        int before;  // -1: the file does not exist yet
        bool privateFile;
        mode_t after;
    } cases[] = {
        {"new.txt", -1, false, 0644},         {"kept.txt", 0640, false, 0640},
        {"exec.sh", 0755, false, 0755},       {"private-new.txt", -1, true, 0600},
        {"private-was-open.txt", 0644, true, 0600},
    };
    for (const auto& c : cases) {
        if (c.before >= 0) {
            dir.write(c.name, "old");
            ::chmod(dir.path(c.name).c_str(), static_cast<mode_t>(c.before));
        }
        saveFileBytes(dir.path(c.name), "text", {.privateFile = c.privateFile, .attributesFrom = {}, .followLink = true, .recoveryFolder = {}});
        EXPECT_EQ(statOf(dir.path(c.name)).st_mode & 07777, c.after) << c.name;
        EXPECT_EQ(ScratchFolder::read(dir.path(c.name)), "text") << c.name;
    }
    ::umask(mask);
}

TEST(SafeSave, ACopyTakesTheAttributesOfItsOriginal) {
    ScratchFolder dir;
    const std::string original = dir.write("a.txt", "old");
    ::chmod(original.c_str(), 0604);
    saveFileBytes(dir.path("a.$xt"), "old", {.privateFile = false, .attributesFrom = original, .followLink = true, .recoveryFolder = {}});
    EXPECT_EQ(statOf(dir.path("a.$xt")).st_mode & 07777, 0604u);
}

TEST(SafeSave, ExtendedAttributesStay) {
    ScratchFolder dir;
    const std::string file = dir.write("a.txt", "old");
    if (::setxattr(file.c_str(), "user.tabulo.note", "kept", 4, 0) != 0) {
        GTEST_SKIP() << "this file system has no user extended attributes: " << std::strerror(errno);
    }
    saveFileBytes(file, "new");
    char value[16] = {};
    EXPECT_EQ(::getxattr(file.c_str(), "user.tabulo.note", value, sizeof value), 4);
    EXPECT_STREQ(value, "kept");
}

// Root saving a user's private file must not hand it to root or open it up.
TEST(SafeSave, OwnerAndGroupOfAnotherUsersFileStay) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a file to another user";
    ScratchFolder dir;
    for (const bool twoLinks : {false, true}) {
        const std::string file = dir.write(twoLinks ? "linked.txt" : "single.txt", "secret");
        if (twoLinks) ::link(file.c_str(), dir.path("second.txt").c_str());
        ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
        ::chmod(file.c_str(), 0600);
        saveFileBytes(file, "still secret");
        const struct stat info = statOf(file);
        EXPECT_EQ(info.st_uid, 65534u) << twoLinks;
        EXPECT_EQ(info.st_gid, 65534u) << twoLinks;
        EXPECT_EQ(info.st_mode & 07777, 0600u) << twoLinks;
        EXPECT_EQ(ScratchFolder::read(file), "still secret");
    }
}

TEST(SafeSave, OnlyRegularFilesAreWritten) {
    ScratchFolder dir;
    ASSERT_EQ(::mkfifo(dir.path("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.path("folder"));
    for (const std::string& path : {dir.path("fifo"), dir.path("folder"), std::string("/dev/null")}) {
        EXPECT_TRUE(tabulo::testing::finishesWithin(std::chrono::seconds(10), [&] {
            try {
                saveFileBytes(path, "x");
            } catch (const NotRegularFileError&) {
                return true;
            }
            return false;
        })) << path;
    }
    EXPECT_TRUE(S_ISFIFO(statOf(dir.path("fifo")).st_mode));
}

// The write fails half-way (a file-size limit of 4 bytes, in a child), for
// a file replaced whole and for one written in place through its links.
TEST(SafeSave, AFailedSaveLeavesTheOldFileAndNoTemporaryFile) {
    for (const bool twoLinks : {false, true}) {
        ScratchFolder dir;
        const std::string file = dir.write("a.txt", "old");
        if (twoLinks) {
            ASSERT_EQ(::link(file.c_str(), dir.path("b.txt").c_str()), 0);
        }
        EXPECT_TRUE(tabulo::testing::finishesWithin(std::chrono::seconds(10), [&] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{4, 4};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            try {
                saveFileBytes(file, "a much longer new text");
            } catch (const std::runtime_error& error) {
                return std::string(error.what()) == file + ": " + std::strerror(EFBIG);
            }
            return false;
        })) << twoLinks;
        EXPECT_EQ(ScratchFolder::read(file), "old");
        EXPECT_EQ(dir.countStartingWith(".tabulo-"), 0) << twoLinks;
    }
}

TEST(SafeSave, TemporaryFilesOfEndedSavesAreRemovedAndRunningOnesKept) {
    ScratchFolder dir;
    const pid_t dead = tabulo::testing::deadProcessId();
    const std::string stale = dir.write(tempName(dead), "half");
    const std::string ours = dir.write(tempName(::getpid()), "half");  // one save at a time: left over
    const std::string oldForm = dir.write(std::string(kSaveTempPrefix) + "Xy12Zq", "half");
    const std::string running = dir.write(tempName(::getppid()), "being written");
    const std::string other = dir.write(".tabulo-saved-notes", "not ours");
    EXPECT_EQ(removeStaleSaveFiles(dir.folder()), 3);
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_FALSE(std::filesystem::exists(ours));
    EXPECT_FALSE(std::filesystem::exists(oldForm));
    EXPECT_TRUE(std::filesystem::exists(running));
    EXPECT_TRUE(std::filesystem::exists(other));

    // The next save in the folder does the same.
    const std::string again = dir.write(tempName(dead), "half");
    saveFileBytes(dir.path("doc.txt"), "text");
    EXPECT_FALSE(std::filesystem::exists(again));
    EXPECT_TRUE(std::filesystem::exists(running));
    EXPECT_EQ(removeStaleSaveFiles(dir.path("no-such-folder")), 0);
}
