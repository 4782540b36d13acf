// The graph window on the offscreen platform with scripted prompts and a
// printer whose printable page is A4's 200 x 287 mm.
#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "graph/engine/graph_kind.h"
#include "graph/window/clip_dialog.h"
#include "graph/window/func_window.h"
#include "graph/window/graph_paint_box.h"
#include "graph/window/graph_printer.h"
#include "platform/clipboard_picture.h"
#include "platform/error_handler.h"
#include "platform/scripted_prompts.h"

namespace tabulo::graph {
namespace {

class A4Printer : public GraphPrinter {
public:
    void choosePaper() override { ++chosen; }
    QString paperName() override { return QStringLiteral("A4"); }
    QSize printableSize() override { return {2000, 2870}; }
    bool configure(QPrinter&) override { return true; }
    int chosen = 0;
};

class FuncWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::installPrompts(&prompts);
        QGuiApplication::clipboard()->clear();
        window = std::make_unique<TfmFunc>(
            calc, printer, [this] { return kind; }, [this](GraphKind k) { kind = k; });
        window->setDialogRunner([this](QDialog& dialog) {
            dialog.show();
            if (onDialog) onDialog(dialog);
            if (dialog.isVisible()) dialog.reject();
        });
    }
    void TearDown() override {
        window.reset();
        platform::installPrompts(nullptr);
    }

    template <typename T>
    T* child(const char* name) {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void typeInto(const char* name, const QString& text) {
        auto* edit = child<QLineEdit>(name);
        edit->clear();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    QImage screen() const { return window->paintBox().image(); }
    static int blackPixels(const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) count += qGray(image.pixel(x, y)) < 64;
        }
        return count;
    }
    QString path(const QString& name) const { return folder.filePath(name); }
    void writeBytes(const QString& name, const QByteArray& bytes) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    platform::ScriptedPrompts prompts;
    calc::TExprCompo calc;
    A4Printer printer;
    GraphKind kind = GraphKind::Function;
    std::unique_ptr<TfmFunc> window;
    std::function<void(QDialog&)> onDialog;
    QTemporaryDir folder;
};

