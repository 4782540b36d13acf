// File names as bytes: every byte string survives the trip through a QString
// path, names that are not UTF-8 are shown read as Shift-JIS, and dropped
// file URLs keep their bytes.
#include <gtest/gtest.h>

#include "platform/local_path.h"
#include "qstring_printer.h"

using tabulo::platform::displayPath;
using tabulo::platform::fromLocalFileUrl;
using tabulo::platform::fromLocalPath;
using tabulo::platform::toLocalPath;

TEST(LocalPath, EveryByteStringComesBackUnchanged) {
    const std::string cases[] = {
        "/tmp/plain.txt",
        "/tmp/\xE8\xA1\xA8.txt",              // 表 in UTF-8 stays a real character
        "/tmp/\x95\x5C.txt",                  // 表 in Shift-JIS
        "/tmp/\x82\xA0\x82\xA2/\x83\x65.txt",  // Shift-JIS folder and file
        "\xED\xA0\x80|\xC0\xAF|\xF4\x90\x80\x80|\xE8\xA1",  // surrogate, overlong, too large, cut off
        "/tmp/\xF0\x9F\x98\x80\x80",          // a 4-byte character, then a stray byte
    };
    for (const std::string& bytes : cases) {
        EXPECT_EQ(toLocalPath(fromLocalPath(bytes)), bytes) << bytes;
    }
    EXPECT_EQ(fromLocalPath("/tmp/\xE8\xA1\xA8.txt"), QStringLiteral("/tmp/表.txt"));
    // Every single byte too.
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(toLocalPath(fromLocalPath(one)), one) << b;
    }
}

TEST(LocalPath, NamesThatAreNotUtf8AreShownAsShiftJis) {
    EXPECT_EQ(displayPath(fromLocalPath("/home/\xE6\x96\x87\xE6\x9B\xB8/\x95\x5C.txt")),
              QStringLiteral("/home/文書/表.txt"));
    EXPECT_EQ(displayPath(QStringLiteral("/tmp/a.txt")), QStringLiteral("/tmp/a.txt"));
}

TEST(LocalPath, DroppedFileUrlsKeepTheirBytes) {
    EXPECT_EQ(toLocalPath(fromLocalFileUrl(QUrl(QStringLiteral("file:///tmp/%95%5C.txt")))), "/tmp/\x95\x5C.txt");
    EXPECT_EQ(fromLocalFileUrl(QUrl(QStringLiteral("file:///tmp/%E8%A1%A8%20a.txt"))), QStringLiteral("/tmp/表 a.txt"));
    EXPECT_EQ(fromLocalFileUrl(QUrl::fromLocalFile(QStringLiteral("/tmp/表 #1.txt"))), QStringLiteral("/tmp/表 #1.txt"));
}
