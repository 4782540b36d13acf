// Text that comes into a document from outside the program: an input
// method's commit, typed keys, a paste, a drop of text. Nothing of it is
// ever dropped: a character sequence with no Shift-JIS form is first
// composed (NFC, so か followed by the combining voiced mark becomes が),
// and what still has none becomes the geta mark 〓, counted so the caller
// can tell the user.
#pragma once

#include <QString>
#include <cstddef>
#include <string>

namespace tabulo::platform {

struct IncomingText {
    std::string sjis;
    std::size_t replaced = 0;  // characters that became 〓
};

// Each base character with its combining marks converts as it stands when
// it has a Shift-JIS form, so characters that normalisation would change
// (the compatibility ideographs of the IBM rows) keep their own codes; only
// the others are normalised to NFC before the geta mark stands in.
IncomingText sjisOfIncomingText(const QString& text);

// The user-visible note for replaced characters, empty when none were.
QString replacedCharactersNote(std::size_t replaced);

}  // namespace tabulo::platform
