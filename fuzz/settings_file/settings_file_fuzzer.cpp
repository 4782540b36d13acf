// Fuzz target of the INI file and the settings store (the registry file).
// A file the reader finds malformed is not written over: the write raises
// its error, which the program shows, and the checks of this input end.
// Input: a flags byte, a key length byte, a value length byte, the key, the
// value, then the file's bytes. Values are read from the fuzzed file under
// the fuzzed key and under keys of the program's own shape; an integer is
// read only where the text is one. Round trips: a string or an integer
// written under a key reads back the same, and the write leaves another
// value of the file as it read before.
#include <QString>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "common/fuzz_check.h"
#include "platform/ini_file.h"
#include "platform/settings_store.h"

using namespace tabulo::platform;
using tabulo::fuzz::check;

namespace {

// A fresh name for every input: the settings reader keeps what it read of a
// file while its time stamp and size stay the same.
std::string scratchFile() {
    static unsigned counter = 0;
    return tabulo::fuzz::scratchPath("settings") + "-" + std::to_string(++counter) + ".ini";
}

// Letters and digits, so that the name is one key of one section.
QString nameFrom(const std::string& bytes, const char* fallback) {
    QString name;
    for (const char c : bytes) {
        name += QLatin1Char("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"[static_cast<unsigned char>(c) % 62]);
    }
    return name.isEmpty() ? QString::fromLatin1(fallback) : name;
}

}  // namespace

namespace {

void readAndWrite(const std::uint8_t* data, std::size_t size, const std::string& path);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = scratchFile();
    try {
        readAndWrite(data, size, path);
    } catch (const std::runtime_error&) {
        // "ファイル ... を作成できません": the write failed and said so.
    }
    std::filesystem::remove(path);
    return 0;
}

namespace {

void readAndWrite(const std::uint8_t* data, std::size_t size, const std::string& path) {
    tabulo::fuzz::ByteReader in(data, size);
    const std::uint8_t flags = in.byte();
    const std::size_t keyBytes = in.byte() % 16;
    const std::size_t valueBytes = in.byte();
    const QString key = nameFrom(in.take(keyBytes), "Key");
    const QString value = QString::fromUtf8(in.take(valueBytes));
    const std::string bytes = in.rest();
    std::ofstream(path, std::ios::binary) << bytes;
    const QString file = QString::fromStdString(path);

    IniFile ini(file);
    const QString before = ini.readString(QStringLiteral("Option"), QStringLiteral("Other"), QStringLiteral("-"));
    (void)ini.readBool(QStringLiteral("Option"), key, flags & 1);
    const int number = ini.readInteger(QStringLiteral("Option"), key, -7);
    if (number != -7) {
        bool ok = false;
        check(ini.readString(QStringLiteral("Option"), key, {}).trimmed().toInt(&ok) == number && ok,
              "an integer is read from a text that is one", bytes);
    }
    ini.writeString(QStringLiteral("Option"), key, value);
    check(ini.readString(QStringLiteral("Option"), key, {}) == value, "a string written to the INI file reads back",
          value.toStdString());
    if (key != QStringLiteral("Other")) {
        check(ini.readString(QStringLiteral("Option"), QStringLiteral("Other"), QStringLiteral("-")) == before,
              "writing one key keeps another", bytes);
    }
    ini.writeInteger(QStringLiteral("Option"), key, static_cast<int>(flags) - 128);
    check(ini.readInteger(QStringLiteral("Option"), key, 999) == static_cast<int>(flags) - 128,
          "an integer written to the INI file reads back", bytes);

    SettingsStore store(file);
    const QString keyPath = QStringLiteral("\\Software\\Tabulo\\") + key;
    (void)store.readString(keyPath, QStringLiteral("Awk"));
    if (const std::optional<int> n = store.readInteger(keyPath, QStringLiteral("Top"))) {
        bool ok = false;
        check(store.readString(keyPath, QStringLiteral("Top"))->trimmed().toInt(&ok) == *n && ok,
              "a stored integer is read from a text that is one", bytes);
    }
    store.writeString(keyPath, QStringLiteral("Awk"), value);
    check(store.readString(keyPath, QStringLiteral("Awk")) == value, "a stored string reads back", value.toStdString());
    store.deleteValue(keyPath, QStringLiteral("Awk"));
    check(!store.readString(keyPath, QStringLiteral("Awk")), "a deleted value is gone", bytes);
}

}  // namespace
