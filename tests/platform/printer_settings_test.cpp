// The printer-settings object over printers the test makes up (a hidden one,
// one without colour, one without paper information), and over the system's
// printers for the built-in PDF printer.
#include "platform/printer_settings.h"

#include <gtest/gtest.h>

#include <QPrinter>

#include <map>

namespace tabulo::platform {
namespace {

struct FakePrinter {
    PrinterEntry entry;
    DeviceSettings defaults;
    PrinterCapabilities caps;
    QMarginsF margins;
};

class FakeBackend : public PrinterBackend {
public:
    explicit FakeBackend(std::vector<FakePrinter> printers) : m_printers(std::move(printers)) {}

    std::vector<FakePrinter> m_printers;
    int m_defaultIndex = 0;
    int m_capabilityQueries = 0;

    TAllPrintersInfo printers() override {
        std::vector<PrinterEntry> entries;
        for (const auto& p : m_printers)
            entries.push_back(p.entry);
        return TAllPrintersInfo(entries);
    }
    int defaultPrinter(const TAllPrintersInfo& list) override {
        return m_defaultIndex < list.count() ? m_defaultIndex : list.count() - 1;
    }
    const FakePrinter& find(const PrinterEntry& e) const {
        for (const auto& p : m_printers)
            if (p.entry == e)
                return p;
        throw std::logic_error("unknown printer");
    }
    DeviceSettings defaults(const PrinterEntry& e) override { return find(e).defaults; }
    PrinterCapabilities capabilities(const PrinterEntry& e) override {
        ++m_capabilityQueries;
        return find(e).caps;
    }
    QMarginsF minimumMargins(const PrinterEntry& e, const QPageSize&, QPageLayout::Orientation) override {
        return find(e).margins;
    }
    bool isAvailable(const PrinterEntry& e) override {
        for (const auto& p : m_printers)
            if (p.entry == e)
                return true;
        return false;
    }
};

constexpr int kLetter = 1;
constexpr int kA4 = 9;
constexpr int kA5 = 11;

DeviceSettings settingsWith(std::uint32_t fields, int paper) {
    DeviceSettings s;
    s.fields = fields;
    s.paperSize = paper;
    s.printQuality = 600;
    s.yResolution = 600;
    return s;
}

constexpr std::uint32_t kBasic = DeviceSettings::Orientation | DeviceSettings::PaperSize |
                                 DeviceSettings::PrintQuality | DeviceSettings::YResolution;

// "Hidden" (hidden bit), "Mono" (no colour, no paper list), "Colour" (A4,
// Letter, 5 mm border all round).
std::vector<FakePrinter> threePrinters() {
    return {
        {{QStringLiteral("Hidden"), TAllPrintersInfo::kHidden, false}, settingsWith(kBasic, kA4), {}, {}},
        {{QStringLiteral("Mono"), 0, false}, settingsWith(kBasic, kA4), {}, {}},
        {{QStringLiteral("Colour"), 0, false},
         settingsWith(kBasic | DeviceSettings::Color | DeviceSettings::Scale, kA4),
         {{kA4, kLetter}, {QStringLiteral("A4"), QStringLiteral("Letter")}, {}, {600}, 0},
         QMarginsF(5, 5, 5, 5)},
    };
}

struct Settings {
    FakeBackend* backend = nullptr;
    std::unique_ptr<TPrinterSettings> settings;

    explicit Settings(std::vector<FakePrinter> printers, int defaultIndex = 2) {
        auto fake = std::make_unique<FakeBackend>(std::move(printers));
        fake->m_defaultIndex = defaultIndex;
        backend = fake.get();
        settings = std::make_unique<TPrinterSettings>(std::move(fake));
    }
    TPrinterSettings* operator->() { return settings.get(); }
};

template <typename Error, typename Call>
void expectError(Call call, const char* message) {
    try {
        call();
        ADD_FAILURE() << "no error; expected " << message;
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), message);
    }
}

