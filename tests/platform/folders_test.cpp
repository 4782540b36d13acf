// Program and work folders under environment variables pointed at fresh
// temporary folders; the work folder must be private or refused.
#include "platform/folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

namespace tabulo::platform {
namespace {

namespace fs = std::filesystem;

const char* const kVariables[] = {"TABULO_HOME", "XDG_CONFIG_HOME", "HOME", "XDG_RUNTIME_DIR",
                                  "TMPDIR"};

// Clears the variables the folders depend on and gives each test a fresh
// temporary root; everything is restored afterwards.
class FoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : kVariables) {
            if (const char* value = std::getenv(name)) {
                m_saved[name] = value;
            }
            unsetenv(name);
        }
        std::string pattern = (fs::temp_directory_path() / "tabulo-folders-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
    }

    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
        for (const char* name : kVariables) {
            if (auto it = m_saved.find(name); it != m_saved.end()) {
                setenv(name, it->second.c_str(), 1);
            } else {
                unsetenv(name);
            }
        }
    }

    std::string path(const std::string& relative) const { return (m_root / relative).string(); }

    static unsigned modeOf(const std::string& folder)
    {
        struct stat info {};
        EXPECT_EQ(lstat(folder.c_str(), &info), 0) << folder;
        return info.st_mode & 07777;
    }

    static void expectRefused(const std::string& folder)
    {
        try {
            workFolder();
            ADD_FAILURE() << "no exception for " << folder;
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(folder), std::string::npos) << error.what();
        }
    }

    fs::path m_root;
    std::map<std::string, std::string> m_saved;
};

TEST_F(FoldersTest, ProgramFolderFollowsTheEnvironmentAndIsCreated)
{
    struct Case {
        std::optional<std::string> tabuloHome;
        std::optional<std::string> configHome;
        std::string expected;
    };
    const Case cases[] = {
        {path("own/deep"), path("config"), path("own/deep") + "/"},
        {path("own2/"), std::nullopt, path("own2/")},
        {std::nullopt, path("config"), path("config/tabulo/")},
        {std::nullopt, std::nullopt, path("home/.config/tabulo/")},
        {std::nullopt, std::string("relative/config"), path("home/.config/tabulo/")},
    };
    setenv("HOME", path("home").c_str(), 1);
    for (const Case& c : cases) {
        unsetenv("TABULO_HOME");
        unsetenv("XDG_CONFIG_HOME");
        if (c.tabuloHome) {
            setenv("TABULO_HOME", c.tabuloHome->c_str(), 1);
        }
        if (c.configHome) {
            setenv("XDG_CONFIG_HOME", c.configHome->c_str(), 1);
        }
        EXPECT_EQ(programFolder(), c.expected);
        EXPECT_TRUE(fs::is_directory(c.expected)) << c.expected;
    }
}

TEST_F(FoldersTest, ProgramFolderThatIsAFileIsAnError)
{
    std::ofstream(path("file")) << "x";
    setenv("TABULO_HOME", path("file").c_str(), 1);
    EXPECT_THROW(programFolder(), std::runtime_error);
}

TEST_F(FoldersTest, WorkFolderIsCreatedPrivate)
{
    setenv("XDG_RUNTIME_DIR", m_root.c_str(), 1);
    EXPECT_EQ(workFolder(), path("tabulo/"));
    EXPECT_EQ(modeOf(path("tabulo")), 0700u);

    unsetenv("XDG_RUNTIME_DIR");
    setenv("TMPDIR", m_root.c_str(), 1);
    const std::string expected = path("tabulo-" + std::to_string(geteuid()));
    EXPECT_EQ(workFolder(), expected + "/");
    EXPECT_EQ(modeOf(expected), 0700u);
    EXPECT_EQ(workFolder(), expected + "/");  // a second call takes the existing folder
}

TEST_F(FoldersTest, OurOwnFolderWithAnotherModeIsMadePrivate)
{
    setenv("XDG_RUNTIME_DIR", m_root.c_str(), 1);
    ASSERT_EQ(mkdir(path("tabulo").c_str(), 0700), 0);
    ASSERT_EQ(chmod(path("tabulo").c_str(), 0777), 0);
    EXPECT_EQ(workFolder(), path("tabulo/"));
    EXPECT_EQ(modeOf(path("tabulo")), 0700u);
}

TEST_F(FoldersTest, WorkFolderThatIsNotARealFolderIsRefused)
{
    setenv("XDG_RUNTIME_DIR", m_root.c_str(), 1);
    std::ofstream(path("tabulo")) << "planted";
    expectRefused(path("tabulo"));

    // A link to a folder could point anywhere another user chose.
    fs::remove(path("tabulo"));
    fs::create_directory(path("elsewhere"));
    chmod(path("elsewhere").c_str(), 0700);
    fs::create_directory_symlink(path("elsewhere"), path("tabulo"));
    expectRefused(path("tabulo"));

    // The parent is missing.
    setenv("XDG_RUNTIME_DIR", path("missing").c_str(), 1);
    expectRefused(path("missing/tabulo"));
}

TEST_F(FoldersTest, FolderOfAnotherUserIsRefused)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to give a folder to another user";
    }
    setenv("XDG_RUNTIME_DIR", m_root.c_str(), 1);
    ASSERT_EQ(mkdir(path("tabulo").c_str(), 0777), 0);
    ASSERT_EQ(chmod(path("tabulo").c_str(), 0777), 0);
    ASSERT_EQ(chown(path("tabulo").c_str(), 12345, 12345), 0);
    expectRefused(path("tabulo"));
    EXPECT_EQ(modeOf(path("tabulo")), 0777u);  // left as it is
}

}  // namespace
}  // namespace tabulo::platform
