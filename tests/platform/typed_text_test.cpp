// Text typed into a dialog field: composed before conversion, refused with
// the count and the first character when Shift-JIS still lacks one.
#include "platform/typed_text.h"

#include <gtest/gtest.h>

#include "platform/error_handler.h"
#include "platform/scripted_prompts.h"

namespace tabulo::platform {
namespace {

TEST(TypedTextTest, DecomposedTextIsComposedAndWhatShiftJisLacksIsNamed)
{
    ScriptedPrompts prompts;
    installPrompts(&prompts);
    EXPECT_EQ(sjisOfTypedText(QStringLiteral("か\u3099")), std::optional<std::string>("\x82\xAA"));
    EXPECT_EQ(sjisOfTypedText(QStringLiteral("\u212B")), std::optional<std::string>("\x81\xF0"));
    EXPECT_TRUE(prompts.records().empty());
    // e + combining acute is one character é, which Shift-JIS lacks.
    EXPECT_EQ(sjisOfTypedText(QStringLiteral("ab e\u0301")), std::nullopt);
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text,
              QStringLiteral("入力した文字列に Shift-JIS にない文字が 1 個あります。最初は 4 文字目の「é」(U+00E9) です。"));
    installPrompts(nullptr);
}

}  // namespace
}  // namespace tabulo::platform
