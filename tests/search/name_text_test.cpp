// File names between the file system's UTF-8 and the documents' Shift-JIS:
// converted where both sides have the character, kept as bytes elsewhere.
#include <gtest/gtest.h>

#include "search/engine/name_text.h"
#include "support/show_bytes.h"

namespace tabulo::search {
namespace {

using testing::showBytes;

TEST(NameText, ConvertsWhereItCanAndKeepsTheRest) {
    const struct {
        std::string fileName;  // UTF-8
        std::string document;  // Shift-JIS
    } cases[] = {
        {"/home/u/a.txt", "/home/u/a.txt"},
        {"/tmp/\xE8\xA1\xA8\xE3\x81\x82.txt", "/tmp/\x95\x5C\x82\xA0.txt"},  // 表あ
        {"/tmp/\xEF\xBD\xB1", "/tmp/\xB1"},                                  // half-width ｱ
    };
    for (const auto& c : cases) {
        EXPECT_EQ(showBytes(documentTextOfFileName(c.fileName)), showBytes(c.document)) << c.fileName;
        EXPECT_EQ(showBytes(fileNameOfDocumentText(c.document)), showBytes(c.fileName)) << c.fileName;
    }
    // A character with no Shift-JIS form keeps its UTF-8 bytes in the document.
    EXPECT_EQ(showBytes(documentTextOfFileName("/tmp/\xF0\x9F\x98\x80")), showBytes("/tmp/\xF0\x9F\x98\x80"));
    // Bytes that are neither UTF-8 nor Shift-JIS pass both ways unchanged.
    EXPECT_EQ(showBytes(documentTextOfFileName("/tmp/\xFF\x80")), showBytes("/tmp/\xFF\x80"));
    EXPECT_EQ(showBytes(fileNameOfDocumentText("/tmp/\xFF\x80")), showBytes("/tmp/\xFF\x80"));
}

}  // namespace
}  // namespace tabulo::search
