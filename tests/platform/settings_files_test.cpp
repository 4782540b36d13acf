// The settings store over registry.ini, the INI file, the free-space query
// and the path forms.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/free_space.h"
#include "platform/ini_file.h"
#include "platform/long_path.h"
#include "platform/settings_store.h"

namespace tabulo::platform {
namespace {

TEST(SettingsStore, KeyPathsWithStringsAndIntegers) {
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("registry.ini")));
    const QString key = QStringLiteral("\\Software\\Tabulo\\ExeFileName");
    EXPECT_EQ(store.readString(key, QStringLiteral("Awk")), std::nullopt);
    store.writeString(key, QStringLiteral("Awk"), QStringLiteral("/usr/bin/gawk"));
    store.writeString(key, QStringLiteral("Mail"), QStringLiteral("/データ/KEN_ALL.CSV"));
    store.writeInteger(QStringLiteral("\\Software\\Tabulo\\fmTabulo"), QStringLiteral("WindowTop"), -12);
    store.writeString(QStringLiteral("\\Software\\OpnFilHs\\OFH"), QStringLiteral("tabulo"),
                      QStringLiteral("/a b.txt\r\n/c=d;e.txt"));

    const SettingsStore again(dir.filePath(QStringLiteral("registry.ini")));
    EXPECT_EQ(again.readString(key, QStringLiteral("Awk")), QStringLiteral("/usr/bin/gawk"));
    EXPECT_EQ(again.readString(key, QStringLiteral("Mail")), QStringLiteral("/データ/KEN_ALL.CSV"));
    EXPECT_EQ(again.readInteger(QStringLiteral("\\Software\\Tabulo\\fmTabulo"), QStringLiteral("WindowTop")), -12);
    EXPECT_EQ(again.readInteger(key, QStringLiteral("Awk")), std::nullopt);  // not a number
    EXPECT_EQ(again.readString(QStringLiteral("\\Software\\OpnFilHs\\OFH"), QStringLiteral("tabulo")),
              QStringLiteral("/a b.txt\r\n/c=d;e.txt"));
    // Another key's value of the same name is another value.
    EXPECT_EQ(again.readString(QStringLiteral("\\Software\\Tabulo"), QStringLiteral("Awk")), std::nullopt);

    store.deleteValue(key, QStringLiteral("Awk"));
    EXPECT_EQ(again.readString(key, QStringLiteral("Awk")), std::nullopt);
    EXPECT_EQ(again.readString(key, QStringLiteral("Mail")), QStringLiteral("/データ/KEN_ALL.CSV"));
}

TEST(IniFile, DefaultsAndBooleans) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("tabulo.ini"));
    {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Option]\nTwo=2\nZero=0\nWord=yes\nNumber= 7\n");
    }
    IniFile ini(name);
    EXPECT_TRUE(ini.readBool(QStringLiteral("Option"), QStringLiteral("Two"), false));
    EXPECT_FALSE(ini.readBool(QStringLiteral("Option"), QStringLiteral("Zero"), true));
    EXPECT_TRUE(ini.readBool(QStringLiteral("Option"), QStringLiteral("Missing"), true));
    EXPECT_FALSE(ini.readBool(QStringLiteral("Option"), QStringLiteral("Word"), false));  // not a number: default
    EXPECT_EQ(ini.readInteger(QStringLiteral("Option"), QStringLiteral("Number"), 4), 7);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Option"), QStringLiteral("Word"), 4), 4);
    EXPECT_EQ(ini.readString(QStringLiteral("Option"), QStringLiteral("Missing"), QStringLiteral(">")), QStringLiteral(">"));

    ini.writeBool(QStringLiteral("Option"), QStringLiteral("Flag"), true);
    ini.writeBool(QStringLiteral("Option"), QStringLiteral("Off"), false);
    ini.writeString(QStringLiteral("Option"), QStringLiteral("QuoteChar"), QString());
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("Flag=1")) << text.toStdString();
    EXPECT_TRUE(text.contains("Off=0")) << text.toStdString();
    // An empty string is a value, not a missing key.
    EXPECT_EQ(ini.readString(QStringLiteral("Option"), QStringLiteral("QuoteChar"), QStringLiteral(">")), QString());
}

TEST(FreeSpace, StatvfsOfTheFolderAndItsMountPoint) {
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("new.txt")).toStdString();
    const FreeSpace space = freeSpaceFor(file);
    ASSERT_TRUE(space.bytes.has_value());
    EXPECT_GT(*space.bytes, 0u);
    EXPECT_EQ(file.rfind(space.drive == "/" ? std::string("/") : space.drive + "/", 0), 0u) << space.drive;
    // A folder that does not exist: the query fails, the space is unknown.
    EXPECT_EQ(freeSpaceFor("/no/such/folder/x.txt").bytes, std::nullopt);

    std::string asked;
    setFreeSpaceQuery([&](const std::string& folder) {
        asked = folder;
        return FreeSpace{42, "/mnt"};
    });
    EXPECT_EQ(freeSpaceFor(file).bytes, 42u);
    EXPECT_EQ(asked, dir.path().toStdString());
    setFreeSpaceQuery({});
    EXPECT_NE(freeSpaceFor(file).bytes, 42u);
}

TEST(LongPath, AbsoluteAndClean) {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    std::filesystem::current_path(root);
    EXPECT_EQ(longPathName("a.txt"), root + "/a.txt");
    EXPECT_EQ(longPathName("./x/../b.txt"), root + "/b.txt");
    EXPECT_EQ(longPathName("/usr//bin/./sed"), "/usr/bin/sed");
    EXPECT_EQ(longPathName(""), "");
}

TEST(ProgramRelative, RoundTrip) {
    QTemporaryDir dir;
    qputenv("TABULO_HOME", dir.path().toUtf8());
    const std::string home = dir.path().toStdString() + "/";
    EXPECT_EQ(programRelative(home + "bin/gawk"), "./bin/gawk");
    EXPECT_EQ(programFolderPath("./bin/gawk"), home + "bin/gawk");
    EXPECT_EQ(programRelative("/usr/bin/gawk"), "/usr/bin/gawk");
    EXPECT_EQ(programFolderPath("gawk"), "gawk");  // a command word stays a word
    EXPECT_EQ(programRelative(home), home);
    qunsetenv("TABULO_HOME");
}

}  // namespace
}  // namespace tabulo::platform
