// Text the user typed into a dialog, as the Shift-JIS bytes a document
// holds. A character with no Shift-JIS form is never turned into something
// else behind the user's back: it is reported and the text refused.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace tabulo::platform {

// The Shift-JIS form of text (the JIS look-alikes such as U+301C included,
// decomposed characters composed as incoming_text.h does),
// or std::nullopt after telling the user through the prompts how many
// characters have no Shift-JIS form and which is the first.
std::optional<std::string> sjisOfTypedText(const QString& text);

// How messages name a character: "U+00E9", "U+1F600".
QString unicodeName(char32_t codePoint);

}  // namespace tabulo::platform
