// The output side of the converters: a position in the caller's one output
// buffer, which the caller has sized for the worst case of the input at
// hand, so that the put functions need no size checks. A local ByteWriter
// stays in a register where a buffer reached through memory would be
// reloaded after every byte stored. Internal to the unit.
#pragma once

namespace tabulo::kanji::detail {

class ByteWriter {
public:
    explicit ByteWriter(unsigned char* at) : m_pos(at) {}

    void put(unsigned char c) { *m_pos++ = c; }
    void put2(unsigned char a, unsigned char b) {
        m_pos[0] = a;
        m_pos[1] = b;
        m_pos += 2;
    }

    unsigned char* position() const { return m_pos; }

private:
    unsigned char* m_pos;
};

}  // namespace tabulo::kanji::detail
