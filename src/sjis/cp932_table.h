// The Shift-JIS (CP932, with the NEC and IBM extensions) <-> Unicode table,
// generated once from the C library's CP932 converter by
// scripts/gen_cp932_table.py and committed, so the program agrees with that
// converter code for code without calling it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tabulo::sjis::cp932 {

struct CodePair {
    std::uint16_t from;
    std::uint16_t to;
};

// Every code (byte, or lead * 256 + trail) that has a Unicode form, with it.
extern const CodePair kDecoding[];
extern const std::size_t kDecodingSize;

// Every BMP character that has a Shift-JIS form, with the code chosen for it
// (for characters several codes share, the converter's choice; it also takes
// the JIS look-alikes such as U+301C WAVE DASH).
extern const CodePair kEncoding[];
extern const std::size_t kEncodingSize;

}  // namespace tabulo::sjis::cp932
