// The old text of a file that is written in place (a file with several
// hard links), kept whole until the new text is complete and flushed: a
// save killed during the in-place write leaves the old text in a recovery
// copy, which the next start offers to restore.
//
// A recovery copy is made under a temporary save name (kSaveTempPrefix) and
// renamed to kRecoveryPrefix + the saving process's id + '-' + random
// letters only once it is whole and flushed, so every copy found under the
// recovery name is complete. It holds the document's path, a 0x00 byte,
// then the old text; it is created 0600.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tabulo::os {

inline constexpr std::string_view kRecoveryPrefix = ".tabulo-recover-";

// Copies the whole text of `document` into a new recovery copy in `folder`
// and returns the copy's path. Throws std::runtime_error "<document>:
// <reason>" when the copy cannot be made; the document is untouched then.
std::string keepRecoveryCopy(const std::string& document, const std::string& folder);

// Removes a recovery copy once the write it guarded is complete.
void dropRecoveryCopy(const std::string& copy);

struct RecoveryCopy {
    std::string copy;      // the recovery copy's path
    std::string document;  // the file whose old text it holds
};

// The recovery copies in `folder` left by saves that did not finish: those
// of processes that no longer run, owned by this user.
std::vector<RecoveryCopy> findRecoveryCopies(const std::string& folder);

// Writes the old text back into the document (in place, so every hard link
// sees it; a missing document is created 0600) and flushes it, then removes
// the copy. Throws std::runtime_error "<document>: <reason>"; the copy stays
// then.
void restoreRecoveryCopy(const RecoveryCopy& recovery);

}  // namespace tabulo::os
