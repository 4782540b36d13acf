// Deleting one line at a time from a vector would make a long range quadratic.
// The walk only marks lines, then the survivors are moved together once. That
// gives the same result as deleting during the walk: each decision looks at
// lines above the current one, which no deletion below it has moved.
#include "textops/line_delete.h"

#include <utility>

#include "textops/trim_blanks.h"

namespace tabulo::textops {

namespace {

template <class ShouldDelete>
LineResult deleteLines(std::vector<std::string>& lines, LineRange range, const ProgressFn& progress,
                       ShouldDelete shouldDelete) {
    detail::checkRange(lines.size(), range);
    std::vector<bool> doomed(range.last - range.first + 1, false);
    LineResult result;
    for (std::size_t j = range.last + 1; j-- > range.first;) {
        if (shouldDelete(j)) {
            doomed[j - range.first] = true;
            ++result.count;
        }
        if (progress && !progress({j, result.count})) {
            result.stopped = true;
            break;
        }
    }
    std::size_t kept = range.first;
    for (std::size_t i = range.first; i < lines.size(); ++i) {
        if (i <= range.last && doomed[i - range.first]) continue;
        if (kept != i) lines[kept] = std::move(lines[i]);
        ++kept;
    }
    lines.resize(kept);
    return result;
}

}  // namespace

LineResult deleteDuplicateLines(std::vector<std::string>& lines, LineRange range, const ProgressFn& progress) {
    return deleteLines(lines, range, progress, [&lines](std::size_t j) { return j > 0 && lines[j - 1] == lines[j]; });
}

LineResult deleteBlankLines(std::vector<std::string>& lines, LineRange range, const ProgressFn& progress) {
    return deleteLines(lines, range, progress, [&lines](std::size_t j) { return isBlankLine(lines[j]); });
}

}  // namespace tabulo::textops
