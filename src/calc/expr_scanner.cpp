// Longest-match scanner for calc lines.
#include "calc/expr_scanner.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <locale.h>
#include <string>

#include "calc/calc_exception.h"
#include "sjis/sjis_char.h"

namespace tabulo::calc::detail {

namespace {

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

unsigned char byteAt(std::string_view s, std::size_t pos) {
    return pos < s.size() ? static_cast<unsigned char>(s[pos]) : 0;
}

// Powers of ten that a long double (64-bit mantissa) holds exactly: 5^27 < 2^64.
constexpr int kExactPowers = 28;
constexpr long double kPow10[kExactPowers] = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
    1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
    1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L,
};

// The C library's reader in the "C" locale: the program's locale may use a
// comma as its decimal mark.
long double readWithCLocale(std::string_view digits) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string text(digits);
    return strtold_l(text.c_str(), nullptr, cLocale);
}

}  // namespace

long double numberValue(std::string_view digits) {
    // Most numbers have at most 19 digits and a small exponent: then the
    // digits are an exact integer, the power of ten is exact, and one
    // multiplication or division rounds correctly.
    std::uint64_t mantissa = 0;
    int digitCount = 0;
    int fractionDigits = 0;
    int exponent = 0;
    bool inFraction = false;
    bool exact = true;
    std::size_t i = 0;
    for (; i < digits.size(); ++i) {
        const auto c = static_cast<unsigned char>(digits[i]);
        if (c == '.') {
            inFraction = true;
            continue;
        }
        if (!isDigit(c)) break;
        if (mantissa != 0 || c != '0') ++digitCount;
        if (digitCount > 19) exact = false;
        mantissa = mantissa * 10 + (c - '0');
        if (inFraction) ++fractionDigits;
    }
    if (i < digits.size()) {  // exponent part: E or e, a sign, digits
        ++i;
        bool negative = false;
        if (i < digits.size() && (digits[i] == '+' || digits[i] == '-')) negative = digits[i++] == '-';
        for (; i < digits.size(); ++i) {
            exponent = exponent * 10 + (digits[i] - '0');
            if (exponent > 100000) exact = false;  // also keeps the sum from wrapping
            if (!exact) break;
        }
        if (negative) exponent = -exponent;
    }
    const int scale = exponent - fractionDigits;
    long double value;
    if (exact && scale >= 0 && scale < kExactPowers) {
        value = static_cast<long double>(mantissa) * kPow10[scale];
    } else if (exact && scale < 0 && -scale < kExactPowers) {
        value = static_cast<long double>(mantissa) / kPow10[-scale];
    } else {
        value = readWithCLocale(digits);
    }
    if (std::isinf(value)) throw ECalcFault(CalcFault::Overflow);
    return value;
}

std::size_t ExprScanner::scanNumberEnd(std::size_t pos) const {
    std::size_t p = pos;
    while (isDigit(byteAt(m_text, p))) ++p;
    // A point belongs to the number only when digits follow it.
    if (byteAt(m_text, p) != '.' || !isDigit(byteAt(m_text, p + 1))) return p;
    p += 2;
    while (isDigit(byteAt(m_text, p))) ++p;
    const unsigned char e = byteAt(m_text, p);
    if (e != 'E' && e != 'e') return p;
    std::size_t q = p + 1;
    if (byteAt(m_text, q) == '+' || byteAt(m_text, q) == '-') ++q;
    if (!isDigit(byteAt(m_text, q))) return p;  // the E starts an identifier instead
    while (isDigit(byteAt(m_text, q))) ++q;
    return q;
}

Token ExprScanner::next() {
    while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t')) ++m_pos;
    Token token;
    if (m_pos >= m_text.size()) {
        token.term = static_cast<int>(Term::End);
        return token;
    }
    const auto c = static_cast<unsigned char>(m_text[m_pos]);
    const std::size_t start = m_pos;

    if (isDigit(c) || (c == '.' && isDigit(byteAt(m_text, m_pos + 1)))) {
        m_pos = scanNumberEnd(m_pos);
        token.term = static_cast<int>(Term::Num);
        token.number = numberValue(m_text.substr(start, m_pos - start));
        return token;
    }
    if (isLetter(c)) {
        ++m_pos;
        while (m_pos < m_text.size()) {
            const auto d = static_cast<unsigned char>(m_text[m_pos]);
            if (isLetter(d) || isDigit(d)) {
                ++m_pos;
            } else if (sjis::isLeadByte(d) && sjis::isTrailByte(byteAt(m_text, m_pos + 1))) {
                m_pos += 2;
            } else {
                break;
            }
        }
        TSymData& symbol = SymbolTable::instance().findOrCreate(m_text.substr(start, m_pos - start));
        token.symbol = &symbol;
        switch (symbol.kind) {
        case SymKind::Variable: token.term = static_cast<int>(Term::Var); break;
        case SymKind::Function1: token.term = static_cast<int>(Term::Func1); break;
        case SymKind::Function2: token.term = static_cast<int>(Term::Func2); break;
        }
        return token;
    }

    ++m_pos;
    switch (c) {
    case '*':
        if (byteAt(m_text, m_pos) == '*') {
            ++m_pos;
            token.term = static_cast<int>(Term::Pow);
        } else {
            token.term = static_cast<int>(Term::Star);
        }
        break;
    case '+': token.term = static_cast<int>(Term::Plus); break;
    case '-': token.term = static_cast<int>(Term::Minus); break;
    case '/': token.term = static_cast<int>(Term::Slash); break;
    case '=': token.term = static_cast<int>(Term::Assign); break;
    case '(': token.term = static_cast<int>(Term::LParen); break;
    case ')': token.term = static_cast<int>(Term::RParen); break;
    case ',': token.term = static_cast<int>(Term::Comma); break;
    default: token.term = kUnexpected; break;  // line feed, '^', '.', any other byte
    }
    return token;
}

}  // namespace tabulo::calc::detail
