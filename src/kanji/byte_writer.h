// The output side of the converters: bytes are appended to the caller's
// buffer, which is grown by ensure() once per input step, so that the put
// functions need no size checks of their own and a caller converting many
// lines or blocks reuses one buffer. Internal to the unit.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

namespace tabulo::kanji::detail {

class ByteWriter {
public:
    // Appends to out, with room for expected bytes made up front.
    ByteWriter(std::string& out, std::size_t expected) : m_out(out) {
        const std::size_t start = out.size();
        m_out.resize(start + std::max<std::size_t>(expected, 16));
        m_pos = data() + start;
        m_end = data() + m_out.size();
    }
    ByteWriter(const ByteWriter&) = delete;
    ByteWriter& operator=(const ByteWriter&) = delete;
    // Trims the buffer to the bytes written.
    ~ByteWriter() { m_out.resize(static_cast<std::size_t>(m_pos - data())); }

    // Makes room for at least k more bytes.
    void ensure(std::size_t k) {
        if (static_cast<std::size_t>(m_end - m_pos) < k) grow(k);
    }

    // The put functions assume room was ensured.
    void put(unsigned char c) { *m_pos++ = c; }
    void put2(unsigned char a, unsigned char b) {
        m_pos[0] = a;
        m_pos[1] = b;
        m_pos += 2;
    }

private:
    unsigned char* data() { return reinterpret_cast<unsigned char*>(m_out.data()); }

    void grow(std::size_t k) {
        const std::size_t used = static_cast<std::size_t>(m_pos - data());
        m_out.resize(std::max(m_out.size() * 2, used + k));
        m_pos = data() + used;
        m_end = data() + m_out.size();
    }

    std::string& m_out;
    unsigned char* m_pos;
    unsigned char* m_end;
};

}  // namespace tabulo::kanji::detail
