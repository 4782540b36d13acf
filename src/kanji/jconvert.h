// The public C++ interface of the kanji code unit: code detection and
// conversion, line breaks, the mail encodings and MIME header words. C
// callers use libjconvert (jconvert/jconvert.h), which exports the same names.
#pragma once

#include "kanji/header_string.h"
#include "kanji/kanji_code.h"
#include "kanji/mail_encoding.h"
#include "kanji/return_code.h"
