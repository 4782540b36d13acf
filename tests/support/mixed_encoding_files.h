// One folder's worth of files in the four kanji codes the grep can detect,
// each holding the same Japanese line 日本語の検索 on a line of its own
// number, among other Japanese lines, for the grep tests over files of any
// encoding.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tabulo::testing {

// 日本語の検索 in Shift-JIS: the pattern, and every listed line.
inline const std::string kMixedHitLine = "\x93\xFA\x96{\x8C\xEA\x82\xCC\x8C\x9F\x8D\xF5";

struct MixedEncodingFile {
    const char* name;
    std::string bytes;
    std::size_t hitLine;
};

inline std::vector<MixedEncodingFile> mixedEncodingFiles() {
    // ほかの行 in each code stands before the hit line.
    const std::string eucOther = "\xA4\xDB\xA4\xAB\xA4\xCE\xB9\xD4";
    const std::string jisOther = "\x1B$B$[$+$N9T\x1B(B";
    const std::string utf8Other = "\xE3\x81\xBB\xE3\x81\x8B\xE3\x81\xAE\xE8\xA1\x8C";
    return {
        {"sjis.txt", kMixedHitLine + "\r\n\x82\xD9\x82\xA9\x82\xCC\x8Ds\r\n", 1},
        {"euc.txt", eucOther + "\n\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xB8\xA1\xBA\xF7\n" + eucOther + "\n", 2},
        {"jis.txt", jisOther + "\r\nascii\r\n\x1B$BF|K\x5C" "8l$N8!:w\x1B(B\r\n", 3},
        // With a byte order mark and no break after the last line.
        {"utf8.txt",
         "\xEF\xBB\xBF" + utf8Other + "\n\n" + utf8Other + "\n\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\xA4\x9C\xE7\xB4\xA2",
         4},
    };
}

}  // namespace tabulo::testing
