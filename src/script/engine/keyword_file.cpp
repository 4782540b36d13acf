#include "script/engine/keyword_file.h"

#include <cstdio>
#include <dirent.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "sjis/ascii_case.h"

namespace tabulo::script {
namespace {

// The Ruby list keeps the entry "false" followed by a full-width full stop
// (Shift-JIS 81 44) as the program has always shipped it.
const std::vector<BuiltInKeywordFile> kBuiltIn{
    {"Awk.kwd", ".awk", {
    "ARGC", "ARGV", "BEGIN", "END", "ENVIRON", "FILENAME", "FNR", "FS", "IGNORECASE", "NF", "NR", "OFMT",
    "OFS", "ORS", "RLENGTH", "RS", "RSTART", "SUBSEP", "atan", "atan2", "break", "close", "continue", "cos",
    "delete", "do", "else", "exit", "exp", "file", "for", "fs", "func", "function", "getline", "gsub", "if",
    "in", "index", "int", "jindex", "jlength", "jsubstr", "length", "log", "match", "next", "print", "printf",
    "rand", "rand()", "return", "sin", "split", "sprintf", "sqrt", "srand", "sub", "substr", "system",
    "tolower", "toupper", "while",
    }},
    {"Ruby.kwd", ".rb", {
    "ARGF", "ARGV", "Array", "BEGIN", "Class", "DATA", "DEBUG", "END", "ENV", "File", "Float", "Hash",
    "Integer", "Marshal", "Math", "Mixin", "Module", "Mutex", "NIL", "Numeric", "Range", "Regexp",
    "Separator", "Stat", "String", "Struct", "Symbol", "Thread", "Time", "VERBOSE", "__FILE__", "__LINE__",
    "__id__", "__send__", "abort", "abs", "alias", "ancestors", "and", "assoc", "at", "at_exit", "atime",
    "autoload", "begin", "binding", "binmode", "block_given", "break", "caller", "capitalize", "case",
    "catch", "ceil", "chomp", "chop", "chr", "class", "clear", "clone", "close", "collect", "compact",
    "concat", "ctime", "current", "def", "default", "defined", "delete", "delete_at", "delete_if", "display",
    "do", "downcase", "dump", "dup", "each", "each_index", "else", "elsif", "empty", "end", "ensure",
    "entries", "eof", "eql", "equal", "eval", "event", "exec", "exit", "extend", "fail", "false",
    "false\x81\x44", "fetch", "file", "fill", "first", "flatten", "floor", "flush", "for", "fork", "format",
    "freeze", "frozen", "getc", "gets", "getwd", "global_variables", "gsub", "hash", "hex", "id", "if", "in",
    "include", "index", "indexes", "indices", "initialize", "inspect", "instance_eval", "instance_of",
    "instance_variables", "intern", "invert", "is_a", "isatty", "iterator?", "join", "kconv", "keys",
    "kind_of", "lambda", "last", "length", "line", "lineno", "link", "load", "local_variables", "loop",
    "lstat", "main", "members", "method", "method_missing", "methods", "module", "mtime", "name", "nesting",
    "new", "next", "nil", "nitems", "not", "now", "oct", "open", "or", "pack", "pass", "path", "pid", "pipe",
    "pop", "pos", "print", "printf", "private", "private_methods", "proc", "protected", "protected_methods",
    "public", "public_methods", "push", "putc", "puts", "pwd", "raise", "rand", "rassoc", "read", "readchar",
    "readline", "readlines", "redo", "reject", "remainder", "rename", "replace", "require", "rescue",
    "respond_to", "retry", "return", "reverse", "reverse_each", "rewind", "rindex", "round", "ruby", "run",
    "scan", "select", "self", "send", "set_trace_func", "setsid", "shift", "singleton_method_added", "size",
    "sleep", "slice", "sort", "split", "sprintf", "sqrt", "srand", "start", "stat", "status", "stderr",
    "stdin", "stdout", "stop", "string", "strip", "sub", "succ", "super", "superclass", "swapcase", "sync",
    "synchronize", "syscall", "system", "taint", "test", "then", "throw", "timeout", "times", "to_a",
    "to_ary", "to_hash", "to_int", "to_s", "to_str", "trace_var", "trap", "true", "type", "undef", "uniq",
    "unless", "unlock", "unshift", "untaint", "until", "upcase", "usec", "values", "wait", "wakeup", "when",
    "while", "yield",
    }},
};

// Spaces and control characters off both ends.
std::string_view trimmed(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
    return text.substr(first, last - first);
}

// The part of the file name from its last dot, "" when it has none.
std::string_view extensionOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

bool hasKeywordExtension(std::string_view name) {
    return name.size() > 4 && sjis::lowerAsciiLetters(name.substr(name.size() - 4)) == ".kwd";
}

// Lines ended by CR LF, LF or CR; a break at the end starts no line.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::optional<std::string> readFile(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return std::nullopt;
    std::string bytes;
    char block[8192];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) bytes.append(block, got);
    if (std::ferror(file.get())) return std::nullopt;
    return bytes;
}

struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

// The "*.kwd" regular files of the folder, in the order it lists them.
std::optional<std::vector<std::string>> keywordFileNames(const std::string& folder) {
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir) return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (!hasKeywordExtension(name)) continue;
        struct stat info {};
        if (::stat((folder + name).c_str(), &info) == 0 && S_ISREG(info.st_mode)) names.push_back(name);
    }
    return names;
}

}  // namespace

const std::vector<BuiltInKeywordFile>& builtInKeywordFiles() { return kBuiltIn; }

std::string keywordFileBytes(const BuiltInKeywordFile& file) {
    std::string bytes(file.extensions);
    bytes += "\r\n";
    for (std::string_view word : file.words) {
        bytes += word;
        bytes += "\r\n";
    }
    return bytes;
}

std::vector<std::string> writeMissingKeywordFiles(const std::string& programFolder) {
    std::vector<std::string> failures;
    for (const BuiltInKeywordFile& file : kBuiltIn) {
        const std::string path = programFolder + std::string(file.fileName);
        if (::access(path.c_str(), F_OK) == 0) continue;
        const std::string bytes = keywordFileBytes(file);
        std::unique_ptr<std::FILE, FileCloser> out(std::fopen(path.c_str(), "wb"));
        bool written = out && std::fwrite(bytes.data(), 1, bytes.size(), out.get()) == bytes.size();
        if (out) written = std::fclose(out.release()) == 0 && written;
        if (!written) {
            ::unlink(path.c_str());  // no half-written list for the next load
            failures.push_back("can't open " + path);
        }
    }
    return failures;
}

std::vector<std::string> loadKeywords(const std::string& scriptPath, const std::string& programFolder) {
    const std::string_view extension = extensionOf(scriptPath);
    // Without an extension the key "," would be found in every file's list.
    if (extension.empty()) return {};
    const std::string key = sjis::lowerAsciiLetters(extension) + ",";
    const KeywordFileError error(programFolder + "*.KWD が異常です(File Err)！");
    const std::optional<std::vector<std::string>> names = keywordFileNames(programFolder);
    if (!names) throw error;
    for (const std::string& name : *names) {
        const std::optional<std::string> bytes = readFile(programFolder + name);
        if (!bytes) throw error;
        const std::vector<std::string_view> lines = splitLines(*bytes);
        if (lines.empty()) continue;
        const std::string served = sjis::lowerAsciiLetters(std::string(trimmed(lines.front())) + ",");
        if (served.find(key) == std::string::npos) continue;
        std::vector<std::string> words;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            if (!lines[i].empty()) words.emplace_back(lines[i]);
        }
        return words;
    }
    return {};
}

}  // namespace tabulo::script
