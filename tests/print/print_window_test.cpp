// Printing from the main window: Ctrl+P's dialog prints a Japanese document
// to the built-in PDF printer (read back with pdftotext, pdfinfo and
// pdffonts), previews it page by page, stops on the progress window's
// Cancel, and refuses empty documents and margins that leave no room.
#include "print/engine/line_cutter.h"
#include "print/engine/page_layout.h"
#include "print/engine/paper_table.h"
#include "print/window/printer_font_metrics.h"
#include "print/window/printer_glyphs.h"
#include "print/window/printer_setup_dialog.h"
#include "print/window/str_progress_form.h"
#include "print_window_fixture.h"
#include "support/cups_pdf_queue.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QStyle>
#include <QDate>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QTimer>
#include <QToolButton>

#include <cmath>

#include <pwd.h>
#include <unistd.h>

namespace tabulo::testing {
namespace {

std::vector<QString> japaneseLines(int count) {
    std::vector<QString> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back(QStringLiteral("第%1行　日本語の印刷見本です。").arg(i));
    return lines;
}

int pageCountOf(print::TfmPrint& dialog, const print::LineSource& lines) {
    dialog.copySettings();
    print::TMetaFileList list;
    dialog.StringsPrinter1.DivideStringsToMetaFiles(lines, list, QStringLiteral("count"));
    return list.Count();
}

TEST_F(PrintWindowTest, JapaneseDocumentToThePdfPrinter) {
    if (!poppler(QStringLiteral("pdftotext"), {QStringLiteral("-v")}))
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const std::vector<QString> lines = japaneseLines(130);
    openLines(lines, QStringLiteral("印刷見本.txt"));
    const QString pdf = path(QStringLiteral("out.pdf"));
    int expectedPages = 0;
    onPrint = [&](print::TfmPrint& dialog) {
        dialog.headerItems->button(1)->click();  // 左
        dialog.NumberCheckBox1->setChecked(true);
        std::vector<std::string> bytes;
        for (const QString& line : lines) bytes.push_back(sjis(line));
        expectedPages = pageCountOf(dialog, {bytes.size(), [&](std::size_t i) { return bytes[i]; }});
        prompts.queueFile(pdf);
        dialog.PrintButton->click();
    };
    run("Print1");
    ASSERT_EQ(prompts.records().size(), 1u) << prompts.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(prompts.records()[0].kind, platform::PromptKind::SaveFile);
    EXPECT_TRUE(prompts.records()[0].defaultText.endsWith(QStringLiteral("/印刷見本.pdf")));
    ASSERT_TRUE(QFile::exists(pdf));
    ASSERT_GT(expectedPages, 2);

    const QString info = poppler(QStringLiteral("pdfinfo"), {pdf}).value_or(QString());
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(expectedPages)))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("印刷見本.txt  - tabulo"))) << "job title: " << info.toStdString();

    const QString text = poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).value_or(QString());
    const QStringList pages = text.split(QLatin1Char('\f'));
    const QDate today = QDate::currentDate();
    const QString header = QStringLiteral("印刷見本.txt %1/%2/%3").arg(today.year()).arg(today.month()).arg(today.day());
    for (int page = 0; page < expectedPages; ++page) {
        EXPECT_TRUE(pages[page].contains(header)) << "page " << page + 1;
        EXPECT_TRUE(pages[page].contains(QStringLiteral("- %1 -").arg(page + 1))) << "page " << page + 1;
    }
    // pdftotext turns the full-width space into blanks; compare without them.
    QString compact = text;
    compact.remove(QLatin1Char(' ')).remove(QChar(0x3000));
    for (int i : {1, 65, 130})
        EXPECT_TRUE(compact.contains(QStringLiteral("\n%1:第%1行日本語の印刷見本です。\n").arg(i))) << "line " << i;
    // Lines keep their order down the pages.
    EXPECT_LT(text.indexOf(QStringLiteral("第1行")), text.indexOf(QStringLiteral("第2行")));
    EXPECT_EQ(pages.size(), expectedPages + 1);  // a form feed ends every page

    const QString fonts = poppler(QStringLiteral("pdffonts"), {pdf}).value_or(QString());
    const QStringList fontLines = fonts.split(QLatin1Char('\n')).filter(QStringLiteral("IPAMincho"));
    ASSERT_FALSE(fontLines.isEmpty()) << fonts.toStdString();
    for (const QString& line : fontLines)  // emb column
        EXPECT_TRUE(line.contains(QRegularExpression(QStringLiteral("\\syes\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$"))))
            << line.toStdString();
}

