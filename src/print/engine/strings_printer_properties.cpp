#include "print/engine/strings_printer_properties.h"

#include <algorithm>

namespace tabulo::print {
namespace {

constexpr int kMaxNumber = 999999;

void setClamped(int& field, int value, int low, int high) {
    field = std::clamp(value, low, high);
}

}  // namespace

void TStringsPrinterProperties::SetColumnCount(int value) { setClamped(m_columnCount, value, 1, 3); }
void TStringsPrinterProperties::SetColumnSpace(int value) { setClamped(m_columnSpace, value, 0, 100); }
void TStringsPrinterProperties::SetMarginLeft(int value) { setClamped(m_marginLeft, value, 0, 100); }
void TStringsPrinterProperties::SetMarginRight(int value) { setClamped(m_marginRight, value, 0, 100); }
void TStringsPrinterProperties::SetMarginTop(int value) { setClamped(m_marginTop, value, 0, 100); }
void TStringsPrinterProperties::SetMarginBottom(int value) { setClamped(m_marginBottom, value, 0, 100); }
void TStringsPrinterProperties::SetMarginLine(int value) { setClamped(m_marginLine, value, 0, 100); }
void TStringsPrinterProperties::SetFirstLineNumber(int value) { setClamped(m_firstLineNumber, value, 1, kMaxNumber); }
void TStringsPrinterProperties::SetFirstPageNumber(int value) { setClamped(m_firstPageNumber, value, 1, kMaxNumber); }
void TStringsPrinterProperties::SetStartLine(int value) { setClamped(m_startLine, value, 1, kMaxNumber); }
void TStringsPrinterProperties::SetLastLine(int value) { setClamped(m_lastLine, value, 1, kMaxNumber); }
void TStringsPrinterProperties::SetStartPage(int value) { setClamped(m_startPage, value, 1, kMaxNumber); }
void TStringsPrinterProperties::SetLastPage(int value) { setClamped(m_lastPage, value, 1, kMaxNumber); }

int TStringsPrinterProperties::pageNumberOf(int index) const {
    if (RangeOption == TStringsPrinterRangeOption::roLimited)
        return index + m_firstPageNumber - m_startPage + 1;
    return index + m_firstPageNumber;
}

bool TStringsPrinterProperties::isPagePrinted(int index) const {
    const bool inRange = RangeOption == TStringsPrinterRangeOption::roWhole ||
                         (m_startPage <= index + 1 && index + 1 <= m_lastPage);
    const int number = pageNumberOf(index);
    if (!inRange || number <= 0)
        return false;
    switch (PageOption) {
    case TStringsPrinterPageOption::poBoth: return true;
    case TStringsPrinterPageOption::poOdd: return number % 2 == 1;
    case TStringsPrinterPageOption::poEven: return number % 2 == 0;
    }
    return true;
}

}  // namespace tabulo::print
