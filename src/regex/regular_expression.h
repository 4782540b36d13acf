// TRegularExpression holds a pattern, its dictionary switches and a cache of
// the 30 most recently compiled automata, so that going back to a recent
// pattern costs no compilation. Derived classes choose the anchor codes and
// how they search.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "regex/re_dfa.h"
#include "regex/re_pre_processor.h"

namespace tabulo::regex {

class TRegularExpression {
public:
    static constexpr std::size_t kCacheCapacity = 30;

    TRegularExpression();
    virtual ~TRegularExpression();
    TRegularExpression(const TRegularExpression&) = delete;
    TRegularExpression& operator=(const TRegularExpression&) = delete;

    const std::string& RegExp() const { return m_regExp; }
    // Rewrites, looks up or compiles, and makes the pattern current. On a
    // pattern error the empty pattern becomes current and the error is raised.
    virtual void SetRegExp(const std::string& pattern);

    bool UseFuzzyCharDic() const { return m_pre.UseFuzzyCharDic(); }
    void SetUseFuzzyCharDic(bool on);
    bool UseSynonymDic() const { return m_pre.UseSynonymDic(); }
    void SetUseSynonymDic(bool on);

    std::vector<const Dictionary*>& fuzzyDictionaries() { return m_pre.fuzzyDictionaries(); }
    std::vector<const Dictionary*>& synonymDictionaries() { return m_pre.synonymDictionaries(); }

    // The current automaton.
    const TRE_DFA& dfa() const { return *m_cache[m_current].second; }
    Code lineHeadCodeInUse() const { return m_headCode; }
    Code lineTailCodeInUse() const { return m_tailCode; }

protected:
    // Parses and builds the automaton for a rewritten pattern into the current
    // cache pair.
    virtual void Compile(const std::string& text);
    virtual Code LineHeadCode() const { return kDefaultLineHeadCode; }
    virtual Code LineTailCode() const { return kDefaultLineTailCode; }

private:
    void dropCurrentPair();

    std::string m_regExp;
    TREPreProcessor m_pre;
    std::vector<std::pair<std::string, std::unique_ptr<TRE_DFA>>> m_cache;
    std::size_t m_current = 0;
    Code m_headCode = kDefaultLineHeadCode;
    Code m_tailCode = kDefaultLineTailCode;
};

}  // namespace tabulo::regex