// Pages are replayed as glyph runs, a page's runs in one; they must look
// exactly like the text drawn by the toolkit's own layout, in the preview's
// small scale too.
TEST(PrinterGlyphs, DrawLikeLaidOutText) {
    const QFont font = print::printerFont(print::defaultPrintFont(), 600);
    struct Run {
        QPointF origin;
        std::string text;
    };
    const std::vector<Run> runs = {
        {{10.5, 110}, "Tabulo \x93\xFA\x96\x7B\x8C\xEA\x82\xCC editor 123.45\x81\x42\xB1\xB2 |\\~"},
        {{10.5, 200}, "\x83\x65\x83\x4C\x83\x58\x83\x67"},
        {{1500, 290}, "1234:"},
    };
    for (const double scale : {1.0, 0.17}) {
        QImage laidOut(QSize(2400, 320) * scale, QImage::Format_Grayscale8);
        QImage glyphs(laidOut.size(), QImage::Format_Grayscale8);
        laidOut.fill(Qt::white);
        glyphs.fill(Qt::white);
        {
            QPainter painter(&laidOut);
            painter.scale(scale, scale);
            painter.setFont(font);
            for (const Run& run : runs)
                painter.drawText(run.origin, print::sjisToQString(run.text));
        }
        {
            QPainter painter(&glyphs);
            painter.scale(scale, scale);
            print::PrinterGlyphs glyphRuns(font);
            for (const Run& run : runs)
                glyphRuns.draw(painter, run.origin, run.text);
            glyphRuns.flush(painter);
        }
        EXPECT_EQ(glyphs, laidOut) << "scale " << scale;
    }
}

// The layout measures a line as the toolkit lays it out in the print font
// (IPAMincho's half-width advance at 10 points on 600 dpi is not a whole
// dot), so a line exactly as wide as the column is one piece, and a dot
// less cuts it.
TEST(PrinterFontMetrics, ALineMeasuresAsTheToolkitLaysItOut) {
    const QFont font = print::printerFont(print::defaultPrintFont(), 600);
    const print::PrinterFontMetrics metrics(font);
    const print::LineCutter cutter(metrics);
    const QFontMetricsF toolkit(font);
    const std::string lines[] = {
        std::string(100, 'a'),
        "Tabulo \x93\xFA\x96\x7B\x8C\xEA\x82\xCC editor 123.45\x81\x42\xB1\xB2 |\\~",
    };
    for (const std::string& line : lines) {
        const qreal width = toolkit.horizontalAdvance(print::sjisToQString(line));
        EXPECT_NEAR(static_cast<double>(cutter.textAdvance(line)) / print::kAdvanceUnitsPerDot, width, 0.02) << line;
        const int column = static_cast<int>(std::ceil(width - 0.02));
        EXPECT_EQ(cutter.cut(line, column).size(), 1u) << line;
        EXPECT_EQ(cutter.cut(line, column - 1).size(), 2u) << line;
    }
}

// Leaving a margin field shows the whole number it counts as, 0 for none.
TEST_F(PrintWindowTest, LeavingAMarginFieldShowsItsNumber) {
    openLines(japaneseLines(3));
    struct Case {
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {{"", "0"}, {"007", "7"}, {"12", "12"}};
    onPrint = [&](print::TfmPrint& dialog) {
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        for (const Case& c : cases) {
            QSpinBox* field = dialog.MarginTopEdit;
            auto* edit = field->findChild<QLineEdit*>();
            field->setFocus();
            ASSERT_TRUE(QTest::qWaitFor([field] { return field->hasFocus(); }));
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, QString::fromLatin1(c.typed));
            dialog.MarginBottomEdit->setFocus();
            QApplication::processEvents();
            EXPECT_EQ(field->text(), QString::fromLatin1(c.shown)) << '"' << c.typed << '"';
        }
        dialog.hide();
    };
    run("Print1");
}

TEST_F(PrintWindowTest, PreviewOpensAtItsDesignedSize) {
    openLines(japaneseLines(3));
    onPrint = [](print::TfmPrint& dialog) { dialog.PreviewButton->click(); };
    QSize shown;
    onPreview = [&](print::TFormStrPreview& preview) {
        preview.show();
        QApplication::processEvents();
        shown = preview.size();
        preview.hide();
    };
    run("Print1");
    EXPECT_EQ(shown, QSize(520, 459));
}

