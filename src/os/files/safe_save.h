// Saving a file so that nothing is lost and nothing is left behind.
//
// A symbolic link is followed and its target written; the link stays. A
// link another user owns in a folder everyone may write in (or a sticky
// one) is never followed: it may have been planted there. A file with one
// link is replaced atomically: the bytes go to a temporary file beside it
// (named kSaveTempPrefix + the saving process's id + '-' + random letters,
// readable by its owner only until the text is complete), which takes the
// old file's owner and group (where the user may set them), extended
// attributes and mode, and is renamed over the old file after fsync, so a
// save killed at any moment leaves the old or the new file. A file with
// several hard links is written in place instead, so every link sees the
// new text: the new text is flushed to a temporary file first and copied
// from there, while a recovery copy (recovery_copy.h) keeps the old text
// whole until the copy is flushed. A temporary file of a killed save is
// removed by the next save in its folder.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tabulo::os {

inline constexpr std::string_view kSaveTempPrefix = ".tabulo-save-";

struct SaveOptions {
    // A file only its owner may read (mode 0600), also when it existed with
    // another mode: auto-backups and work files hold unsaved text.
    bool privateFile = false;
    // A new file takes the owner, group, mode and extended attributes of
    // this file instead of the defaults (backup copies).
    std::optional<std::string> attributesFrom;
    // False: a symbolic link at the name is not followed, and the saved file
    // replaces the link itself (a document whose name was no link when it
    // was read).
    bool followLink = true;
    // Where the recovery copy of a file written in place is kept; the file's
    // own folder when not given.
    std::optional<std::string> recoveryFolder;
};

// Writes `bytes` to `path` as described above. Throws std::runtime_error
// "<path>: <reason>", or NotRegularFileError when `path` names a folder, a
// FIFO, a device or a socket.
void saveFileBytes(const std::string& path, std::string_view bytes, const SaveOptions& options = {});

// Writes the file's new contents into the descriptor it is given, from its
// start; throws on a failed write.
using FileWriter = std::function<void(int fd)>;

// The same for contents that `write` produces, for a file too large to be
// held in memory first.
void saveFileWith(const std::string& path, const FileWriter& write, const SaveOptions& options = {});

// The file a save of `path` writes: symbolic links followed (relative
// targets from the link's folder); a dangling link gives its target; a
// link that may have been planted is where the following stops.
std::string resolveSaveTarget(const std::string& path);

// Removes the temporary files of killed saves from `folder`: names with the
// prefix whose process no longer runs, regular files owned by this user.
// Returns how many were removed; a folder that cannot be read removes none.
int removeStaleSaveFiles(const std::string& folder);

}  // namespace tabulo::os
