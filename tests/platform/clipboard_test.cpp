// The clipboard exchange through the real QClipboard (offscreen platform):
// the program's own copies come back byte for byte, foreign text is
// converted, and the box flag travels with the text.
#include "platform/clipboard.h"
#include "sjis/sjis_char.h"

#include "sjis/sjis_codec.h"
#include "qstring_printer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

namespace tabulo::platform {
namespace {

QString unicodeOf(const std::string& sjis)
{
    const std::u16string units = sjis::SjisCodec::instance().toUtf16(sjis);
    return QString(reinterpret_cast<const QChar*>(units.data()), static_cast<qsizetype>(units.size()));
}

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override { QGuiApplication::clipboard()->clear(); }
    void TearDown() override { QGuiApplication::clipboard()->clear(); }
};

TEST_F(ClipboardTest, EveryDoubleByteCodeComesBackWithItsOwnBytes)
{
    // All mapped codes, including those that share a Unicode character with
    // another code, in lines of 32 characters.
    std::string document;
    int onLine = 0;
    for (unsigned code = 0x8140; code <= 0xFCFC; ++code) {
        if (!sjis::isLeadByte(static_cast<unsigned char>(code >> 8))
            || !sjis::isTrailByte(static_cast<unsigned char>(code & 0xFF))
            || sjis::SjisCodec::instance().charToUtf16(code) == u'\uFFFD') {
            continue;
        }
        document += static_cast<char>(code >> 8);
        document += static_cast<char>(code & 0xFF);
        if (++onLine == 32) {
            document += "\r\n";
            onLine = 0;
        }
    }
    document += "abc \xB1\xB2\xB3";

    setClipboardText(document, false);
    // Other programs get the desktop's LF line breaks.
    EXPECT_EQ(QGuiApplication::clipboard()->text(), unicodeOf(document).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_TRUE(clipboardHasText());
    const auto back = clipboardText();
    ASSERT_TRUE(back.has_value());
    EXPECT_TRUE(back->sjis == document);  // not printed: 19 kB of bytes
    EXPECT_FALSE(back->box);
}

TEST_F(ClipboardTest, BoxFlagTravelsWithTheText)
{
    const std::string box = "\x82\xA0\x82\xA2\r\nab";
    setClipboardText(box, true);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->data(QString::fromLatin1(kBoxMimeType)),
              QByteArray("\xE3\x81\x82\xE3\x81\x84\nab", 9) + QByteArray(1, '\0'));
    auto back = clipboardText();
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->sjis, box);
    EXPECT_TRUE(back->box);

    setClipboardText(box, false);
    back = clipboardText();
    ASSERT_TRUE(back.has_value());
    EXPECT_FALSE(back->box);
}

TEST_F(ClipboardTest, ForeignTextIsConverted)
{
    struct Case {
        QString text;
        std::string sjis;
        std::size_t replaced = 0;
    };
    const Case cases[] = {
        {QStringLiteral("あ\nい"), "\x82\xA0\r\n\x82\xA2"},
        {QStringLiteral("a\r\nb\rc\n\n"), "a\r\nb\r\nc\r\n\r\n"},
        {QStringLiteral("≒"), "\x81\xE0"},  // the preferred code of a shared character
        {QStringLiteral("〜−"), "\x81\x60\x81\x7C"},
        {QStringLiteral("x😀é"), "x\x81\xAC\x81\xAC", 2},  // 〓 (0x81 0xAC in CP932) for each
        {QStringLiteral("ｱ"), "\xB1"},
        // Decomposed text (as some systems write it) is composed first: か
        // with the combining voiced mark is が; e with the combining acute
        // is one é, one 〓.
        {QStringLiteral("か\u3099き\u3099"), "\x82\xAA\x82\xAC"},
        {QStringLiteral("e\u0301!"), "\x81\xAC!", 1},
        {QStringLiteral("ゔ"), "\x81\xAC", 1},
        // Characters that have a code of their own keep it, although NFC
        // would turn them into another character: the angstrom sign, a
        // compatibility ideograph of the IBM rows.
        {QStringLiteral("\u212B\uF929"), "\x81\xF0\xFA\xE0"},
        {QStringLiteral("ｶﾞ"), "\xB6\xDE"},  // half-width voiced mark: its own code
    };
    for (const Case& c : cases) {
        QGuiApplication::clipboard()->setText(c.text);
        const auto back = clipboardText();
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->sjis, c.sjis) << c.text.toStdString();
        EXPECT_EQ(back->replaced, c.replaced) << c.text.toStdString();
        EXPECT_FALSE(back->box);
    }
}

TEST_F(ClipboardTest, PrivateTypesThatNoLongerMatchTheTextAreIgnored)
{
    auto* data = new QMimeData;
    data->setText(QStringLiteral("新しい"));
    data->setData(QString::fromLatin1(kSjisMimeType), QByteArray("\x87\x90"));
    data->setData(QString::fromLatin1(kBoxMimeType), QByteArray("\xE2\x89\x92", 4));
    QGuiApplication::clipboard()->setMimeData(data);
    const auto back = clipboardText();
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->sjis, "\x90\x56\x82\xB5\x82\xA2");
    EXPECT_FALSE(back->box);
}

TEST_F(ClipboardTest, NoPlainText)
{
    EXPECT_EQ(clipboardText(), std::nullopt);
    EXPECT_FALSE(clipboardHasText());

    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    QGuiApplication::clipboard()->setImage(image);
    EXPECT_EQ(clipboardText(), std::nullopt);
    EXPECT_FALSE(clipboardHasText());

    setClipboardText({}, false);
    EXPECT_FALSE(clipboardHasText());
    const auto back = clipboardText();
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->sjis, "");
}

}  // namespace
}  // namespace tabulo::platform
