// The general error handler shows an escaping exception's message through
// the installed prompts, both for guarded commands and for exceptions that
// leave event handlers, and the program goes on.
#include "platform/error_handler.h"

#include "qstring_printer.h"
#include "platform/scripted_prompts.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <gtest/gtest.h>

#include <stdexcept>

namespace tabulo::platform {
namespace {

const QEvent::Type kThrowEvent = static_cast<QEvent::Type>(QEvent::User + 1);
const QEvent::Type kCountEvent = static_cast<QEvent::Type>(QEvent::User + 2);

// An object whose handler of kThrowEvent throws, and which counts the
// kCountEvent events it gets.
class Thrower : public QObject {
public:
    int counted = 0;

    bool event(QEvent* event) override
    {
        if (event->type() == kThrowEvent) {
            throw std::runtime_error("ファイル x.txt が開けません");
        }
        if (event->type() == kCountEvent) {
            ++counted;
            return true;
        }
        return QObject::event(event);
    }
};

class ErrorHandlerTest : public ::testing::Test {
protected:
    void SetUp() override { installPrompts(&m_prompts); }
    void TearDown() override { installPrompts(nullptr); }

    void expectOneErrorBox(const QString& text)
    {
        ASSERT_EQ(m_prompts.records().size(), 1u);
        const PromptRecord& record = m_prompts.records()[0];
        EXPECT_EQ(record.kind, PromptKind::Message);
        EXPECT_EQ(record.text, text);
        EXPECT_EQ(record.icon, Icon::Error);
        EXPECT_EQ(record.title, QCoreApplication::applicationName());
        EXPECT_FALSE(record.title.isEmpty());
    }

    ScriptedPrompts m_prompts;
};

TEST_F(ErrorHandlerTest, ReportErrorShowsTheUtf8MessageInAnErrorBox)
{
    reportError(prompts(), std::runtime_error("0で割りました"));
    expectOneErrorBox(QStringLiteral("0で割りました"));
}

TEST_F(ErrorHandlerTest, RunGuardedReportsWhatLeavesTheCommand)
{
    int ran = 0;
    EXPECT_TRUE(runGuarded(m_prompts, [&] { ++ran; }));
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(m_prompts.records().empty());

    EXPECT_FALSE(runGuarded(m_prompts, [] { throw std::out_of_range("範囲外です"); }));
    expectOneErrorBox(QStringLiteral("範囲外です"));

    m_prompts.clear();
    EXPECT_FALSE(runGuarded(m_prompts, [] { throw 42; }));
    ASSERT_EQ(m_prompts.records().size(), 1u);
    EXPECT_FALSE(m_prompts.records()[0].text.isEmpty());
}

TEST_F(ErrorHandlerTest, AnExceptionLeavingAnEventHandlerIsReportedAndTheProgramGoesOn)
{
    Thrower thrower;
    QEvent throwing(kThrowEvent);
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &throwing));
    expectOneErrorBox(QStringLiteral("ファイル x.txt が開けません"));

    // Posted events go through the same path; later events still arrive.
    m_prompts.clear();
    QCoreApplication::postEvent(&thrower, new QEvent(kThrowEvent));
    QCoreApplication::postEvent(&thrower, new QEvent(kCountEvent));
    QCoreApplication::sendPostedEvents(&thrower);
    expectOneErrorBox(QStringLiteral("ファイル x.txt が開けません"));
    EXPECT_EQ(thrower.counted, 1);
}

TEST_F(ErrorHandlerTest, WithoutInstalledPromptsTheErrorStillDoesNotEscape)
{
    installPrompts(nullptr);
    EXPECT_FALSE(hasPrompts());
    EXPECT_THROW(prompts(), std::logic_error);
    Thrower thrower;
    QEvent throwing(kThrowEvent);
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &throwing));
    EXPECT_TRUE(m_prompts.records().empty());
}

}  // namespace
}  // namespace tabulo::platform