TEST_F(FuncWindowTest, ShowingPreparesThePageFromThePrinterAndTheZoom) {
    window->showGraph();
    EXPECT_EQ(printer.chosen, 1);
    EXPECT_EQ(window->drawingArea(), QSize(2000, 2870));
    EXPECT_EQ(window->origin(), QPoint(1000, 1435));
    EXPECT_EQ(window->paintBox().size(), QSize(800, 1148));
    EXPECT_EQ(window->panelText(0), QStringLiteral("印刷範囲 横200mm 縦287mm"));
    EXPECT_EQ(window->panelText(4), QStringLiteral("用紙:A4  右クリックでトリミング"));
    EXPECT_EQ(child<QLineEdit>("Edit2")->text(), QStringLiteral("10mm"));
    EXPECT_EQ(child<QLineEdit>("Edit3")->text(), QStringLiteral("200回"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("関数グラフ"));

    window->setZoom(100);
    window->resizeAndRedraw();
    EXPECT_EQ(window->drawingArea(), QSize(1000, 1435));
    EXPECT_EQ(window->panelText(0), QStringLiteral("印刷範囲 横100mm 縦144mm"));
}

TEST_F(FuncWindowTest, ScaleAndPrecisionFieldsTakeDigitsAndKeepTheirRanges) {
    window->showGraph();
    struct Case {
        const char* field;
        QString typed;
        int scale;
        int precision;
        QString shown;
    };
    const Case cases[] = {
        {"Edit2", QStringLiteral("25"), 250, 200, QStringLiteral("25mm")},
        {"Edit2", QStringLiteral("60"), 500, 200, QStringLiteral("50mm")},
        {"Edit2", QStringLiteral("0"), 500, 200, QStringLiteral("0")},  // ignored, text kept
        {"Edit2", QStringLiteral("1x2"), 120, 200, QStringLiteral("12mm")},  // the letter is refused
        {"Edit3", QStringLiteral("1000"), 120, 1000, QStringLiteral("1000回")},
        {"Edit3", QStringLiteral("5000"), 120, 1000, QStringLiteral("1000回")},
        {"Edit3", QStringLiteral("7"), 120, 7, QStringLiteral("7回")},
    };
    for (const Case& c : cases) {
        typeInto(c.field, c.typed);
        EXPECT_EQ(window->scale(), c.scale) << c.field << " " << c.typed.toStdString();
        EXPECT_EQ(window->precision(), c.precision) << c.typed.toStdString();
        EXPECT_EQ(child<QLineEdit>(c.field)->text(), c.shown) << c.typed.toStdString();
    }
    child<QSlider>("TrackBar1")->setValue(105);
    EXPECT_EQ(child<QLineEdit>("Edit2")->text(), QStringLiteral("10.5mm"));
}

TEST_F(FuncWindowTest, ControlsThatChangeTheDrawingRedrawIt) {
    window->showGraph();
    const QImage empty = screen();
    EXPECT_GT(blackPixels(empty), 0);  // axes and frame
    typeInto("Edit1", QStringLiteral("x"));
    const QImage line = screen();
    EXPECT_GT(blackPixels(line), blackPixels(empty));
    // The curve y = x passes through the middle of the drawing area.
    const double s = window->screenScale();
    const int at = static_cast<int>(1300 * s);  // page (1300, 1135), 3 units right, 3 up
    bool onCurve = false;
    for (int dy = -3; dy <= 3; ++dy) onCurve |= qGray(line.pixel(at, static_cast<int>(1135 * s) + dy)) < 64;
    EXPECT_TRUE(onCurve);

    child<QCheckBox>("CheckBox3")->click();  // labels off
    EXPECT_NE(screen(), line);
    child<QCheckBox>("CheckBox3")->click();
    EXPECT_EQ(screen(), line);
    child<QSpinBox>("CSpin")->setValue(3);  // thicker axes
    EXPECT_GT(blackPixels(screen()), blackPixels(line));
    child<QSpinBox>("CSpin")->setValue(1);
    child<QCheckBox>("CheckBox1")->click();  // grid: checked -> unchecked
    EXPECT_NE(screen(), line);
    typeInto("Edit2", QStringLiteral("25"));
    EXPECT_NE(screen(), line);
}

TEST_F(FuncWindowTest, LeftClickInsideMovesTheOriginAndOnTheEdgeDoesNothing) {
    window->showGraph();
    const double s = window->screenScale();
    QTest::mouseClick(&window->paintBox(), Qt::LeftButton, {}, QPoint(100, 200));
    EXPECT_EQ(window->origin(), QPoint(static_cast<int>(100 / s), static_cast<int>(200 / s)));
    const QPoint moved = window->origin();
    QTest::mouseClick(&window->paintBox(), Qt::LeftButton, {}, QPoint(0, 300));
    QTest::mouseClick(&window->paintBox(), Qt::LeftButton, {}, QPoint(static_cast<int>(2000 * s) + 1, 300));
    EXPECT_EQ(window->origin(), moved);
}

TEST_F(FuncWindowTest, RightDragShowsMeasuresAndCopiesTheRegionWithOrWithoutFrame) {
    window->showGraph();
    QWidget* box = &window->paintBox();
    struct Case {
        const char* frame;
        const char* button;
    };
    for (const Case c : {Case{"rbFrame", "btClipboard"}, Case{"rbNoFrame", "btClipboard"}}) {
        QGuiApplication::clipboard()->clear();
        QStringList seen;
        onDialog = [&](QDialog& dialog) {
            seen << window->panelText(1) << window->panelText(2) << window->panelText(3);
            dialog.findChild<QRadioButton*>(QString::fromLatin1(c.frame))->setChecked(true);
            dialog.findChild<QPushButton*>(QString::fromLatin1(c.button))->click();
        };
        QTest::mousePress(box, Qt::RightButton, {}, QPoint(300, 300));
        QMouseEvent move(QEvent::MouseMove, QPointF(250, 240), box->mapToGlobal(QPointF(250, 240)), Qt::NoButton,
                         Qt::RightButton, {});
        QApplication::sendEvent(box, &move);
        QTest::mouseRelease(box, Qt::RightButton, {}, QPoint(250, 240));
        // Up and left: the ratio is positive; 50/60 is not the page's 2000/2870.
        EXPECT_EQ(seen, (QStringList{QStringLiteral("X=50"), QStringLiteral("Y=60"), QStringLiteral("X/Y=0.83")}));
        const std::optional<QImage> copy = platform::clipboardPicture();
        ASSERT_TRUE(copy.has_value()) << c.frame;
        // One pixel more on the left and top than the band's smaller corner.
        EXPECT_EQ(copy->size(), QSize(51, 61));
        const bool framed = qGray(copy->pixel(1, 30)) < 64 && qGray(copy->pixel(25, 1)) < 64;
        EXPECT_EQ(framed, std::string(c.frame) == "rbFrame");
        EXPECT_TRUE(window->panelText(1).isEmpty());
    }
    // To a file without frame; "中止" copies nothing.
    prompts.queueFile(path(QStringLiteral("part.bmp")));
    onDialog = [](QDialog& dialog) {
        dialog.findChild<QRadioButton*>(QStringLiteral("rbNoFrame"))->setChecked(true);
        dialog.findChild<QPushButton*>(QStringLiteral("btFile"))->click();
    };
    QTest::mousePress(box, Qt::RightButton, {}, QPoint(10, 10));
    QTest::mouseRelease(box, Qt::RightButton, {}, QPoint(30, 40));
    EXPECT_EQ(QImage(path(QStringLiteral("part.bmp"))).size(), QSize(21, 31));
    QGuiApplication::clipboard()->clear();
    onDialog = [](QDialog& dialog) { dialog.findChild<QPushButton*>(QStringLiteral("btCancel"))->click(); };
    QTest::mousePress(box, Qt::RightButton, {}, QPoint(10, 10));
    QTest::mouseRelease(box, Qt::RightButton, {}, QPoint(30, 40));
    EXPECT_FALSE(platform::clipboardPicture().has_value());
}

TEST_F(FuncWindowTest, PicturesLoadFromJpegAndBmpAndBadFilesKeepTheOldOne) {
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(path(QStringLiteral("red.bmp")), "BMP"));
    window->showGraph();
    kind = GraphKind::Picture;
    EXPECT_TRUE(window->openPicture(path(QStringLiteral("red.bmp"))));
    EXPECT_EQ(window->picture().size(), QSize(40, 20));
    window->redraw();
    EXPECT_TRUE(window->pictureLayout());
    EXPECT_TRUE(window->expressionEdit().text().isEmpty());
    EXPECT_TRUE(child<QToolButton>("sbClipToPaint")->isVisibleTo(window.get()));
    EXPECT_FALSE(child<QLineEdit>("Edit1")->isVisibleTo(window.get()));
    // Stretched over the width of the area, anchored top-left.
    EXPECT_EQ(screen().pixel(10, 10), qRgb(255, 0, 0));

    // Save as JPEG, read back through libjpeg.
    prompts.queueFile(path(QStringLiteral("whole")));
    window->saveDrawing();
    ASSERT_TRUE(QFile::exists(path(QStringLiteral("whole.JPG"))));
    EXPECT_TRUE(window->openPicture(path(QStringLiteral("whole.JPG"))));
    EXPECT_EQ(window->picture().size(), window->paintBox().size());

    writeBytes(path(QStringLiteral("bad.jpg")), QByteArray("\xFF\xD8garbage", 9));
    QByteArray bmp2(70, '\0');  // a BMP header announcing 2 bits per pixel
    bmp2[0] = 'B';
    bmp2[1] = 'M';
    bmp2[10] = 62;
    bmp2[14] = 40;
    bmp2[18] = 4;
    bmp2[22] = 4;
    bmp2[26] = 1;
    bmp2[28] = 2;
    writeBytes(path(QStringLiteral("two.bmp")), bmp2);
    QByteArray huge = bmp2;  // 20000 x 20000 at 24 bits: refused, nothing allocated for it
    huge[18] = static_cast<char>(20000 & 0xFF);
    huge[19] = static_cast<char>(20000 >> 8);
    huge[22] = huge[18];
    huge[23] = huge[19];
    huge[28] = 24;
    writeBytes(path(QStringLiteral("huge.bmp")), huge);
    prompts.clear();
    EXPECT_FALSE(window->openPicture(path(QStringLiteral("bad.jpg"))));
    EXPECT_FALSE(window->openPicture(path(QStringLiteral("two.bmp"))));
    EXPECT_FALSE(window->openPicture(path(QStringLiteral("missing.jpeg"))));
    EXPECT_FALSE(window->openPicture(path(QStringLiteral("photo.png"))));
    EXPECT_FALSE(window->openPicture(path(QStringLiteral("huge.bmp"))));
    ASSERT_EQ(prompts.records().size(), 5u);
    EXPECT_TRUE(prompts.texts()[0].startsWith(path(QStringLiteral("bad.jpg")) + QStringLiteral(": JPEG を読み込めません")))
        << prompts.texts()[0].toStdString();
    EXPECT_EQ(prompts.texts()[3], path(QStringLiteral("photo.png")) + QStringLiteral(" はサポートされていない画像形式です"));
    EXPECT_TRUE(prompts.texts()[4].contains(QStringLiteral("huge.bmp")) ||
                prompts.texts()[4] == QStringLiteral("画像が大きすぎます（6400万画素まで）"));
    EXPECT_EQ(window->picture().size(), window->paintBox().size());
    // The open dialog, cancelled.
    prompts.queueFile(std::nullopt);
    EXPECT_FALSE(window->openPicture(QString()));
    EXPECT_EQ(prompts.records().back().filter,
              QStringLiteral("グラフィック（*.BMP *.JPG *.JPEG）|*.BMP;*.JPG;*.JPEG"));
}

