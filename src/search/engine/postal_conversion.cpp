#include "search/engine/postal_conversion.h"

#include <algorithm>
#include <filesystem>

#include "regex/sjis.h"
#include "regex/txt_file.h"
#include "search/engine/postal_messages.h"
#include "textops/trim_blanks.h"

namespace tabulo::search {
namespace {

constexpr std::size_t kCodeLength = 7;
constexpr std::size_t kLineLimit = 128;  // address lines stop growing here
constexpr std::size_t kCodeField = 2, kPrefectureField = 6, kCityField = 7, kTownField = 8;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t charLength(std::string_view text, std::size_t at) {
    return regex::isLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

std::size_t charCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += charLength(text, i)) ++count;
    return count;
}

// Bytes of the first `count` characters of text (all of it when shorter).
std::size_t prefixBytes(std::string_view text, std::size_t count) {
    std::size_t i = 0;
    for (; i < text.size() && count > 0; --count) i += charLength(text, i);
    return i;
}

// Position of the first occurrence of word that starts on a character
// boundary, so the trail byte of one character and the lead byte of the
// next never pass for a word.
std::size_t findWord(std::string_view text, std::string_view word, std::size_t from = 0) {
    for (std::size_t i = from; i < text.size(); i += charLength(text, i)) {
        if (text.substr(i, word.size()) == word) return i;
    }
    return std::string_view::npos;
}

void replaceUntilGone(std::string& text, std::string_view word, std::string_view by) {
    for (std::size_t at = findWord(text, word); at != std::string::npos; at = findWord(text, word)) {
        text.replace(at, word.size(), by);
    }
}

// Inserts at a 0-based byte position; past the end appends.
void insertAt(std::string& text, std::size_t at, std::string_view what) {
    text.insert(std::min(at, text.size()), what);
}

std::string removeQuotes(const std::string& record) {
    std::string out;
    out.reserve(record.size());
    std::copy_if(record.begin(), record.end(), std::back_inserter(out), [](char c) { return c != '"'; });
    return out;
}

}  // namespace

std::string_view postalMessage(PostalStatus status) {
    switch (status) {
    case PostalStatus::EmptyLine: return {};
    case PostalStatus::NotFound: return postal::kNotFound;
    case PostalStatus::Converted: return {};
    case PostalStatus::WholeCity: return postal::kWholeCity;
    case PostalStatus::TooMany: return postal::kTooMany;
    case PostalStatus::MissingFile: return postal::kMissingFile;
    case PostalStatus::BadAddress: return postal::kBadAddress;
    }
    return {};
}

PostalConverter::PostalConverter() {
    for (regex::TGrep* grep : {&m_codeGrep, &m_addressGrep}) {
        grep->SetUseFuzzyCharDic(false);
        grep->SetUseSynonymDic(false);
    }
    m_fieldSplitter.SetUseFuzzyCharDic(false);
    m_fieldSplitter.SetUseSynonymDic(false);
    m_fieldSplitter.SetRegExp(",");
}

void PostalConverter::setEventPump(std::function<void()> pump) {
    m_codeGrep.setEventPump(pump);
    m_addressGrep.setEventPump(std::move(pump));
}

