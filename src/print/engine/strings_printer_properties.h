// The settings of the text printer (everything but the font): columns,
// margins in millimetres, header and footer templates with their alignment,
// line numbers, and the line, page and odd/even ranges. Each setter keeps
// its value inside the range the printer accepts.
#pragma once

#include <string>

namespace tabulo::print {

enum class TStringsPrinterHeaderAlign { haNone, haLeft, haCenter, haRight };
enum class TStringsPrinterRangeOption { roWhole, roLimited };
enum class TStringsPrinterPageOption { poBoth, poOdd, poEven };

class TStringsPrinterProperties {
public:
    int ColumnCount() const { return m_columnCount; }
    void SetColumnCount(int value);
    int ColumnSpace() const { return m_columnSpace; }
    void SetColumnSpace(int value);
    int MarginLeft() const { return m_marginLeft; }
    void SetMarginLeft(int value);
    int MarginRight() const { return m_marginRight; }
    void SetMarginRight(int value);
    int MarginTop() const { return m_marginTop; }
    void SetMarginTop(int value);
    int MarginBottom() const { return m_marginBottom; }
    void SetMarginBottom(int value);
    int MarginLine() const { return m_marginLine; }
    void SetMarginLine(int value);

    // Templates and file name are Shift-JIS bytes.
    std::string Header;
    std::string Footer;
    TStringsPrinterHeaderAlign HeaderAlign = TStringsPrinterHeaderAlign::haNone;
    TStringsPrinterHeaderAlign FooterAlign = TStringsPrinterHeaderAlign::haNone;
    bool LineNumber = false;
    std::string FileName;

    int FirstLineNumber() const { return m_firstLineNumber; }
    void SetFirstLineNumber(int value);
    int FirstPageNumber() const { return m_firstPageNumber; }
    void SetFirstPageNumber(int value);

    TStringsPrinterRangeOption LineRangeOption = TStringsPrinterRangeOption::roWhole;
    int StartLine() const { return m_startLine; }
    void SetStartLine(int value);
    int LastLine() const { return m_lastLine; }
    void SetLastLine(int value);

    TStringsPrinterRangeOption RangeOption = TStringsPrinterRangeOption::roWhole;
    int StartPage() const { return m_startPage; }
    void SetStartPage(int value);
    int LastPage() const { return m_lastPage; }
    void SetLastPage(int value);

    TStringsPrinterPageOption PageOption = TStringsPrinterPageOption::poBoth;

    // The number page `index` (0-based) of a layout carries.
    int pageNumberOf(int index) const;
    // Whether page `index` goes to the printer under the page range and the
    // odd/even option.
    bool isPagePrinted(int index) const;

private:
    int m_columnCount = 1;
    int m_columnSpace = 4;
    int m_marginLeft = 0;
    int m_marginRight = 0;
    int m_marginTop = 0;
    int m_marginBottom = 0;
    int m_marginLine = 0;
    int m_firstLineNumber = 1;
    int m_firstPageNumber = 1;
    // The line range starts unset; the setters keep later values in 1..999999.
    int m_startLine = 0;
    int m_lastLine = 0;
    int m_startPage = 1;
    int m_lastPage = 999999;
};

}  // namespace tabulo::print
