// TREPreProcessor rewrites the ordinary characters of a pattern into groups
// of interchangeable spellings taken from dictionaries, before parsing.
// Class members and metacharacters are left as written.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "regex/dictionary.h"

namespace tabulo::regex {

class TREPreProcessor {
public:
    void setPattern(std::string pattern) { m_pattern = std::move(pattern); }
    const std::string& pattern() const { return m_pattern; }

    // Runs the synonym rewrite (when on), then the fuzzy rewrite (when on).
    void run();
    const std::string& rewritten() const { return m_rewritten; }

    bool UseFuzzyCharDic() const { return m_useFuzzy; }
    void SetUseFuzzyCharDic(bool on) { m_useFuzzy = on; }
    bool UseSynonymDic() const { return m_useSynonym; }
    void SetUseSynonymDic(bool on) { m_useSynonym = on; }

    // Dictionaries are not owned; they must outlive the preprocessor.
    std::vector<const Dictionary*>& fuzzyDictionaries() { return m_fuzzy; }
    std::vector<const Dictionary*>& synonymDictionaries() { return m_synonym; }

    // One rewrite of a pattern with a list of dictionaries.
    static std::string rewrite(const std::string& pattern, const std::vector<const Dictionary*>& dictionaries);

private:
    std::string m_pattern;
    std::string m_rewritten;
    bool m_useFuzzy = false;
    bool m_useSynonym = false;
    std::vector<const Dictionary*> m_fuzzy;
    std::vector<const Dictionary*> m_synonym;
};

}  // namespace tabulo::regex
