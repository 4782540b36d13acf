// The save dialog of the graph window's pictures and its rules: a missing
// extension becomes ".JPG", only JPEG and BMP names are taken, and an
// existing file is replaced only after the user agrees.
#pragma once

#include <QString>

namespace tabulo::graph {

inline constexpr const char* kPictureSaveFilter = "Jprg(*.jpg *.jpeg)|*.jpg;*.jpeg|BMP(*.bmp)|*.bmp";

// The name to save under, or an empty string when nothing is to be saved.
QString askPictureSaveName();

}  // namespace tabulo::graph
