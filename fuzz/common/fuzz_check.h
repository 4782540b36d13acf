// What the fuzz targets share: a check that reports a broken property with
// the input's bytes and stops the run (libFuzzer then saves the input), and a
// reader that takes structured choices from the front of the input, and a
// name for the scratch files of a target.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "support/show_bytes.h"

namespace tabulo::fuzz {

using ::tabulo::testing::showBytes;

[[noreturn]] inline void fail(const char* property, std::string_view detail) {
    std::fprintf(stderr, "property broken: %s\n  %s\n", property, showBytes(detail).c_str());
    std::abort();
}

inline void check(bool holds, const char* property, std::string_view detail = {}) {
    if (!holds) fail(property, detail);
}

// "$TMPDIR/tabulo-fuzz-<name>-<pid>" (/tmp without TMPDIR): a path of this
// process alone, for a target that reads or writes files.
inline std::string scratchPath(std::string_view name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/tabulo-fuzz-" + std::string(name) + "-" +
           std::to_string(getpid());
}

// Takes bytes from the front of the input; past the end it yields zeros.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    std::string take(std::size_t n) {
        if (n > m_size - m_pos) n = m_size - m_pos;
        std::string s(reinterpret_cast<const char*>(m_data + m_pos), n);
        m_pos += n;
        return s;
    }
    std::string rest() { return take(m_size - m_pos); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

}  // namespace tabulo::fuzz
