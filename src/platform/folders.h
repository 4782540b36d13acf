// Where the program keeps its files. The program folder holds the INI file,
// the settings file, keyword files and the auto-backup; the work folder holds
// the fixed-name work files of scripts and reports. Both are returned with a
// trailing '/' and created on first use.
#pragma once

#include <string>

namespace tabulo::platform {

// $TABULO_HOME when set, else $XDG_CONFIG_HOME/tabulo, else
// ~/.config/tabulo. Throws std::runtime_error when it cannot be created.
std::string programFolder();

// $XDG_RUNTIME_DIR/tabulo when XDG_RUNTIME_DIR is set, else
// ${TMPDIR:-/tmp}/tabulo-<uid>; a private folder (mode 0700) because the work
// files have fixed names another user could otherwise plant or read. Throws
// std::runtime_error when the folder cannot be created, or exists but is not
// a real directory owned by this user (a mode other than 0700 on our own
// folder is repaired first).
std::string workFolder();

// The program file's name, shown in captions and box titles.
std::string programFileName();

}  // namespace tabulo::platform
