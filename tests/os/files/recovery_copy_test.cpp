// The old text of a file written in place survives in a recovery copy: it
// is found again by the next start only when complete and only when the
// save that made it no longer runs, and restoring writes it back through
// every hard link.
#include <sys/stat.h>
#include <unistd.h>

#include "os/files/recovery_copy.h"
#include "os/files/safe_save.h"
#include "support/file_fixture.h"

using tabulo::os::findRecoveryCopies;
using tabulo::os::keepRecoveryCopy;
using tabulo::os::kRecoveryPrefix;
using tabulo::os::RecoveryCopy;
using tabulo::testing::ScratchFolder;

TEST(RecoveryCopy, KeepsTheOldTextUntilItIsRestored) {
    ScratchFolder dir;
    ScratchFolder home;
    const std::string a = dir.write("a.txt", std::string("old \0 text\r\n", 12));
    ASSERT_EQ(::link(a.c_str(), dir.path("b.txt").c_str()), 0);
    const std::string copy = keepRecoveryCopy(a, home.folder());
    struct stat info {};
    ASSERT_EQ(::stat(copy.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);

    // This process makes one save at a time, so its own copy counts as left
    // over, as a killed save's does.
    dir.write("b.txt", "half new");
    const std::vector<RecoveryCopy> found = findRecoveryCopies(home.folder());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].copy, copy);
    EXPECT_EQ(found[0].document, a);
    tabulo::os::restoreRecoveryCopy(found[0]);
    EXPECT_EQ(ScratchFolder::read(a), std::string("old \0 text\r\n", 12));
    EXPECT_EQ(ScratchFolder::read(dir.path("b.txt")), ScratchFolder::read(a));
    EXPECT_TRUE(findRecoveryCopies(home.folder()).empty());
    EXPECT_EQ(home.countStartingWith(".tabulo-"), 0);
}

TEST(RecoveryCopy, OnlyCompleteCopiesOfEndedSavesAreFound) {
    ScratchFolder home;
    const std::string document = "/home/u/doc.txt";
    const std::string record = document + std::string(1, '\0') + "old";
    const std::string prefix(kRecoveryPrefix);
    const std::string dead = std::to_string(tabulo::testing::deadProcessId());
    home.write(prefix + dead + "-Ab12Cd", record);
    home.write(prefix + std::to_string(::getppid()) + "-Ab12Cd", record);  // a save still running
    home.write(std::string(tabulo::os::kSaveTempPrefix) + "1-Ab12Cd", record);  // not complete yet
    home.write(prefix + dead + "-Xy34Zq", document);  // no 0x00 after the path: not a record
    const std::vector<RecoveryCopy> found = findRecoveryCopies(home.folder());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].document, document);
    EXPECT_TRUE(findRecoveryCopies(home.path("no-such-folder")).empty());
}

TEST(RecoveryCopy, ADeletedDocumentIsMadeAgainPrivate) {
    ScratchFolder dir;
    ScratchFolder home;
    const std::string a = dir.write("a.txt", "old");
    const std::string copy = keepRecoveryCopy(a, home.folder());
    ::unlink(a.c_str());
    tabulo::os::restoreRecoveryCopy({copy, a});
    EXPECT_EQ(ScratchFolder::read(a), "old");
    struct stat info {};
    ASSERT_EQ(::stat(a.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}
