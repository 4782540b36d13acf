// The vocabulary shared by the line commands: the line range they work on, the
// progress callback through which the caller shows progress and asks to stop,
// and what a run reports back for the "…行削除しました" / "…行処理しました"
// messages.
#pragma once

#include <cstddef>
#include <functional>

namespace tabulo::textops {

// A block of whole lines, both ends included (first <= last). Document lines
// are 0-based; the range must lie inside the line list it is applied to.
struct LineRange {
    std::size_t first = 0;
    std::size_t last = 0;
};

// What a command tells its caller after it has handled one line.
struct Progress {
    std::size_t line = 0;   // 0-based index of the line just handled (before any deletion in this run)
    std::size_t count = 0;  // lines deleted, changed or placed so far
};

// Called after every handled line. Returning false asks the command to stop;
// each command documents what a stopped run leaves. An empty function never stops.
using ProgressFn = std::function<bool(const Progress&)>;

struct LineResult {
    std::size_t count = 0;  // the number the result message reports
    bool stopped = false;   // the run ended early because progress returned false
};

}  // namespace tabulo::textops

namespace tabulo::textops::detail {

// Throws std::out_of_range unless range is a valid block of a list of lineCount lines.
void checkRange(std::size_t lineCount, LineRange range);

}  // namespace tabulo::textops::detail
