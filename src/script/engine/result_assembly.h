// The result of a script run, "TT.txt": the lines before the target
// ("TA.txt"), the interpreter's output ("T.$") and the lines after it
// ("TZ.txt"), with every line break written in the document's convention.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "script/engine/script_work_files.h"

namespace tabulo::script {

// Writes "TT.txt" from "TA.txt" (when present), "T.$" and "TZ.txt" (when
// present), in this order, with every line break (CR LF, LF or CR) written
// as `lineBreak`. Every byte else passes unchanged. Throws ScriptFileError.
void assembleResult(const ScriptWorkFiles& files, std::string_view lineBreak);

// Assembles "TT.txt" while the interpreter still writes "T.$", so that little
// is left to do when it ends: the lines before the target at once, the output
// as it grows, the rest and the lines after once the run has ended.
// Construct it before the interpreter starts; it creates a fresh, empty "T.$"
// for the interpreter's output. The result equals assembleResult's.
class FollowingAssembly {
public:
    // Throws ScriptFileError when "T.$" or "TT.txt" cannot be created.
    FollowingAssembly(ScriptWorkFiles files, std::string lineBreak);
    FollowingAssembly(const FollowingAssembly&) = delete;
    FollowingAssembly& operator=(const FollowingAssembly&) = delete;
    // An assembly not finished (a stopped run) leaves no "TT.txt" behind.
    ~FollowingAssembly();

    // The interpreter has ended: completes "TT.txt". When the output was
    // replaced or cut short during the run, "TT.txt" is assembled anew
    // from the files. Throws ScriptFileError.
    void finish();

private:
    class Output;
    void follow();
    void stopFollowing();

    ScriptWorkFiles m_files;
    std::string m_lineBreak;
    std::unique_ptr<Output> m_output;
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_runEnded = false;
    bool m_finished = false;
    std::thread m_follower;
};

}  // namespace tabulo::script