TEST(PrinterSettings, HiddenPrintersCountNowhere) {
    Settings s(threePrinters());
    EXPECT_EQ(s->printerNames(), QStringList({QStringLiteral("Mono"), QStringLiteral("Colour")}));
    EXPECT_EQ(s->GetIndex(), 1);
    s->SetIndex(0);
    EXPECT_EQ(s->currentPrinter()->name, QStringLiteral("Mono"));
    EXPECT_EQ(s->GetIndex(), 0);

    Settings onHidden(threePrinters(), 0);
    expectError<EPrinterIllegalIndex>([&] { onHidden->GetIndex(); },
                                      "TPrinterSettings::GetIndex: Printers.PrinterIndex is Illegal");
}

TEST(PrinterSettings, IndexOutOfRange) {
    Settings s(threePrinters());
    for (int bad : {-2, 2, 3})
        expectError<EPrinterRangeError>([&] { s->SetIndex(bad); }, "TPrinterSettings::SetIndex: Index is out of Range");
    s->SetIndex(-1);
    EXPECT_EQ(s->GetIndex(), -1);
}

TEST(PrinterSettings, NoVisiblePrinter) {
    std::vector<FakePrinter> onlyHidden = {threePrinters()[0]};
    Settings s(onlyHidden, 0);
    const char* message = "TPrinterSettings::CheckNoPrinter: No Printer";
    expectError<EPrinterNoPrinter>([&] { s->printerNames(); }, message);
    expectError<EPrinterNoPrinter>([&] { s->GetPaperSizeNumber(); }, message);
    expectError<EPrinterNoPrinter>([&] { s->ApplySettings(); }, message);
    Settings none({}, -1);
    expectError<EPrinterNoPrinter>([&] { none->GetIndex(); }, message);
}

TEST(PrinterSettings, FieldsThePrinterLacks) {
    Settings s(threePrinters());
    s->SetIndex(0);  // Mono
    expectError<EPrinterNotSupported>([&] { s->GetColor(); }, "TPrinterSettings::GetColor: Color is not Supported");
    expectError<EPrinterNotSupported>([&] { s->SetColor(true); }, "TPrinterSettings::SetColor: Color is not Supported");
    const char* noInfo = "TPrinterSettings::GetPaperSizeNames: No PaperSize Info Available";
    expectError<EPrinterNoInfo>([&] { s->GetPaperSizeNames(); }, noInfo);
    expectError<EPrinterNoInfo>([&] { s->HasPaperNumber(kA4); },
                                "TPrinterSettings::HasPaperNumber: No PaperSize Info Available");
    EXPECT_EQ(s->scale(), 100);  // no scale field
}

TEST(PrinterSettings, PaperCodesAndIndexes) {
    Settings s(threePrinters());
    EXPECT_EQ(s->GetPaperSizeNames(), QStringList({QStringLiteral("A4"), QStringLiteral("Letter")}));
    EXPECT_TRUE(s->HasPaperNumber(kLetter));
    EXPECT_FALSE(s->HasPaperNumber(kA5));
    EXPECT_EQ(s->GetPaperSizeIndex(), 0);
    s->SetPaperSizeIndex(1);
    EXPECT_EQ(s->GetPaperSizeNumber(), kLetter);
    expectError<EPrinterPaperSizeError>([&] { s->SetPaperSizeIndex(2); },
                                        "TPrinterSettings::SetPaperSizeIndex: No such PaperSize Index");
    s->SetPaperSizeNumber(kA5);  // a paper the printer lacks is taken as asked
    expectError<EPrinterPaperSizeError>([&] { s->GetPaperSizeIndex(); },
                                        "TPrinterSettings::GetPaperSizeIndex: Cannot Get Paper Index");
    // Capabilities are read once per printer.
    EXPECT_EQ(s.backend->m_capabilityQueries, 1);
}