TEST_F(FuncWindowTest, PastingTakesTheClipboardPictureOrSaysThereIsNone) {
    window->showGraph();
    window->pastePicture();
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("クリップボードに画像がありません")});
    EXPECT_TRUE(window->picture().isNull());
    QImage blue(30, 30, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    platform::setClipboardPicture(blue);
    window->pastePicture();
    EXPECT_EQ(window->picture().size(), QSize(30, 30));
}

TEST_F(FuncWindowTest, SaveNamesFollowTheDialogRules) {
    window->showGraph();
    prompts.queueFile(path(QStringLiteral("graph.png")));
    window->saveDrawing();
    EXPECT_EQ(prompts.texts().back(), QStringLiteral("サポートしていないフォーマットです！"));
    writeBytes(path(QStringLiteral("old.bmp")), "old");
    prompts.clear();
    prompts.queueFile(path(QStringLiteral("old.bmp")));
    prompts.queueAnswer(platform::Answer::Cancel);
    window->saveDrawing();
    // The file dialog leaves the question to the window: it is asked once.
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_FALSE(prompts.records().front().askOverwrite);
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("同名のファイルが存在しています。上書きしますか？"));
    EXPECT_EQ(prompts.records().back().buttons, platform::Buttons::YesCancel);
    QFile old(path(QStringLiteral("old.bmp")));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));
    prompts.queueFile(path(QStringLiteral("old.bmp")));
    prompts.queueAnswer(platform::Answer::Yes);
    window->saveDrawing();
    EXPECT_EQ(QImage(path(QStringLiteral("old.bmp"))).size(), window->paintBox().size());
    EXPECT_EQ(prompts.records().front().filter,
              QStringLiteral("Jprg(*.jpg *.jpeg)|*.jpg;*.jpeg|BMP(*.bmp)|*.bmp"));
}

