// A file changed behind the program is told from one it left alone: each
// kind of change another program makes to a file, or to the link naming it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "os/files/file_state.h"
#include "support/file_fixture.h"

using tabulo::os::changeBetween;
using tabulo::os::FileChange;
using tabulo::os::fileStateOf;
using tabulo::testing::ScratchFolder;

namespace {

// Sets a modification time of its own, so that a rewrite within the same
// clock tick still counts.
void touchAt(const std::string& path, long seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

}  // namespace

TEST(FileState, EachChangeBehindTheProgramIsTold) {
    const struct {
        const char* what;
        bool startsAsLink;
        bool exists;  // whether "doc.txt" is there when its state is taken
        std::function<void(const ScratchFolder&)> change;
        FileChange expected;
    } cases[] = {
        {"left alone", false, true, [](const ScratchFolder&) {}, FileChange::None},
        {"read again", false, true, [](const ScratchFolder& d) { (void)ScratchFolder::read(d.path("doc.txt")); },
         FileChange::None},
        {"same size, new time", false, true, [](const ScratchFolder& d) {
             d.write("doc.txt", "OLD");
             touchAt(d.path("doc.txt"), 2000000000);
         }, FileChange::Rewritten},
        {"longer, same time", false, true, [](const ScratchFolder& d) {
             d.write("doc.txt", "old and more");
             touchAt(d.path("doc.txt"), 1000000000);
         }, FileChange::Rewritten},
        {"renamed over", false, true, [](const ScratchFolder& d) {
             d.write("other.txt", "old");
             touchAt(d.path("other.txt"), 1000000000);
             ::rename(d.path("other.txt").c_str(), d.path("doc.txt").c_str());
         }, FileChange::Replaced},
        {"deleted", false, true, [](const ScratchFolder& d) { ::unlink(d.path("doc.txt").c_str()); },
         FileChange::Deleted},
        {"swapped for a link", false, true, [](const ScratchFolder& d) {
             ::unlink(d.path("doc.txt").c_str());
             ::symlink(d.path("victim.txt").c_str(), d.path("doc.txt").c_str());
         }, FileChange::BecameLink},
        {"a link where none was", false, false, [](const ScratchFolder& d) {
             ::symlink(d.path("victim.txt").c_str(), d.path("doc.txt").c_str());
         }, FileChange::BecameLink},
        {"a file where none was", false, false, [](const ScratchFolder& d) { d.write("doc.txt", "x"); },
         FileChange::Created},
        {"still nothing", false, false, [](const ScratchFolder&) {}, FileChange::None},
        {"link pointed elsewhere", true, true, [](const ScratchFolder& d) {
             ::unlink(d.path("doc.txt").c_str());
             ::symlink(d.path("victim.txt").c_str(), d.path("doc.txt").c_str());
         }, FileChange::Replaced},
        {"link's target rewritten", true, true, [](const ScratchFolder& d) {
             d.write("real.txt", "new text");
         }, FileChange::Rewritten},
        {"link made a file", true, true, [](const ScratchFolder& d) {
             ::unlink(d.path("doc.txt").c_str());
             d.write("doc.txt", "old");
         }, FileChange::Replaced},
        {"link's target deleted", true, true, [](const ScratchFolder& d) { ::unlink(d.path("real.txt").c_str()); },
         FileChange::Deleted},
    };
    for (const auto& c : cases) {
        ScratchFolder dir;
        dir.write("victim.txt", "victim");
        if (c.startsAsLink) {
            dir.write("real.txt", "old");
            touchAt(dir.path("real.txt"), 1000000000);
            ASSERT_EQ(::symlink("real.txt", dir.path("doc.txt").c_str()), 0);
        } else if (c.exists) {
            dir.write("doc.txt", "old");
            touchAt(dir.path("doc.txt"), 1000000000);
        }
        const auto known = fileStateOf(dir.path("doc.txt"));
        EXPECT_EQ(known.exists, c.exists) << c.what;
        EXPECT_EQ(known.link, c.startsAsLink) << c.what;
        c.change(dir);
        EXPECT_EQ(changeBetween(known, fileStateOf(dir.path("doc.txt"))), c.expected) << c.what;
    }
}
