/* The kanji code unit for C callers: the same names as the C++ interface in
 * jconvert.h. Texts are byte strings given as pointer and length (they may
 * hold NUL bytes). A function that returns text returns a buffer from malloc
 * holding *resultLength bytes plus a terminating NUL, to be released with
 * free(); it returns NULL only when memory runs out. resultLength may be
 * NULL. Code values (0 to 6) and line-break values (0 to 3) are those of
 * kanji_code.h and return_code.h. */
#ifndef TABULO_KANJI_JCONVERT_C_H
#define TABULO_KANJI_JCONVERT_C_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* How many leading bytes the binary test of InCodeCheck examines (512). */
extern const int STRICT_CHECK_LEN;

int InCodeCheck(const char* text, size_t length);

/* One character: the two result bytes are written to out. */
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
