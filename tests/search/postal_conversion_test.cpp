// Postal code conversion against the nationwide address file: both
// directions, whole-city records, the full line, and bad input that must
// leave the line as it was.
#include "search/engine/postal_conversion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "regex/re_error.h"
#include "search/engine/postal_messages.h"
#include "search/postal_test_data.h"

using tabulo::search::PostalConverter;
using tabulo::search::PostalStatus;

namespace {

// Shift-JIS words of the cases.
#define TOKYO "\x93\x8c\x8b\x9e\x93\x73"
#define SHIBUYA_KU "\x8f\x61\x92\x4a\x8b\xe6"
#define SHIBUYA "\x8f\x61\x92\x4a"
#define SAITAMA "\x8d\xe9\x8b\xca\x8c\xa7"
#define KAWAGUCHI "\x90\xec\x8c\xfb\x8e\x73"
#define ANGYO_NISHI "\x88\xc0\x8d\x73\x90\xbc"
#define ANGYO_RYO "\x88\xc0\x8d\x73\x97\xcc"
#define HOKKAIDO "\x96\x6b\x8a\x43\x93\xb9"
#define CHUO_KU "\x8e\x44\x96\x79\x8e\x73\x92\x86\x89\x9b\x8b\xe6"
#define AKITA_KEN "\x8f\x48\x93\x63\x8c\xa7"
#define AKITA_SHI "\x8f\x48\x93\x63\x8e\x73"
#define YURIHONJO_SHI "\x97\x52\x97\x98\x96\x7b\x91\x91\x8e\x73"
#define SOZEN_MACHI "\x93\x79\x8d\xe8\x8d\x60\x91\x8a\x90\xf5\x92\xac"
#define ISHIKARI_GUN "\x90\xce\x8e\xeb\x8c\x53"
#define TOBETSU "\x93\x96\x95\xca\x92\xac"
#define OAZA "\x91\xe5\x8e\x9a"
#define ITCHOME "\x88\xea\x92\x9a\x96\xda"
#define FW_SPACE "\x81\x40"
#define MARK "\x81\xa7"
#define A_CHAR "\x82\xa0"  // あ

struct Case {
    const char* name;
    std::string line;
    std::string expected;
    PostalStatus status;
};

class PostalConversionTest : public ::testing::Test {
protected:
    void SetUp() override { TABULO_REQUIRE_KEN_ALL(); }
    PostalStatus convert(std::string& line) { return converter.convert(line, tabulo::testing::kenAllPath()); }
    PostalConverter converter;
};

TEST_F(PostalConversionTest, LinesConvertAsTheUserExpects) {
    const Case cases[] = {
        {"code with hyphen keeps the rest of the line",
         "150-0002 123-456" FW_SPACE "Yamada",
         MARK "150-0002 " TOKYO SHIBUYA_KU SHIBUYA "123-456" FW_SPACE "Yamada", PostalStatus::Converted},
        {"seven digits alone get the hyphen", "1500002",
         MARK "150-0002" TOKYO SHIBUYA_KU SHIBUYA, PostalStatus::Converted},
        {"a double-byte character after the code is not split",
         "1500002" A_CHAR "x", MARK "150-0002" A_CHAR TOKYO SHIBUYA_KU SHIBUYA "x", PostalStatus::Converted},
        {"code of several towns takes the first record", "011-0951",
         MARK "011-0951" AKITA_KEN AKITA_SHI SOZEN_MACHI, PostalStatus::Converted},
        {"whole-city record by code drops the phrase", "060-0000 1",
         MARK "060-0000 " HOKKAIDO CHUO_KU "1", PostalStatus::WholeCity},
        // Seven characters with the hyphen: the six digits 150000 are
        // searched, and the first record holding them is 0150000's.
        {"six digits after the hyphen take the first code holding them", "150-000",
         MARK "150-000" AKITA_KEN YURIHONJO_SHI, PostalStatus::WholeCity},
        {"prefecture and city find the whole-city record", TOKYO FW_SPACE SHIBUYA_KU,
         MARK "150-0000  " TOKYO FW_SPACE SHIBUYA_KU, PostalStatus::WholeCity},
        {"oaza and full-width spaces become one space", "  " SAITAMA FW_SPACE KAWAGUCHI FW_SPACE OAZA ANGYO_NISHI,
         MARK "333-0812    " SAITAMA FW_SPACE KAWAGUCHI FW_SPACE OAZA ANGYO_NISHI, PostalStatus::Converted},
        {"a district joins its town", HOKKAIDO " " ISHIKARI_GUN " " TOBETSU,
         MARK "061-0200  " HOKKAIDO " " ISHIKARI_GUN " " TOBETSU, PostalStatus::WholeCity},
        {"a town prefix collects every record, the last found first", SAITAMA " " KAWAGUCHI " " ANGYO_RYO,
         MARK "334-0058  " MARK "333-0836  " MARK "333-0834  " SAITAMA " " KAWAGUCHI " " ANGYO_RYO,
         PostalStatus::Converted},
    };
    for (const Case& c : cases) {
        std::string line = c.line;
        EXPECT_EQ(convert(line), c.status) << c.name;
        EXPECT_EQ(line, c.expected) << c.name;
    }
}

TEST_F(PostalConversionTest, TooManyHitsStopWhenTheLineIsFull) {
    const std::string query = TOKYO " " SHIBUYA_KU " " SHIBUYA;
    std::string line = query;
    EXPECT_EQ(convert(line), PostalStatus::TooMany);
    // Ten hits fill the line past 128 bytes; the eleventh ends the search.
    const std::string firstFound = MARK "150-0002  " + query + tabulo::search::postal::kTooManySuffix;
    ASSERT_GE(line.size(), firstFound.size());
    EXPECT_EQ(line.substr(line.size() - firstFound.size()), firstFound);
    std::size_t marks = 0;
    for (std::size_t at = line.find(MARK); at != std::string::npos; at = line.find(MARK, at + 2)) ++marks;
    EXPECT_EQ(marks, 11u);
    EXPECT_EQ(tabulo::search::postalMessage(PostalStatus::TooMany), "ヒット数が多すぎます！");
}

TEST_F(PostalConversionTest, BadInputLeavesTheLineAlone) {
    const Case cases[] = {
        {"four name parts", TOKYO " " SHIBUYA_KU " " SHIBUYA " " ITCHOME, "", PostalStatus::BadAddress},
        {"only spaces", "   " FW_SPACE, "", PostalStatus::BadAddress},
        {"six characters are no code", "150-00", "", PostalStatus::BadAddress},
        // Characters are counted, not bytes: five characters in nine bytes.
        {"five characters in more bytes are no code", "150" A_CHAR A_CHAR, "", PostalStatus::BadAddress},
        {"seven characters with kana are no code", "150" A_CHAR A_CHAR A_CHAR A_CHAR, "", PostalStatus::NotFound},
        {"letters in the first three", "15a-0002", "", PostalStatus::BadAddress},
        {"letters in the code", "150-00ab", "", PostalStatus::NotFound},
        {"a pattern is no code", "150-0.*", "", PostalStatus::NotFound},
        {"a code nobody has", "999-9999", "", PostalStatus::NotFound},
        {"an address nobody has", TOKYO " " AKITA_SHI, "", PostalStatus::NotFound},
        {"empty", "", "", PostalStatus::EmptyLine},
    };
    for (const Case& c : cases) {
        std::string line = c.line;
        EXPECT_EQ(convert(line), c.status) << c.name;
        EXPECT_EQ(line, c.line) << c.name;
    }
    EXPECT_EQ(tabulo::search::postalMessage(PostalStatus::BadAddress),
              "Err! 都道府県 市町村 町名をスペース（１個か２個）で区切る。番地は書かない");
    EXPECT_EQ(tabulo::search::postalMessage(PostalStatus::NotFound), "見つかりませんでした！");
}

TEST_F(PostalConversionTest, AnAddressThatIsNoPatternRaisesTheEnginesError) {
    std::string line = TOKYO " " SHIBUYA_KU " [";
    EXPECT_THROW(convert(line), tabulo::regex::ERegExpParser);
    EXPECT_EQ(line, TOKYO " " SHIBUYA_KU " [");
}

TEST(PostalFileTest, MissingFileSaysSoAndWarmsNothing) {
    PostalConverter converter;
    std::string line = "150-0002";
    EXPECT_EQ(converter.convert(line, "/nonexistent/KEN_ALL.CSV"), PostalStatus::MissingFile);
    EXPECT_EQ(line, "150-0002");
    EXPECT_FALSE(converter.warmedUp());
    EXPECT_EQ(tabulo::search::postalMessage(PostalStatus::MissingFile),
              "Err! 郵政省の郵便番号ファイルが見あたりません");
}

// A download cut short: its last record lacks fields and must be skipped,
// the complete records before it still found.
TEST(PostalFileTest, TruncatedFileSkipsTheCutRecord) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "tabulo_postal_cut.csv";
    {
        std::ofstream out(path, std::ios::binary);
        out << "13113,\"150  \",\"1500002\",\"x\",\"x\",\"x\",\"" TOKYO "\",\"" SHIBUYA_KU "\",\"" SHIBUYA
               "\",0,0,0,0,0,0\r\n"
               "13113,\"150  \",\"1500001\",\"x\",\"x\",\"x\",\"" TOKYO "\",\"" SHIBUYA_KU "\"";
    }
    PostalConverter converter;
    std::string line = "1500001";
    EXPECT_EQ(converter.convert(line, path.string()), PostalStatus::NotFound);
    EXPECT_EQ(line, "1500001");
    EXPECT_TRUE(converter.warmedUp());
    line = "1500002";
    EXPECT_EQ(converter.convert(line, path.string()), PostalStatus::Converted);
    EXPECT_EQ(line, MARK "150-0002" TOKYO SHIBUYA_KU SHIBUYA);
    std::filesystem::remove(path);
}

}  // namespace
