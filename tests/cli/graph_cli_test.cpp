// tabulo-cli graph: the printed page as PDF and the saved picture as JPEG or
// BMP, and its refusals.
#include <fstream>
#include <iterator>

#include "cli/cli_fixture.h"

namespace tabulo::testing {
namespace {

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int little16(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

class GraphCliTest : public CliTest {
protected:
    RunResult graph(const std::string& arguments) { return runShell(program() + " graph " + arguments + " 2>&1"); }
    std::string out(const std::string& name) { return (m_dir / name).string(); }
};

TEST_F(GraphCliTest, WritesTheA4PageAsPdfWithTheCurveLabels) {
    const RunResult run = graph("--pdf " + quoted(out("g.pdf")) + " 'sin(x) ; x^2/4'");
    ASSERT_EQ(run.status, 0) << run.out;
    const std::string pdf = readBytes(out("g.pdf"));
    ASSERT_EQ(pdf.substr(0, 5), "%PDF-");
    const RunResult info = runShell("pdfinfo " + quoted(out("g.pdf")) + " 2>/dev/null");
    if (info.status != 0) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    EXPECT_NE(info.out.find("(A4)"), std::string::npos) << info.out;
    const RunResult text = runShell("pdftotext " + quoted(out("g.pdf")) + " - 2>/dev/null");
    EXPECT_NE(text.out.find("y=sin(x)"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("y=x^2/4"), std::string::npos) << text.out;
}

TEST_F(GraphCliTest, WritesThePictureAsJpegOrBmpAtNinetySixDpi) {
    ASSERT_EQ(graph("-k parametric --jpeg " + quoted(out("p.picture")) + " '2*cos(3*t)^3 , 2*sin(3*t)^3'").status, 0);
    const std::string jpeg = readBytes(out("p.picture"));
    ASSERT_GT(jpeg.size(), 100u);
    EXPECT_EQ(jpeg.substr(0, 2), "\xFF\xD8");
    ASSERT_EQ(graph("--kind polar --scale 250 --precision 50 --bmp " + quoted(out("r.bmp")) + " 1").status, 0);
    const std::string bmp = readBytes(out("r.bmp"));
    ASSERT_GT(bmp.size(), 54u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    // The paint box of A4: the printable page in 0.1 mm / 2.5 pixels.
    EXPECT_EQ(little16(bmp, 18), 840);
    EXPECT_EQ(little16(bmp, 22), 1188);
}

TEST_F(GraphCliTest, RefusesBadArgumentsAndOverLongSpecifications) {
    struct Case {
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"x", "give one of --pdf, --jpeg and --bmp"},
        {"--pdf a.pdf --bmp a.bmp x", "give one of --pdf, --jpeg and --bmp"},
        {"--kind spiral --pdf a.pdf x", "unknown kind 'spiral'"},
        {"--scale 5 --pdf a.pdf x", "--scale takes a whole number from 10 to 500"},
        {"--precision 1001 --pdf a.pdf x", "--precision takes a whole number from 1 to 1000"},
        {"--pdf a.pdf " + std::string(1023, '1'), "関数式が長すぎます"},
        {"--bmp /nonexistent/dir/a.bmp x", "/nonexistent/dir/a.bmp"},
    };
    for (const Case& c : cases) {
        const RunResult run = runShell("cd " + quoted(m_dir.string()) + " && LC_ALL=C.UTF-8 " + program() +
                                       " graph " + c.arguments + " 2>&1");
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_NE(run.out.find(c.message), std::string::npos) << c.arguments << ": " << run.out;
    }
}

}  // namespace
}  // namespace tabulo::testing
