/* Calls of libjconvert written in C, so that jconvert.h is compiled as a C
 * header and the functions are reached through C linkage. */
#include <stdlib.h>
#include <string.h>

#include <jconvert.h>

/* Checks that out holds exactly the expected bytes and a terminating NUL,
 * and releases it. */
static int same(char* out, const size_t* length, const char* expected, size_t expectedLength) {
    /* length is read here, after the call that set it has run. */
    int ok = out != NULL && *length == expectedLength && memcmp(out, expected, *length) == 0 &&
             out[*length] == '\0';
    free(out);
    return ok;
}

/* Returns 0 when every call gives what it should, else the failed check. */
int jconvertCallsFromC(void) {
    size_t n = 0;
    unsigned char pair[2];

    if (STRICT_CHECK_LEN != 512) return 1;
    if (InCodeCheck("\x82\xA0", 2) != 5) return 2;
    if (InCodeCheck("\xA4\xA2", 2) != 6) return 3;
    ToSjis(0x24, 0x22, pair);
    if (pair[0] != 0x82 || pair[1] != 0xA0) return 4;
    ToJis(0x8A, 0xBF, pair);
    if (pair[0] != 0x34 || pair[1] != 0x41) return 5;
    if (!same(sjis2jis83("\x82\xA0" "A", 3, &n), &n, "\x1B$B$\"\x1B(JA", 9)) return 6;
    if (!same(ConvertJCode("\xA4\xA2\xBB\xFA", 4, 5, &n), &n, "\x82\xA0\x8E\x9A", 4)) return 7;
    if (!same(EncodeUU("abc", 3, "\n", 1, &n), &n, "#86)C\n`\n", 8)) return 8;
    /* Bytes with a NUL among them pass through whole. */
    if (!same(DecodeBase64("AGI=", 4, &n), &n, "\0b", 2)) return 9;
    if (!same(EncodeBase64("\0b", 2, &n), &n, "AGI=", 4)) return 10;
    if (ReturnCodeCheck("a\r\nb", 4) != 1) return 11;
    if (!same(ConvertReturnCode("a\r\nb", 4, 3, &n), &n, "a\nb", 3)) return 12;
    /* The result length is optional. */
    {
        char* out = jis2sjis("\x1B$B$\"\x1B(J", 8, NULL);
        if (out == NULL || strcmp(out, "\x82\xA0") != 0) {
            free(out);
            return 13;
        }
        free(out);
    }
    if (!same(EncodeBase64(NULL, 0, &n), &n, "", 0)) return 14;
    /* A missing text with a length is refused, not read. */
    n = 7;
    if (sjis2euc(NULL, 2, &n) != NULL || n != 7) return 15;
    if (EncodeUU("abc", 3, NULL, 1, &n) != NULL) return 16;
    if (InCodeCheck(NULL, 2) != 0 || ReturnCodeCheck(NULL, 2) != 0) return 17;
    return 0;
}
