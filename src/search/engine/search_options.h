// The options of a text search: the editor's `SearchOptions` set. Each flag
// is one check box of the find dialog and one switch of `tabulo-cli replace`.
#pragma once

namespace tabulo::search {

struct SearchOptions {
    bool soMatchCase = false;  // letters must match in case
    bool soWholeWord = false;  // a match may not run on into a word around it
    bool soRegexp = false;     // the pattern is a regular expression
    bool soFuzzy = false;      // kana, width and similar variants match alike
    bool operator==(const SearchOptions&) const = default;
};

}  // namespace tabulo::search