TEST_F(PrintWindowTest, PreviewShowsEveryPage) {
    auto& w = openLines(japaneseLines(500));
    int pages = 0;
    std::vector<QString> labels;
    onPrint = [&](print::TfmPrint& dialog) {
        dialog.columnItems->button(1)->click();  // two columns
        EXPECT_TRUE(dialog.ColumnSpaceEdit->isEnabled());
        dialog.PreviewButton->click();
    };
    onPreview = [&](print::TFormStrPreview& preview) {
        labels.push_back(preview.PageLabel->text());
        EXPECT_FALSE(preview.PriorButton->isEnabled());
        preview.NextButton->click();
        labels.push_back(preview.PageLabel->text());
        preview.LastButton->click();
        labels.push_back(preview.PageLabel->text());
        EXPECT_FALSE(preview.NextButton->isEnabled());
        pages = preview.metaFileIndex() + 1;

        // 100%: the whole A4 sheet at the screen's resolution.
        const double ratio = preview.ratio();
        EXPECT_EQ(preview.image().width(), qRound(4961 * ratio));
        preview.WidthButton->click();
        const int scrollBar = preview.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        EXPECT_EQ(preview.image().width(),
                  preview.ScrollBox1->width() - 2 * preview.ScrollBox1->frameWidth() - scrollBar);
        preview.HeightButton->click();
        EXPECT_EQ(preview.image().height(),
                  preview.ScrollBox1->height() - 2 * preview.ScrollBox1->frameWidth() - scrollBar);
        // The page was drawn: dark pixels inside the image.
        preview.HundredButton->click();
        preview.FirstButton->click();
        const QImage image = preview.image();
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        EXPECT_GT(dark, 100);
    };
    run("_Print1");  // the tool button
    EXPECT_EQ(previews, 1);
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[0], QStringLiteral("  1 / %1").arg(pages, 3));
    EXPECT_EQ(labels[1], QStringLiteral("  2 / %1").arg(pages, 3));
    EXPECT_EQ(labels[2], QStringLiteral("%1 / %1").arg(pages, 3));
    EXPECT_TRUE(prompts.records().empty());
    (void)w;
}