// The file system refuses the bytes (a file-size limit of 200 bytes): the
// message names the file and the system's reason, and no file is left.
TEST_F(FuncWindowTest, AFailedPictureWriteSaysTheSystemsReason) {
    window->showGraph();
    for (const char* name : {"full.bmp", "full.jpg"}) {
        prompts.clear();
        prompts.queueFile(path(QString::fromLatin1(name)));
        rlimit old {};
        ::getrlimit(RLIMIT_FSIZE, &old);
        const rlimit small{200, old.rlim_max};
        ::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &small);
        platform::runGuarded(prompts, [&] { window->saveDrawing(); });
        ::setrlimit(RLIMIT_FSIZE, &old);
        ::signal(SIGXFSZ, SIG_DFL);
        ASSERT_FALSE(prompts.texts().isEmpty()) << name;
        EXPECT_EQ(prompts.texts().back(), path(QString::fromLatin1(name)) + QStringLiteral(" に書き込めません: ") +
                                              QString::fromLocal8Bit(std::strerror(EFBIG)))
            << prompts.texts().join(QLatin1Char('|')).toStdString();
        EXPECT_FALSE(QFile::exists(path(QString::fromLatin1(name)))) << name;
    }
}

TEST_F(FuncWindowTest, AnOverLongSpecificationIsReportedOnceAndDrawsNoCurve) {
    window->showGraph();
    const QImage empty = screen();
    window->expressionEdit().setText(QString(1100, u'1'));
    window->redraw();
    window->redraw();
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("関数式が長すぎます（全体で1022バイトまでです）")});
    EXPECT_EQ(screen(), empty);
}

TEST_F(FuncWindowTest, ClosingSetsTheKindBackToFunctionAndRestoresTheGraphLayout) {
    kind = GraphKind::Picture;
    window->showGraph();
    EXPECT_TRUE(window->pictureLayout());
    window->close();
    EXPECT_EQ(kind, GraphKind::Function);
    EXPECT_FALSE(window->pictureLayout());
}

}  // namespace
}  // namespace tabulo::graph
