// Text typed into a dialog field: composed before conversion, refused with
// the count and the first character when Shift-JIS still lacks one.
#include "platform/typed_text.h"

#include <gtest/gtest.h>

#include "platform/error_handler.h"
#include "platform/scripted_prompts.h"

namespace tabulo::platform {
namespace {

TEST(TypedTextTest, DecomposedTextIsComposedAndWhatShiftJisLacksBecomesTheGetaMark)
{
    ScriptedPrompts prompts;
    installPrompts(&prompts);
    EXPECT_EQ(sjisOfTypedText(QStringLiteral("か\u3099")), "\x82\xAA");
    EXPECT_EQ(sjisOfTypedText(QStringLiteral("\u212B")), "\x81\xF0");
    EXPECT_TRUE(prompts.records().empty());
    // e + combining acute is one character é, which Shift-JIS lacks: it
    // becomes the geta mark 0x81 0xAC, the rest stays.
    EXPECT_EQ(sjisOfTypedText(QStringLiteral("ab e\u0301x")), "ab \x81\xACx");
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text,
              QStringLiteral("入力した文字列の Shift-JIS にない文字 1 個を「〓」に置き換えました。"
                             "最初は 4 文字目の「é」(U+00E9) です。"));
    installPrompts(nullptr);
}

}  // namespace
}  // namespace tabulo::platform
