// The icon of each tool button, by freedesktop icon names.
#pragma once

#include <QIcon>
#include <string_view>

namespace tabulo::app {

// The first of the button's icon names the current theme (or its fallback)
// has; a null icon when it has none, and the button then shows its glyph.
QIcon toolButtonIcon(std::string_view buttonName);

}  // namespace tabulo::app
