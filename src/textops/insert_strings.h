// The "行に文字列を挿入" command: puts the texts of an InsertSequence into the
// lines of a range at one byte column.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "textops/insert_sequence.h"
#include "textops/line_command.h"

namespace tabulo::textops {

struct InsertOptions {
    std::size_t column = 0;      // byte column (see columns.h) where the text starts
    bool intoEmptyLines = true;  // "空行も挿入"
};

// Walks the range from first to last. An empty line is skipped unless
// intoEmptyLines; a line shorter than the column is skipped; every other line
// gets the sequence's text for k (k counting the lines processed, from 1) at
// the column, appended when the line is exactly that long. A skipped line does
// not advance k. A limited sequence stops after its last member and leaves the
// following lines alone. count is k at the end; an empty fixed string changes
// nothing but still counts the lines it visited. Progress is reported after
// every line visited; a stopped run keeps the insertions made so far.
LineResult insertStrings(std::vector<std::string>& lines, LineRange range, const InsertSequence& sequence,
                         const InsertOptions& options, const ProgressFn& progress = {});

}  // namespace tabulo::textops
