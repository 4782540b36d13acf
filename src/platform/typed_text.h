// Text the user typed into a dialog, as the Shift-JIS bytes a document
// holds. Like all text coming in, nothing of it is dropped: a character with
// no Shift-JIS form becomes the geta mark 〓, and the user is told how many
// did and which was the first.
#pragma once

#include <QString>
#include <string>

namespace tabulo::platform {

// The Shift-JIS form of text (the JIS look-alikes such as U+301C included,
// decomposed characters composed as incoming_text.h does).
std::string sjisOfTypedText(const QString& text);

// How messages name a character: "U+00E9", "U+1F600".
QString unicodeName(char32_t codePoint);

}  // namespace tabulo::platform