TEST(PrinterSettings, CopyReachesThePrinterOnlyWhenApplied) {
    Settings s(threePrinters());
    s->SetPaperSizeNumber(kA4);  // the current value
    s->SetOrientation(false);
    s->SetColor(false);          // monochrome is the default record
    EXPECT_FALSE(s->changed());
    s->ApplySettings();

    s->SetOrientation(true);
    EXPECT_TRUE(s->changed());
    EXPECT_TRUE(s->GetOrientation());
    // Measures follow the applied record, not the copy.
    EXPECT_EQ(s->printableSize(), QSize(2000, 2870));
    s->ApplySettings();
    EXPECT_FALSE(s->changed());
    EXPECT_TRUE(s->GetOrientation());
    EXPECT_EQ(s->printableSize(), QSize(2870, 2000));

    // SetIndex brings the printer's defaults back.
    s->SetIndex(1);
    EXPECT_FALSE(s->GetOrientation());
}

TEST(PrinterSettings, Measures) {
    Settings s(threePrinters());
    EXPECT_EQ(s->resolution(), QSize(600, 600));
    EXPECT_EQ(s->printableSize(), QSize(2000, 2870));
    EXPECT_EQ(s->paperSize(), QSize(2100, 2970));
    EXPECT_EQ(s->offset(), QPoint(118, 118));  // 5 mm at 600 dpi
    EXPECT_EQ(s->colorBits(), 1);
    s->SetColor(true);
    s->ApplySettings();
    EXPECT_EQ(s->colorBits(), 24);
    const TPrinterSettings::Quality quality = s->GetQuality();
    EXPECT_EQ(quality.quality, 600);
    EXPECT_EQ(quality.yResolution, 600);
}

TEST(PrinterSettings, RefreshNoticesChangedPrinters) {
    Settings s(threePrinters());
    int changes = 0;
    s->OnChange = [&] { ++changes; };
    s->SetOrientation(true);
    s->ApplySettings();
    s->refreshPrinters();
    EXPECT_EQ(changes, 0);

    // Another printer appears: the current one keeps its record.
    s.backend->m_printers.push_back({{QStringLiteral("New"), 0, false}, settingsWith(kBasic, kA4), {}, {}});
    s->refreshPrinters();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(s->currentPrinter()->name, QStringLiteral("Colour"));
    EXPECT_TRUE(s->GetOrientation());

    // The current one vanishes: the default printer takes over.
    s.backend->m_printers.erase(s.backend->m_printers.begin() + 2);
    s.backend->m_defaultIndex = 1;
    s->refreshPrinters();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(s->currentPrinter()->name, QStringLiteral("Mono"));
}

TEST(PrinterSettings, VanishedPrinterRefusesTheJob) {
    Settings s(threePrinters());
    s.backend->m_printers.pop_back();  // gone, but not re-read yet
    QPrinter printer;
    expectError<EPrinterNoPrinter>([&] { s->configure(printer); }, "TPrinterSettings::StartJob: No Printer Colour");
}

TEST(PrinterSettings, BuiltinPdfPrinterIsAlwaysThere) {
    TPrinterSettings s;
    ASSERT_FALSE(s.printerNames().isEmpty());
    EXPECT_EQ(s.printerNames().front(), QStringLiteral("PDF"));
    s.SetIndex(0);
    EXPECT_TRUE(s.currentIsBuiltinPdf());
    EXPECT_TRUE(s.GetColor());
    EXPECT_EQ(s.GetPaperSizeNumber(), kA4);
    EXPECT_TRUE(s.HasPaperNumber(43));  // Japanese postcard
    EXPECT_EQ(s.GetPaperSizeNames().size(), 9);
    EXPECT_EQ(s.printableSize(), QSize(2100, 2970));
    EXPECT_EQ(s.offset(), QPoint(0, 0));

    s.SetPaperSizeNumber(kA5);
    s.SetOrientation(true);
    s.ApplySettings();
    QPrinter printer(QPrinter::HighResolution);
    s.configure(printer);
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.resolution(), 600);
    // A5 landscape; PDF pages are whole points (595 x 420).
    EXPECT_EQ(printer.pageRect(QPrinter::DevicePixel).toRect().size(), QSize(4958, 3500));
    EXPECT_EQ(s.pageLayout().paintRectPixels(600).size(), QSize(4958, 3500));
}

}  // namespace
}  // namespace tabulo::platform
