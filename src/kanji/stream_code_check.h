// Kanji code detection of a text that arrives in pieces (a file read in
// blocks), giving exactly what InCodeCheck gives for the whole text while
// holding only the bytes since the last place where its scan is sure to
// start afresh. It stops as soon as the code is decided.
#pragma once

#include <string>
#include <string_view>

namespace tabulo::kanji {

class StreamCodeCheck {
public:
    // Adds the next bytes of the text. True once the code is decided: no
    // further byte can change it.
    bool feed(std::string_view bytes);

    // The code of the whole text fed (InCodeCheck's values).
    int finish();

private:
    void check(std::string_view chunk);

    // Bytes not yet checked. After the first chunk they follow a run of
    // spaces that fills InCodeCheck's binary test, which the first chunk
    // alone stands for.
    std::string m_held;
    bool m_first = true;
    bool m_undecided = false;
    int m_decided = 0;
};

}  // namespace tabulo::kanji
