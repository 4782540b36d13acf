/* libjconvert: the kanji code unit for C callers, under the same names as
 * its C++ interface (kanji/jconvert.h). Callers include <jconvert.h>;
 * pkg-config and CMake name the library jconvert.
 *
 * Texts are byte strings given as pointer and length: they may hold NUL
 * bytes, and the pointer may be NULL when the length is 0.
 *
 * Who frees what: a function that returns text returns a new buffer from
 * malloc() holding *resultLength bytes plus a terminating NUL; the caller
 * owns it and releases it with free(). resultLength may be NULL when the
 * caller needs no length (the text then ends at the first NUL).
 *
 * Errors: the conversions themselves never fail (bytes that fit no rule are
 * carried over as they come). A text function returns NULL, and leaves
 * *resultLength alone, only when memory runs out or when text is NULL with a
 * length above 0. No C++ exception ever leaves a function of this header.
 * The functions keep no state, so any thread may call them at any time.
 *
 * Code values (0 to 6) and line-break values (0 to 3):
 *   0 no kanji code (7-bit bytes only)   1 binary   2 JIS, ESC $ B
 *   3 JIS, ESC $ @   4 EUC   5 Shift-JIS   6 EUC or Shift-JIS, undecided
 *   line breaks: 0 none, 1 CR LF, 2 CR, 3 LF */
#ifndef TABULO_JCONVERT_JCONVERT_H
#define TABULO_JCONVERT_JCONVERT_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* How many leading bytes the binary test of InCodeCheck examines (512). */
extern const int STRICT_CHECK_LEN;

/* The code of text; 0 for a NULL text. */
int InCodeCheck(const char* text, size_t length);

/* One character: the two result bytes are written to out, which must hold
 * two bytes. */
void ToSjis(unsigned char row, unsigned char cell, unsigned char out[2]);
void ToJis(unsigned char lead, unsigned char trail, unsigned char out[2]);

char* jis2euc(const char* text, size_t length, size_t* resultLength);
char* jis2sjis(const char* text, size_t length, size_t* resultLength);
char* euc2jis83(const char* text, size_t length, size_t* resultLength);
char* sjis2jis83(const char* text, size_t length, size_t* resultLength);
char* euc2sjis(const char* text, size_t length, size_t* resultLength);
char* sjis2euc(const char* text, size_t length, size_t* resultLength);
char* ConvertJCode(const char* text, size_t length, int target, size_t* resultLength);
char* StrictConvertJCode(const char* text, size_t length, int source, int target,
                         size_t* resultLength);

/* The line-break convention of text; 0 for a NULL text. */
int ReturnCodeCheck(const char* text, size_t length);
char* ConvertReturnCode(const char* text, size_t length, int target, size_t* resultLength);
char* StrictConvertReturnCode(const char* text, size_t length, int source, int target,
                              size_t* resultLength);

char* EncodeBase64(const char* data, size_t length, size_t* resultLength);
char* EncodeBase64R(const char* data, size_t length, const char* separator,
                    size_t separatorLength, size_t* resultLength);
char* EncodeUU(const char* data, size_t length, const char* separator, size_t separatorLength,
               size_t* resultLength);
char* EncodeBinHex(const char* data, size_t length, const char* separator,
                   size_t separatorLength, size_t* resultLength);
char* DecodeBase64(const char* text, size_t length, size_t* resultLength);
char* DecodeUU(const char* text, size_t length, size_t* resultLength);
char* DecodeBinHex(const char* text, size_t length, size_t* resultLength);

char* CreateHeaderString(const char* sjisText, size_t length, size_t* resultLength);
char* DecodeHeaderString(const char* text, size_t length, size_t* resultLength);

#ifdef __cplusplus
}
#endif

#endif
