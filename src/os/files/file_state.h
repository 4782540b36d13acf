// What a document's file was when the program last read or wrote it, so
// that a change made behind the window (the file rewritten, replaced by
// another file, deleted, or swapped for a symbolic link) is noticed before
// a save writes over it.
#pragma once

#include <ctime>
#include <string>
#include <sys/types.h>

namespace tabulo::os {

struct FileState {
    bool exists = false;
    // The name itself is a symbolic link, pointing at `linkText`.
    bool link = false;
    std::string linkText;
    // The file the name leads to (the link's target for a link).
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
};

enum class FileChange {
    None,
    Rewritten,   // same file, other size or modification time
    Replaced,    // another file under the name, or a link pointing elsewhere
    Deleted,     // the name is gone (or a link now leads nowhere)
    BecameLink,  // a symbolic link stands where a file was, or where none was
    Created,     // a file stands where none was
};

// The state of `path` now; a missing file (or a dangling link) gives
// exists = false, with `link` still telling whether a link is there.
FileState fileStateOf(const std::string& path);

// How `now` differs from `known`, the state last read or written.
FileChange changeBetween(const FileState& known, const FileState& now);

}  // namespace tabulo::os
