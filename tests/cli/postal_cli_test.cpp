// tabulo-cli postal end to end: each line converted as F11 converts the caret
// line, the editor's messages on standard error, the missing address file.
#include "cli/cli_fixture.h"
#include "search/postal_test_data.h"

namespace {

using namespace tabulo::testing;

class PostalCli : public CliTest {
protected:
    void SetUp() override {
        TABULO_REQUIRE_KEN_ALL();
        CliTest::SetUp();
    }
    std::string postal() const { return "LC_ALL=C.UTF-8 " + program() + " postal --file " + quoted(kenAllPath()); }
};

TEST_F(PostalCli, EveryLineIsConvertedAndMessagesNameTheLine) {
    // 東京都　渋谷区 and 東京都 渋谷区 渋谷 一丁目 in Shift-JIS.
    const std::string tokyoShibuya = "\x93\x8c\x8b\x9e\x93\x73\x81\x40\x8f\x61\x92\x4a\x8b\xe6";
    const std::string fourParts = "\x93\x8c\x8b\x9e\x93\x73 \x8f\x61\x92\x4a\x8b\xe6 \x8f\x61\x92\x4a \x88\xea\x92\x9a\x96\xda";
    const std::string in = writeFile("in.txt", "1500002 x\r\n" + tokyoShibuya + "\r\n" + fourParts + "\r\n\r\n999-9999");
    const RunResult run = runShell(postal() + " " + quoted(in) + " 2>/dev/null");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "\x81\xa7" "150-0002 \x93\x8c\x8b\x9e\x93\x73\x8f\x61\x92\x4a\x8b\xe6\x8f\x61\x92\x4ax\r\n"
                       "\x81\xa7" "150-0000  " + tokyoShibuya + "\r\n" + fourParts + "\r\n\r\n999-9999");

    const RunResult messages = runShell(postal() + " " + quoted(in) + " 2>&1 >/dev/null");
    EXPECT_EQ(messages.out,
              "tabulo-cli postal: line 2: 以下に掲載がない場合です。\n"
              "tabulo-cli postal: line 3: Err! 都道府県 市町村 町名をスペース（１個か２個）で区切る。番地は書かない\n"
              "tabulo-cli postal: line 5: 見つかりませんでした！\n");
}

TEST_F(PostalCli, MissingAddressFileAndBadPatternEndWithStatusTwo) {
    const std::string in = writeFile("in.txt", "150-0002\n");
    const RunResult missing = runShell("LC_ALL=C.UTF-8 " + program() + " postal --file " +
                                       quoted((m_dir / "none.csv").string()) + " " + quoted(in) + " 2>&1");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.out.find("Err! 郵政省の郵便番号ファイルが見あたりません"), std::string::npos) << missing.out;

    const std::string bad = writeFile("bad.txt", "a b [\n150-0002\n");
    const RunResult run = runShell(postal() + " " + quoted(bad) + " 2>/dev/null");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "a b [\n\x81\xa7" "150-0002\x93\x8c\x8b\x9e\x93\x73\x8f\x61\x92\x4a\x8b\xe6\x8f\x61\x92\x4a\n");
}

}  // namespace

namespace {

using namespace tabulo::testing;

class PostalCliMessages : public CliTest {
protected:
    void SetUp() override {
        TABULO_REQUIRE_KEN_ALL();
        CliTest::SetUp();
    }
};

// Many lines with one message: the first 100 are named, then one line
// counts the rest; another message keeps its own 100.
TEST_F(PostalCliMessages, AfterAHundredLinesOfOneMessageOneLineCountsTheRest) {
    std::string in;
    for (int i = 0; i < 150; ++i) in += "a b c d\n";
    in += "9999999\n9999999\n9999999\n";
    const std::string path = writeFile("in.txt", in);
    const RunResult run = runShell("LC_ALL=C.UTF-8 " + program() + " postal --file " + quoted(kenAllPath()) + " " +
                                   quoted(path) + " 2>&1 >/dev/null");
    std::string expected;
    const std::string bad = "Err! 都道府県 市町村 町名をスペース（１個か２個）で区切る。番地は書かない";
    for (int line = 1; line <= 100; ++line) expected += "tabulo-cli postal: line " + std::to_string(line) + ": " + bad + "\n";
    for (int line = 151; line <= 153; ++line) {
        expected += "tabulo-cli postal: line " + std::to_string(line) + ": 見つかりませんでした！\n";
    }
    expected += "tabulo-cli postal: 50 more lines: " + bad + "\n";
    EXPECT_EQ(run.out, expected);
}

}  // namespace
