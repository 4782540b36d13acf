/* A caller of the installed libjconvert: converts standard input to the
 * kanji code named by its argument (jis, euc or sjis) with ConvertJCode and
 * writes the result to standard output. It is built as C through pkg-config
 * and as C++ through find_package(jconvert), so the installed header serves
 * both. Exit status 0, or 1 when the library gives no result. */
#include <jconvert.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int targetCode(const char* name) {
    if (strcmp(name, "jis") == 0) return 2;
    if (strcmp(name, "euc") == 0) return 4;
    if (strcmp(name, "sjis") == 0) return 5;
    return -1;
}

int main(int argc, char** argv) {
    char* input = NULL;
    size_t length = 0;
    size_t capacity = 0;
    size_t got = 0;
    char* output = NULL;
    size_t outputLength = 0;
    int target = argc == 2 ? targetCode(argv[1]) : -1;
    if (target < 0) {
        fprintf(stderr, "usage: convert_stdin jis|euc|sjis < in > out\n");
        return 2;
    }
    do {
        if (length == capacity) {
            char* larger;
            capacity = capacity == 0 ? 4096 : capacity * 2;
            larger = (char*)realloc(input, capacity);
            if (larger == NULL) return 1;
            input = larger;
        }
        got = fread(input + length, 1, capacity - length, stdin);
        length += got;
    } while (got > 0);

    output = ConvertJCode(input, length, target, &outputLength);
    free(input);
    if (output == NULL) return 1;
    fwrite(output, 1, outputLength, stdout);
    free(output);
    return 0;
}
