// Detection and conversion of line-break conventions in byte strings, part of
// the kanji code unit's exported interface (jconvert/jconvert.h has the C forms).
#pragma once

#include <string>
#include <string_view>

namespace tabulo::kanji {

// Line-break values: the numbers are the exported interface.
inline constexpr int kReturnNone = 0;
inline constexpr int kReturnCrLf = 1;
inline constexpr int kReturnCr = 2;
inline constexpr int kReturnLf = 3;

// The convention of the first CR or LF of text.
int ReturnCodeCheck(std::string_view text);

// Replaces every line break of the detected convention by that of target; a
// target other than 1, 2 and 3 removes the breaks. Text whose convention is
// none or already the target is returned as it is.
std::string ConvertReturnCode(std::string_view text, int target);
// The same from a given convention, without detection.
std::string StrictConvertReturnCode(std::string_view text, int source, int target);

}  // namespace tabulo::kanji
