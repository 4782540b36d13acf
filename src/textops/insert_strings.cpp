// Insertion at a column over the lines of a range.
#include "textops/insert_strings.h"

#include "textops/columns.h"

namespace tabulo::textops {

LineResult insertStrings(std::vector<std::string>& lines, LineRange range, const InsertSequence& sequence,
                         const InsertOptions& options, const ProgressFn& progress) {
    detail::checkRange(lines.size(), range);
    const std::optional<std::size_t> limit = sequence.length();
    LineResult result;
    for (std::size_t i = range.first; i <= range.last; ++i) {
        std::string& line = lines[i];
        if (options.intoEmptyLines || !line.empty()) {
            if (const std::optional<std::size_t> at = insertionOffsetAtColumn(line, options.column)) {
                ++result.count;
                line.insert(*at, sequence.at(result.count));
                if (limit && result.count >= *limit) break;
            }
        }
        if (progress && !progress({i, result.count})) {
            result.stopped = true;
            break;
        }
    }
    return result;
}

}  // namespace tabulo::textops
