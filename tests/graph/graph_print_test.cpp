// Printing the graph on the built-in PDF printer, then measuring the printed
// grid on the PDF rendered at 254 dots per inch (one pixel = 0.1 mm).
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "graph/window/func_window.h"
#include "graph/window/set_printer_dialog.h"
#include "graph/window/settings_graph_printer.h"
#include "platform/error_handler.h"
#include "platform/printer_settings.h"
#include "platform/scripted_prompts.h"

namespace tabulo::graph {
namespace {

struct Gray {
    int width = 0;
    int height = 0;
    QByteArray pixels;
    int at(int x, int y) const { return static_cast<unsigned char>(pixels[y * width + x]); }
};

// Reads a binary PGM (P5, 8 bits) as pdftoppm writes it.
Gray readPgm(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    QList<QByteArray> fields;
    qsizetype pos = 0;
    while (fields.size() < 4 && pos < bytes.size()) {
        while (pos < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[pos]))) ++pos;
        const qsizetype start = pos;
        while (pos < bytes.size() && !std::isspace(static_cast<unsigned char>(bytes[pos]))) ++pos;
        fields << bytes.mid(start, pos - start);
    }
    Gray image{fields.value(1).toInt(), fields.value(2).toInt(), bytes.mid(pos + 1)};
    if (fields.value(0) != "P5" || image.pixels.size() < qsizetype(image.width) * image.height) return {};
    return image;
}

// The x positions (pixels) of the vertical grid lines: the lines that run
// over most of the page, each the darkness-weighted centre of its columns,
// without the first and the last, the frame's sides.
std::vector<double> verticalLines(const Gray& page) {
    std::vector<double> darkness(page.width, 0.0);
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) darkness[x] += 255 - page.at(x, y);
    }
    const double threshold = 0.05 * 255 * page.height;
    std::vector<double> lines;
    for (int x = 0; x < page.width;) {
        if (darkness[x] < threshold) {
            ++x;
            continue;
        }
        double weight = 0;
        double sum = 0;
        for (; x < page.width && darkness[x] >= threshold; ++x) {
            weight += darkness[x];
            sum += darkness[x] * x;
        }
        lines.push_back(sum / weight);
    }
    if (lines.size() < 2) return {};
    return {lines.begin() + 1, lines.end() - 1};
}

class GraphPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::installPrompts(&prompts);
        settings.SetIndex(0);  // the built-in PDF printer comes first
        ASSERT_TRUE(settings.currentIsBuiltinPdf());
        window = std::make_unique<TfmFunc>(
            calc, printer, [] { return GraphKind::Function; }, [](GraphKind) {});
        setup = new TfmSetPrinter(settings, *window, window.get());
        window->setPrintSetup(setup);
        window->setDialogRunner([this](QDialog& dialog) {
            dialog.show();
            if (onDialog) onDialog(dialog);
            if (dialog.isVisible()) dialog.reject();
        });
        onDialog = [](QDialog& dialog) { dialog.findChild<QPushButton*>(QStringLiteral("btPrint"))->click(); };
    }
    void TearDown() override {
        window.reset();
        platform::installPrompts(nullptr);
    }

    // Prints and renders the page; the grid's vertical lines in 0.1 mm.
    std::vector<double> printAndMeasure(const QString& name) {
        const QString pdf = folder.filePath(name + QStringLiteral(".pdf"));
        prompts.queueFile(pdf);
        window->print();
        EXPECT_TRUE(QFile::exists(pdf));
        const QString base = folder.filePath(name);
        QProcess render;
        render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-gray"),
                                                  QStringLiteral("-singlefile"), pdf, base});
        EXPECT_TRUE(render.waitForFinished(60000));
        EXPECT_EQ(render.exitCode(), 0);
        return verticalLines(readPgm(base + QStringLiteral(".pgm")));
    }

    platform::ScriptedPrompts prompts;
    calc::TExprCompo calc;
    platform::TPrinterSettings settings;
    SettingsGraphPrinter printer{settings};
    std::unique_ptr<TfmFunc> window;
    TfmSetPrinter* setup = nullptr;
    std::function<void(QDialog&)> onDialog;
    QTemporaryDir folder;
};

TEST_F(GraphPrintTest, GridLinesArePrintedOneCentimetreApartAtTheDefaultsAndScaleWithP) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) {
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    }
    window->showGraph();
    window->expressionEdit().setText(QStringLiteral("sin(x)"));
    const std::vector<double> lines = printAndMeasure(QStringLiteral("p100"));
    // The printable width of A4 holds about 20 grid intervals.
    ASSERT_GE(lines.size(), 15u);
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_NEAR(lines[i] - lines[i - 1], 100.0, 1.0) << i;
    EXPECT_EQ(prompts.records().back().filter, QStringLiteral("PDF(*.pdf)|*.pdf"));

    auto* scale = window->findChild<QLineEdit*>(QStringLiteral("Edit2"));
    scale->setText(QStringLiteral("25"));
    QTest::keyClick(scale, Qt::Key_Return);
    ASSERT_EQ(window->scale(), 250);
    const std::vector<double> wide = printAndMeasure(QStringLiteral("p250"));
    ASSERT_GE(wide.size(), 5u);
    for (std::size_t i = 1; i < wide.size(); ++i) EXPECT_NEAR(wide[i] - wide[i - 1], 250.0, 1.0) << i;
}

TEST_F(GraphPrintTest, SetUpShowsThePrinterAndTheZoomSizesTheDrawingArea) {
    window->showGraph();
    const QSize printable = settings.printableSize();
    setup->prepare();
    EXPECT_EQ(setup->zoomText(), QStringLiteral("100.0%"));
    EXPECT_TRUE(setup->memoText().startsWith(QStringLiteral("印刷情報 (mm * 10)\n\n印字の範囲 (横") +
                                             QString::number(printable.width())));
    EXPECT_TRUE(setup->memoText().contains(QStringLiteral("DPI           = (600,600)")));
    auto* zoom = setup->findChild<QLineEdit*>(QStringLiteral("EditXY"));
    zoom->setText(QStringLiteral("50"));
    QTest::keyClick(zoom, Qt::Key_Return);
    EXPECT_EQ(setup->zoom(), 100);
    EXPECT_EQ(setup->zoomText(), QStringLiteral("50.0%"));
    setup->findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    EXPECT_EQ(window->drawingArea(), QSize(printable.width() / 2, printable.height() / 2));
    setup->setZoom(10);
    EXPECT_EQ(setup->zoomText(), QStringLiteral("5.0%"));
    setup->setZoom(200);

    // Choosing a paper applies it at once; "反 映" resizes the drawing area.
    auto* papers = setup->findChild<QComboBox*>(QStringLiteral("ComboBox2"));
    const int a5 = papers->findText(QStringLiteral("A5"));
    ASSERT_GE(a5, 0);
    papers->setCurrentIndex(a5);
    emit papers->activated(a5);
    EXPECT_EQ(settings.GetPaperSizeNumber(), 11);
    EXPECT_EQ(window->panelText(4), QStringLiteral("用紙:A5"));
    setup->findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    EXPECT_EQ(window->drawingArea(), settings.printableSize());
    EXPECT_LT(window->drawingArea().width(), printable.width());
    // Closing without "印　刷" prints nothing.
    onDialog = [](QDialog& dialog) { dialog.findChild<QPushButton*>(QStringLiteral("btExit"))->click(); };
    window->print();
    EXPECT_TRUE(prompts.records().empty());
}

}  // namespace
}  // namespace tabulo::graph
