// The inter-character spacing the editor takes for a font: proportional
// fonts get a few pixels between cells so that their glyphs do not crowd.
#pragma once

#include <string_view>

namespace tabulo::app {

// `fontName` is UTF-8. For a name containing the full-width "Ｐ" or one of
// the proportional Latin faces the program knows, (size - 5) / 3 clamped to
// 0..5; for every other font 0.
int characterSpacingFor(std::string_view fontName, int size);

}  // namespace tabulo::app
