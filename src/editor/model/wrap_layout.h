// Cutting one logical line into display rows (soft wrap) with the Japanese
// line-break rules: no double-byte character is split, listed characters may
// not start or end a row, punctuation may hang past the wrap column, and
// single-byte text may break at delimiters. Rows are byte ranges of the line.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "editor/model/editor_wrap_option.h"

namespace tabulo::editor {

struct WrappedRow {
    std::size_t begin;  // byte range of the line
    std::size_t end;
    bool lineEnd;       // the row ends the line (else it continues on the next row)
};

// The rows of `line` wrapped at options.WrapByte columns. Always at least one
// row; the bytes of the line are distributed over the rows in order.
std::vector<WrappedRow> wrapLine(std::string_view line, const TEditorWrapOption& options,
                                 int tabSize);

// Number of rows wrapLine would give.
int wrappedRowCount(std::string_view line, const TEditorWrapOption& options, int tabSize);

}  // namespace tabulo::editor
