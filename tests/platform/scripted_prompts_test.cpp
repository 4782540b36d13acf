// The scripted prompts record every call in order, answer from their queues
// in order, and throw on a question nobody queued an answer for.
#include "platform/scripted_prompts.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tabulo::platform {
namespace {

TEST(ScriptedPromptsTest, RecordsEveryCallInOrderAndAnswersFromTheQueues)
{
    ScriptedPrompts prompts;
    prompts.queueAnswer(Answer::No);
    prompts.queueAnswer(Answer::Cancel);
    prompts.queueInput(QStringLiteral("12"));
    prompts.queueInput(std::nullopt);
    prompts.queueFile(QStringLiteral("/tmp/a.txt"));
    prompts.queueFile(std::nullopt);
    prompts.queueFiles({QStringLiteral("/x"), QStringLiteral("/y")});
    prompts.queueFont(QFont(QStringLiteral("IPAGothic"), 12));
    EXPECT_EQ(prompts.pendingAnswers(), 8);

    prompts.message(QStringLiteral("保存しました"));
    EXPECT_EQ(prompts.confirm(QStringLiteral("保存しますか？"), QStringLiteral("tabulo"),
                              Buttons::YesNo, Icon::Warning),
              Answer::No);
    EXPECT_EQ(prompts.confirm(QStringLiteral("中止しますか?"), {}, Buttons::YesNoCancel),
              Answer::Cancel);
    EXPECT_EQ(prompts.input(QStringLiteral("行へ移動"), QStringLiteral("行番号"), QStringLiteral("3")),
              QStringLiteral("12"));
    EXPECT_EQ(prompts.input(QStringLiteral("再び"), {}, {}), std::nullopt);
    EXPECT_EQ(prompts.openFile(QStringLiteral("開く"), QStringLiteral("/home"), QStringLiteral("全部|*.*")),
              QStringLiteral("/tmp/a.txt"));
    EXPECT_EQ(prompts.saveFile(QStringLiteral("保存"), {}, {}), std::nullopt);
    EXPECT_EQ(prompts.openFiles(QStringLiteral("選ぶ"), {}, {}),
              QStringList({QStringLiteral("/x"), QStringLiteral("/y")}));
    const auto font = prompts.chooseFont(QFont(QStringLiteral("Serif"), 9));
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->family(), QStringLiteral("IPAGothic"));
    prompts.beep();
    EXPECT_EQ(prompts.pendingAnswers(), 0);

    EXPECT_EQ(prompts.texts(),
              QStringList({QStringLiteral("保存しました"), QStringLiteral("保存しますか？"),
                           QStringLiteral("中止しますか?"), QStringLiteral("行へ移動"),
                           QStringLiteral("再び"), QStringLiteral("開く"), QStringLiteral("保存"),
                           QStringLiteral("選ぶ"), QStringLiteral("Serif"), QString()}));
    const auto& records = prompts.records();
    ASSERT_EQ(records.size(), 10u);
    const PromptKind kinds[] = {PromptKind::Message,  PromptKind::Confirm,   PromptKind::Confirm,
                                PromptKind::Input,    PromptKind::Input,     PromptKind::OpenFile,
                                PromptKind::SaveFile, PromptKind::OpenFiles, PromptKind::ChooseFont,
                                PromptKind::Beep};
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].kind, kinds[i]) << i;
    }
    EXPECT_EQ(records[0].icon, Icon::Information);
    EXPECT_EQ(records[1].title, QStringLiteral("tabulo"));
    EXPECT_EQ(records[1].buttons, Buttons::YesNo);
    EXPECT_EQ(records[1].icon, Icon::Warning);
    EXPECT_EQ(records[2].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(records[3].prompt, QStringLiteral("行番号"));
    EXPECT_EQ(records[3].defaultText, QStringLiteral("3"));
    EXPECT_EQ(records[5].defaultText, QStringLiteral("/home"));
    EXPECT_EQ(records[5].filter, QStringLiteral("全部|*.*"));
    EXPECT_EQ(records[8].font.pointSize(), 9);
}

TEST(ScriptedPromptsTest, AnUnexpectedQuestionIsRecordedAndThrowsNamingItsText)
{
    ScriptedPrompts prompts;
    prompts.queueInput(QStringLiteral("not for confirm"));
    try {
        prompts.confirm(QStringLiteral("上書きしますか？"), {}, Buttons::YesNo);
        FAIL() << "no exception";
    } catch (const std::logic_error& error) {
        EXPECT_NE(std::string(error.what()).find("上書きしますか？"), std::string::npos) << error.what();
    }
    EXPECT_EQ(prompts.texts(), QStringList({QStringLiteral("上書きしますか？")}));
    EXPECT_EQ(prompts.pendingAnswers(), 1);  // the input answer is left alone

    EXPECT_THROW(prompts.openFile(QStringLiteral("開く"), {}, {}), std::logic_error);
    EXPECT_THROW(prompts.openFiles(QStringLiteral("開く"), {}, {}), std::logic_error);
    EXPECT_THROW(prompts.chooseFont(QFont()), std::logic_error);
    EXPECT_EQ(prompts.records().size(), 4u);
}

TEST(ScriptedPromptsTest, AnAnswerThatIsNotOneOfTheButtonsThrows)
{
    struct Case {
        Buttons buttons;
        Answer answer;
        bool offered;
    };
    const Case cases[] = {
        {Buttons::YesNo, Answer::Cancel, false},      {Buttons::YesNo, Answer::No, true},
        {Buttons::YesCancel, Answer::No, false},      {Buttons::YesCancel, Answer::Cancel, true},
        {Buttons::YesNoCancel, Answer::Ok, false},    {Buttons::YesNoCancel, Answer::No, true},
        {Buttons::Ok, Answer::Yes, false},            {Buttons::OkCancel, Answer::Cancel, true},
    };
    for (const Case& c : cases) {
        ScriptedPrompts prompts;
        prompts.queueAnswer(c.answer);
        if (c.offered) {
            EXPECT_EQ(prompts.confirm(QStringLiteral("q"), {}, c.buttons), c.answer);
        } else {
            EXPECT_THROW(prompts.confirm(QStringLiteral("q"), {}, c.buttons), std::logic_error);
        }
    }
}

TEST(ScriptedPromptsTest, ClearForgetsRecordsAndAnswers)
{
    ScriptedPrompts prompts;
    prompts.queueAnswer(Answer::Yes);
    prompts.queueFile(QStringLiteral("/a"));
    prompts.message(QStringLiteral("m"));
    prompts.clear();
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_EQ(prompts.pendingAnswers(), 0);
    EXPECT_THROW(prompts.confirm(QStringLiteral("q"), {}, Buttons::YesNo), std::logic_error);
}

}  // namespace
}  // namespace tabulo::platform
