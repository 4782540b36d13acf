// Searching a long text piece by piece: the matches are those of one search
// over the whole text, also where a match crosses from one piece into the
// next, a line head starts a piece or a zero byte lies in between; the
// caller is asked between pieces and its stop ends the search and the
// replacement.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "search/engine/paced_search.h"
#include "search/engine/replace_all.h"

using tabulo::search::PacedSearch;
using tabulo::search::SearchOptions;
using tabulo::search::TextMatch;
using tabulo::search::TextMatcher;

namespace {

constexpr SearchOptions kRegexp{.soRegexp = true};

// About three megabytes of lines "d..c" of varying length, so that every
// line break lies between a c and a d; one zero byte and one 表 among them.
const std::string& longText() {
    static const std::string text = [] {
        std::string t;
        for (int i = 0; t.size() < 3'000'000; ++i) {
            t += 'd';
            t.append(static_cast<std::size_t>(i % 97), 'x');
            if (i == 5000) t += std::string("\0", 1);
            if (i == 50000) t += "\x95\x5C";
            t += "c\r\n";
        }
        return t;
    }();
    return text;
}

std::vector<TextMatch> allMatches(const TextMatcher& matcher, const std::string& text) {
    std::vector<TextMatch> out;
    for (auto m = matcher.find(text, 0); m; m = matcher.find(text, m->end())) out.push_back(*m);
    return out;
}

TEST(PacedSearchTest, FindsWhatOneSearchOverTheWholeTextFinds) {
    for (const char* pattern : {"c\\r\\nd", "^dx*", "xc$", "dx*c", "\x95\x5C" "c\\r\\n"}) {
        SCOPED_TRACE(pattern);
        const TextMatcher matcher(pattern, kRegexp);
        std::vector<std::size_t> asked;
        PacedSearch search(matcher, longText(), [&](std::size_t done, std::size_t total) {
            EXPECT_EQ(total, longText().size());
            asked.push_back(done);
            return true;
        });
        std::vector<TextMatch> paced;
        for (auto m = search.find(0); m; m = search.find(m->end())) paced.push_back(*m);
        EXPECT_FALSE(search.stopped());
        const std::vector<TextMatch> whole = allMatches(matcher, longText());
        ASSERT_FALSE(whole.empty());
        EXPECT_EQ(paced, whole);
        EXPECT_GE(asked.size(), 3u);  // once at the start, then after every megabyte or so
        EXPECT_TRUE(std::is_sorted(asked.begin(), asked.end()));
    }
}

TEST(PacedSearchTest, AStopEndsTheSearchAndTheReplacement) {
    const TextMatcher matcher("\x95\x5C", kRegexp);  // one match, near the end
    int questions = 0;
    const auto stopAtTheSecond = [&](std::size_t, std::size_t) { return ++questions < 2; };
    PacedSearch search(matcher, longText(), stopAtTheSecond);
    EXPECT_EQ(search.find(0), std::nullopt);
    EXPECT_TRUE(search.stopped());
    EXPECT_EQ(search.find(0), std::nullopt);  // stays stopped
    EXPECT_EQ(questions, 2);

    questions = 0;
    std::string out;
    EXPECT_EQ(tabulo::search::replaceMatches(TextMatcher("c\\r\\n", kRegexp), longText(), "", out, stopAtTheSecond),
              std::nullopt);
    questions = -100;
    out.clear();
    EXPECT_GT(*tabulo::search::replaceMatches(TextMatcher("c\\r\\n", kRegexp), longText(), "", out, stopAtTheSecond),
              30'000u);
}

}  // namespace
