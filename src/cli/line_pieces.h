// Reads an input as pieces of lines, for the subcommands that stream within
// a line (conv, decode): a line longer than the block comes in several
// pieces, so memory stays bounded by the block however long a line is, an
// endless one included. A CR at a block's end waits for the next block to
// tell a CR LF from a lone CR.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "cli/input_file.h"
#include "cli/invocation.h"
#include "cli/output_writer.h"

namespace tabulo::cli {

struct LinePiece {
    std::string_view text;  // valid until the next call; never holds a break
    bool endsLine = false;  // the line ends after text
    LineBreak lineBreak = LineBreak::None;  // how it ends; None for a last line without a break
};

class LinePieceReader {
public:
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

    explicit LinePieceReader(InputFile& file, std::size_t blockSize = kBlockSize);

    // The next piece; false at the end. An empty input has no pieces; every
    // line's last piece has endsLine (an empty piece when the input ends in
    // the middle of a line).
    bool next(LinePiece& piece);

private:
    // Reads the next block behind the held bytes; false at the end.
    bool fill();

    InputFile& m_file;
    std::string m_buffer;
    std::size_t m_begin = 0;  // first byte not handed out
    std::size_t m_end = 0;    // one past the last byte read
    bool m_eof = false;
    bool m_inLine = false;  // bytes of a line without its end were handed out
};

// Runs fn(pieceText, endsLine, result) over the pieces of the input at path
// ("-" for standard input); fn appends to result, which goes out after each
// piece, and a line that ended with a break gets the input's first break,
// as the line-wise subcommands write their lines.
template <class Fn>
void filterLinePieces(Invocation& call, const std::string& path, Fn&& fn) {
    InputFile file(path);
    LinePieceReader reader(file);
    std::string_view lineBreak;
    std::string result;
    LinePiece piece;
    while (reader.next(piece)) {
        result.clear();
        fn(piece.text, piece.endsLine, result);
        if (piece.lineBreak != LineBreak::None) {
            if (lineBreak.empty()) lineBreak = lineBreakBytes(piece.lineBreak);
            result.append(lineBreak);
        }
        call.out().write(result);
    }
}

}  // namespace tabulo::cli
