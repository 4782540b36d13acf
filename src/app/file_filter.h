// The file filter of the main window's open and save dialogs and of the grep
// command's file dialog: four entries of description and patterns.
#pragma once

#include <QString>

namespace tabulo::app {

inline QString mainFileFilter() {
    return QStringLiteral(
        "テキストファイル(*.txt *.doc *.htm* *.ini *.ssm)|*.txt;*.doc;*.htm*;*.ini;*.ssm|"
        "スクリプトファイル(*.awk *.rb *.sed *.xtr)|*.awk;*.rb;*.sed;*.xtr|"
        "Ｃファイル(*.cpp *.c *.h *.hpp *.mak)|*.CPP;*.C;*.H;*.HPP;*.MAK|"
        "すべてのファイル（*.*）|*.*");
}

// The entry "すべてのファイル（*.*）".
constexpr int kAllFilesFilterEntry = 3;

}  // namespace tabulo::app
