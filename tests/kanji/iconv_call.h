// The C library's own converter called directly, for the tests that check
// the CP932 conversions against it.
#pragma once

#include <iconv.h>

#include <optional>
#include <string>

namespace tabulo::kanji::testing {

// One iconv direction, converting a whole string or failing.
class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (usable()) iconv_close(m_cd);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool usable() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    std::optional<std::string> operator()(const std::string& in)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::string out(in.size() * 4 + 16, '\0');
        char* inPtr = const_cast<char*>(in.data());
        char* outPtr = out.data();
        std::size_t inLeft = in.size();
        std::size_t outLeft = out.size();
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            return std::nullopt;
        }
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    iconv_t m_cd;
};

}  // namespace tabulo::kanji::testing