TEST_F(PrintWindowTest, CancelInTheProgressWindowStopsTheLayout) {
    openLines(japaneseLines(3000));
    bool sawProgress = false;
    onPrint = [&](print::TfmPrint& dialog) {
        QTimer::singleShot(0, [&] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* progress = qobject_cast<print::TFormStrProgress*>(top); progress && progress->isVisible()) {
                    sawProgress = progress->windowTitle() == QStringLiteral("TStringsPrinter") &&
                                  progress->Label1->text() == QStringLiteral("プレビューを作成中");
                    progress->Button1->click();
                }
        });
        dialog.PreviewButton->click();
    };
    run("Print1");
    EXPECT_TRUE(sawProgress);
    EXPECT_EQ(previews, 0);
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(PrintWindowTest, EmptyDocumentNeitherPrintsNorPreviews) {
    auto& w = openLines({});
    w.document().Lines().SetText("");
    ASSERT_EQ(w.document().Lines().Count(), 0);
    onPrint = [&](print::TfmPrint& dialog) {
        dialog.PreviewButton->click();
        dialog.PrintButton->click();
    };
    run("Print1");
    EXPECT_EQ(previews, 0);
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(PrintWindowTest, MarginsWiderThanThePageAreRefused) {
    auto& w = openLines(japaneseLines(3));
    w.printerSettings().SetPaperSizeNumber(11);  // A5, 148 mm wide
    w.printerSettings().ApplySettings();
    onPrint = [&](print::TfmPrint& dialog) {
        dialog.MarginLeftEdit->setValue(100);
        dialog.MarginRightEdit->setValue(100);
        dialog.PreviewButton->click();
    };
    run("Print1");
    EXPECT_EQ(previews, 0);
    EXPECT_EQ(prompts.texts(), QStringList({QString::fromUtf8(print::kMarginsTooLarge)}));
}

TEST_F(PrintWindowTest, PrinterSetupChangesPaperAndOrientation) {
    auto& w = openLines(japaneseLines(3));
    QStringList labels;
    print::PageGeometry geometry;
    w.setDialogRunner([&](QDialog& dialog) {
        if (auto* print = qobject_cast<print::TfmPrint*>(&dialog)) {
            labels << print->PrinterLabel->text() << print->OrientationLabel->text() << print->PaperLabel->text();
            print->PrinterButton->click();
            labels << print->OrientationLabel->text() << print->PaperLabel->text();
            geometry = print->StringsPrinter1.geometry();
        } else if (auto* setup = qobject_cast<print::PrinterSetupDialog*>(&dialog)) {
            EXPECT_EQ(setup->PrinterCombo->currentText(), QStringLiteral("PDF"));
            setup->PaperCombo->setCurrentIndex(setup->PaperCombo->findText(QPageSize(QPageSize::A5).name()));
            setup->LandscapeButton->setChecked(true);
            setup->setResult(QDialog::Accepted);
        }
    });
    run("Print1");
    EXPECT_EQ(labels, QStringList({QStringLiteral("PDF"), QStringLiteral("poPortrait"), QStringLiteral("DMPAPER_A4"),
                                   QStringLiteral("poLandscape"), QStringLiteral("DMPAPER_A5")}));
    // A5 across at 600 dpi; the PDF page is whole points (595 x 420).
    EXPECT_EQ(geometry.pageWidth, 4958);
    EXPECT_EQ(geometry.pageHeight, 3500);
    EXPECT_TRUE(w.printerSettings().GetOrientation());
}

// Where the cups-pdf queue writes this user's jobs.
QStringList cupsPdfFolders() {
    const passwd* user = getpwuid(getuid());
    QStringList folders{QStringLiteral("/var/spool/cups-pdf/ANONYMOUS")};
    if (user)
        folders << QString::fromLocal8Bit(user->pw_dir) + QStringLiteral("/PDF");
    return folders;
}

QStringList pdfFilesIn(const QStringList& folders) {
    QStringList files;
    for (const QString& folder : folders)
        for (QDirIterator it(folder, {QStringLiteral("*.pdf")}, QDir::Files); it.hasNext();)
            files << it.next();
    return files;
}

TEST_F(PrintWindowTest, ThroughTheCupsPdfQueue) {
    if (const auto reason = cupsPdfQueueUnavailable())
        GTEST_SKIP() << reason->toStdString();
    if (!poppler(QStringLiteral("pdftotext"), {QStringLiteral("-v")}))
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString token = QStringLiteral("cupsjob%1x%2").arg(getpid()).arg(QDateTime::currentMSecsSinceEpoch());
    auto& w = openLines({token, QStringLiteral("スプーラ経由の印刷")}, token + QStringLiteral(".txt"));
    platform::TPrinterSettings& printer = w.printerSettings();
    printer.refreshPrinters();
    const QStringList names = printer.printerNames();
    int queue = -1;
    for (int i = 0; i < names.size() && queue < 0; ++i) {
        printer.SetIndex(i);
        if (names[i] == QStringLiteral("PDF") && !printer.currentIsBuiltinPdf())
            queue = i;
    }
    ASSERT_GE(queue, 0) << "the PDF queue is not listed: " << names.join(QLatin1Char(',')).toStdString();

    const QStringList before = pdfFilesIn(cupsPdfFolders());
    onPrint = [&](print::TfmPrint& dialog) {
        EXPECT_EQ(dialog.PrinterLabel->text(), QStringLiteral("PDF"));
        EXPECT_EQ(dialog.PaperLabel->text(), QString::fromLatin1(print::paperEntry(printer.record().paperSize).name));
        dialog.PrintButton->click();
    };
    run("Print1");
    EXPECT_TRUE(prompts.records().empty()) << prompts.texts().join(QLatin1Char('|')).toStdString();

    // The queue converts and writes the job in the background, naming the
    // file after the job's title (the window caption, holding the token).
    // Its converter re-encodes the fonts without their Unicode names, so
    // the text cannot be read back; the page count and title show the job.
    QString written;
    QElapsedTimer waited;
    waited.start();
    while (written.isEmpty() && waited.elapsed() < 60000) {
        for (const QString& file : pdfFilesIn(cupsPdfFolders()))
            if (!before.contains(file) && QFileInfo(file).fileName().contains(token))
                written = file;
        if (written.isEmpty())
            QTest::qWait(250);
    }
    ASSERT_FALSE(written.isEmpty()) << "no PDF from the queue in " << cupsPdfFolders().join(QLatin1Char(' ')).toStdString();
    QTest::qWait(500);  // the queue may still be writing
    const QString info = poppler(QStringLiteral("pdfinfo"), {written}).value_or(QString());
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
    QFile::remove(written);
}

}  // namespace
}  // namespace tabulo::testing
