// Keyword files: text files "*.kwd" in the program folder whose first line
// lists the script extensions they serve (".awk", or ".rb, .ruby") and
// whose further lines are the reserved words the script editor colours.
// Two of them are built in and written when missing; a script's keywords
// come from the first file, in folder order, that serves its extension.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tabulo::script {

// Reading a keyword file or listing the folder failed; the message is the
// one the user is shown.
class KeywordFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct BuiltInKeywordFile {
    std::string_view fileName;   // "Awk.kwd"
    std::string_view extensions; // the first line
    std::vector<std::string_view> words;  // Shift-JIS bytes
};

// "Awk.kwd" and "Ruby.kwd".
const std::vector<BuiltInKeywordFile>& builtInKeywordFiles();

// The file's bytes: the first line, then one word a line, each line ended
// by CR LF.
std::string keywordFileBytes(const BuiltInKeywordFile& file);

// Writes each built-in file that `programFolder` (ending in '/') does not
// hold yet. Returns one message "can't open <path>" for each file that
// could not be created; the others are still written.
std::vector<std::string> writeMissingKeywordFiles(const std::string& programFolder);

// The reserved words for a script: the lines after the first of the first
// "*.kwd" file (in the order the folder lists them) whose first line,
// trimmed, with "," appended and in lower case, contains the script's
// extension followed by "," in lower case. Empty when no file serves it or
// the script has no extension. Throws KeywordFileError
// "<programFolder>*.KWD が異常です(File Err)！" when the folder or a file
// cannot be read.
std::vector<std::string> loadKeywords(const std::string& scriptPath, const std::string& programFolder);

}  // namespace tabulo::script
