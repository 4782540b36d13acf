// An output buffer for the converters: the caller asks for room once per
// input step and then writes through a raw pointer, which keeps the inner
// loops free of per-byte size checks. Internal to the unit.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace tabulo::kanji::detail {

class ByteWriter {
public:
    explicit ByteWriter(std::size_t expected) : m_out(std::max<std::size_t>(expected, 16), '\0') {
        m_pos = data();
        m_end = m_pos + m_out.size();
    }

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
    void put(std::string_view bytes) {
        std::copy(bytes.begin(), bytes.end(), m_pos);
        m_pos += bytes.size();
    }
    unsigned char* cursor() { return m_pos; }
    void advance(std::size_t n) { m_pos += n; }

    // Ends the writing and hands the bytes over.
    std::string finish() {
        m_out.resize(static_cast<std::size_t>(m_pos - data()));
        return std::move(m_out);
    }

private:
    unsigned char* data() { return reinterpret_cast<unsigned char*>(m_out.data()); }

    void grow(std::size_t k) {
        const std::size_t used = static_cast<std::size_t>(m_pos - data());
        m_out.resize(std::max(m_out.size() * 2, used + k));
        m_pos = data() + used;
        m_end = data() + m_out.size();
    }

    std::string m_out;
    unsigned char* m_pos;
    unsigned char* m_end;
};

}  // namespace tabulo::kanji::detail