PostalStatus PostalConverter::convert(std::string& line, const std::string& postalFile) {
    m_addressGrep.SetCancel(false);
    m_status = PostalStatus::NotFound;
    if (line.empty()) return PostalStatus::EmptyLine;
    std::error_code error;
    if (!std::filesystem::is_regular_file(postalFile, error)) return PostalStatus::MissingFile;
    if (!m_warm) warmUp(postalFile);

    std::string s = line;
    if (charCount(s) >= kCodeLength && std::all_of(s.begin(), s.begin() + 3, isDigit)) {
        if (s[3] == '-') s.erase(3, 1);
        // The first seven characters of what is left: 150-000 searches for
        // 150000, which the codes 0150000 and 1500000 hold. Anything but
        // digits would be searched as a pattern and could match other fields
        // or many records; no code holds it.
        const std::string code = s.substr(0, prefixBytes(s, kCodeLength));
        if (std::all_of(code.begin(), code.end(), isDigit)) convertCode(line, code, postalFile);
        return m_status;
    }

    std::string q(textops::trimBlanks(s));
    replaceUntilGone(q, postal::kOaza, " ");
    replaceUntilGone(q, postal::kFullWidthSpace, " ");
    replaceUntilGone(q, "  ", " ");
    replaceUntilGone(q, std::string(postal::kGun) + " ", postal::kGun);
    const auto spaces = std::count(q.begin(), q.end(), ' ');
    if (spaces == 0 || spaces >= 3) return PostalStatus::BadAddress;
    // Prefecture and city alone can only mean the whole-city record.
    if (spaces == 1) q += std::string(" ") + postal::kWholeCityTown;
    // The names become three consecutive quoted fields, the town a prefix.
    std::string pattern;
    for (char c : q) pattern += c == ' ' ? std::string("\",\"") : std::string(1, c);
    convertAddress(line, pattern, postalFile);
    return m_status;
}

void PostalConverter::warmUp(const std::string& postalFile) {
    m_warm = true;
    try {
        m_codeGrep.SetOnMatch([](regex::TGrep&, const regex::RE_LineInfo_t&) {});
        m_codeGrep.SetRegExp("");  // an empty literal reports no line: the pass only reads
        m_codeGrep.GrepFile(postalFile);
    } catch (...) {
        m_warm = false;
        throw;
    }
}

// Splits a record into m_fields; false for a record too short to use.
bool PostalConverter::readRecord(const std::string& record) {
    m_fieldSplitter.Split(regex::TAWKStr::ExpandEscapes(removeQuotes(record)), m_fields);
    return m_fields.size() > kTownField;
}

void PostalConverter::convertCode(std::string& line, const std::string& code, const std::string& postalFile) {
    const std::string original = line;
    bool written = false;
    // A code shared by several towns gets the first record's address: the
    // line has room for one address where the user put the code.
    m_codeGrep.SetOnMatch([&](regex::TGrep&, const regex::RE_LineInfo_t& hit) {
        if (written || !readRecord(hit.Line) || m_fields[kCodeField].find(code) == std::string::npos) return;
        const std::string address = m_fields[kPrefectureField] + m_fields[kCityField] + m_fields[kTownField];
        std::string t = original;
        // After the code and the whole character that follows it.
        if (t[3] == '-') {
            insertAt(t, 8 < t.size() ? 8 + charLength(t, 8) : 9, address);
        } else {
            insertAt(t, 7 < t.size() ? 7 + charLength(t, 7) : 8, address);
            t.insert(3, "-");
        }
        m_status = PostalStatus::Converted;
        if (const std::size_t at = findWord(t, postal::kWholeCityTown); at != std::string::npos) {
            t.erase(at, std::string_view(postal::kWholeCityTown).size());
            m_status = PostalStatus::WholeCity;
        }
        line = postal::kPostalMark + t;
        written = true;
    });
    m_codeGrep.SetRegExp(code);
    m_codeGrep.GrepFile(postalFile);
}

void PostalConverter::convertAddress(std::string& line, const std::string& pattern, const std::string& postalFile) {
    m_addressGrep.SetOnMatch([&](regex::TGrep& grep, const regex::RE_LineInfo_t& hit) {
        if (grep.Cancel() || !readRecord(hit.Line)) return;
        std::string code = m_fields[kCodeField];
        insertAt(code, 3, "-");
        std::string t = line;
        m_status = m_fields[kTownField] == postal::kWholeCityTown ? PostalStatus::WholeCity : PostalStatus::Converted;
        if (t.size() > kLineLimit) {
            grep.SetCancel(true);
            t += postal::kTooManySuffix;
            m_status = PostalStatus::TooMany;
        }
        line = postal::kPostalMark + code + "  " + t;
    });
    m_addressGrep.SetRegExp(pattern);
    try {
        m_addressGrep.GrepFile(postalFile);
    } catch (const regex::EGrepCancel&) {
        // the line is full: the handler stopped the search
    }
}

}  // namespace tabulo::search
