// Runs an installed peer tool (iconv, nkf, base64) on bytes, for the tests
// that check our converters against them. Inputs and outputs pass through
// files in a private temporary folder; the command words are fixed strings.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include <unistd.h>

namespace tabulo::kanji::testing {

inline bool toolInstalled(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

class PeerTool {
public:
    PeerTool() {
        char pattern[] = "/tmp/tabulo-kanji-peer-XXXXXX";
        if (::mkdtemp(pattern) != nullptr) m_dir = pattern;
    }
    ~PeerTool() {
        std::error_code ignored;
        if (!m_dir.empty()) std::filesystem::remove_all(m_dir, ignored);
    }
    PeerTool(const PeerTool&) = delete;
    PeerTool& operator=(const PeerTool&) = delete;

    // Writes input to a file and returns its path.
    std::string file(const std::string& name, const std::string& bytes) const {
        const std::string path = m_dir + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Runs "command < input > output"; nothing when the command fails.
    std::optional<std::string> filter(const std::string& command, const std::string& input) const {
        if (m_dir.empty()) return std::nullopt;
        const std::string in = file("in", input);
        const std::string out = m_dir + "/out";
        if (std::system((command + " < " + in + " > " + out).c_str()) != 0) return std::nullopt;
        std::ifstream result(out, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(result), {});
    }

private:
    std::string m_dir;
};

}  // namespace tabulo::kanji::testing
