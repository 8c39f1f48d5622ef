// What is shown, taken out of the window: saved as a file, copied and printed, in the display
// modes with their own pictures.

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include "AppFixture.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/WidgetDialogHost.h"
#include "import/BmpWriter.h"
#include "import/PngWriter.h"
#include "linesearch/CutLineOverlay.h"
#include "support/TestPictures.h"
#include "view/ZantrelView.h"

namespace zantrel {

namespace {

// Two flat colours on either side of the diagonal: a few cut lines, and a colour picture that
// differs from its gray one.
std::uint32_t Diagonal(int row, int col) {
    return row > col ? 0x3C5A78 : 0xBE9A7C;
}

class ShownPictureCommands : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        m_host.onExec = AnswerParameters(QStringLiteral("1"), QStringLiteral("4"));
        m_app->InitInstance({});
        EXPECT_FALSE(Action(ID_SAVE_SHOWN).isEnabled());
        EXPECT_FALSE(Action(ID_EDIT_COPY).isEnabled());
        m_host.fileAnswers.push_back(WritePicture(QStringLiteral("diagonal.bmp"), Diagonal));
        for (int id : {ID_OPEN_PICTURE, ID_PICTURE_GRAY, ID_QUADTREE, ID_GRAY_GRID, ID_ZANTREL})
            Trigger(id);
        ASSERT_GT(CutCount(Doc().Pictures().Tree()), 0);
    }
    void Show(DisplayMode mode) {
        m_app->Frame().View().ShowMode(mode);
        m_app->Frame().UpdateActions();
    }
};

TEST_F(ShownPictureCommands, SaveWritesExactlyTheShownPictureAndCopyPutsItOnTheClipboard) {
    const DocumentPictures& pictures = Doc().Pictures();
    const ColorPicture lines = GridWithCutLines(pictures.Grid(), pictures.Tree());
    const struct {
        DisplayMode mode;
        const char* answer;  // the name given in the save dialog
        const char* saved;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {DISPLAY_COLOR, "colour.png", "colour.png", EncodePng(pictures.Color())},
        {DISPLAY_GRAY, "gray.png", "gray.png", EncodeGrayPng(pictures.Gray())},
        {DISPLAY_GRAY_GRID, "grid", "grid.bmp", EncodeGrayBmp(pictures.GrayGrid(), nullptr)},
        // As `zantrel-cli --lines` writes it.
        {DISPLAY_GRID_LINES, "lines.bmp", "lines.bmp", EncodeBmp(lines, nullptr)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        Show(c.mode);
        ASSERT_TRUE(Action(ID_SAVE_SHOWN).isEnabled());
        m_host.fileAnswers.push_back(PathInFolder(QString::fromLatin1(c.answer)));
        Trigger(ID_SAVE_SHOWN);
        const QString saved = PathInFolder(QString::fromLatin1(c.saved));
        EXPECT_TRUE(ReadBytes(saved.toStdString()) == c.bytes);

        Trigger(ID_EDIT_COPY);
        const QImage copied = QGuiApplication::clipboard()->image();
        EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
                  QImage(saved).convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_TRUE(m_host.messages.empty());
    EXPECT_TRUE(m_host.questions.empty());
}

// Every save command shows a failed save's cause and file, captioned with the program's name.
TEST_F(ShownPictureCommands, AFailedSaveIsShownWithItsCause) {
    const struct {
        int command;
        const char* answer;
    } saves[] = {
        {ID_SAVE_SHOWN, "missing/shown.png"},
        {ID_SAVE_PICTURE, "missing/ZantPic.bmp"},
        {ID_SAVE_ZTL, "missing/result.ztl"},
    };
    for (const auto& save : saves) {
        SCOPED_TRACE(save.answer);
        const QString path = PathInFolder(QString::fromLatin1(save.answer));
        m_host.messages.clear();
        m_host.fileAnswers.push_back(path);
        Trigger(save.command);
        ASSERT_EQ(m_host.messages.size(), 1u);
        EXPECT_EQ(m_host.messages[0].text, QStringLiteral("没有找到 %1。").arg(path));
        EXPECT_EQ(m_host.messages[0].caption, QStringLiteral("Zantrel"));
    }
}

// The print job takes the picture's name, and a PDF file is proposed beside the picture under
// it; an untitled document proposes none.
TEST_F(ShownPictureCommands, PrintingProposesThePicturesName) {
    QString jobName;
    m_host.onSetUpPrinter = [&](QPrinter& printer) {
        jobName = printer.docName();
        return false;
    };
    Trigger(ID_FILE_PRINT);
    EXPECT_EQ(jobName, QStringLiteral("diagonal.bmp"));
    EXPECT_EQ(m_host.proposedPdf, PathInFolder(QStringLiteral("diagonal.pdf")));
    Trigger(ID_FILE_NEW);
    Trigger(ID_FILE_PRINT);
    EXPECT_EQ(jobName, QString());
    EXPECT_EQ(m_host.proposedPdf, QString());

    // Where no printer exists, the program's own dialog proposes it.
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "a printer is set up: its own dialog asks";
    WidgetDialogHost host;
    QString folder;
    QString name;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            folder = dialog->directory().absolutePath();
            if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name = edit->text();
            dialog->reject();
        }
    });
    answer.start(10);
    QPrinter printer;
    EXPECT_FALSE(host.SetUpPrinter(printer, PathInFolder(QStringLiteral("diagonal.pdf"))));
    EXPECT_EQ(folder, QDir(PathInFolder({})).absolutePath());
    EXPECT_EQ(name, QStringLiteral("diagonal.pdf"));
}

// Printing to a PDF file, read back as pdftoppm renders it at 50 dots per inch.
class Printing : public ShownPictureCommands {
  protected:
    void SetUp() override {
        ShownPictureCommands::SetUp();
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            GTEST_SKIP() << "pdftoppm is not installed";
    }

    // The rendered pages, after printing what `mode` shows; `layout` is the printer's.
    QStringList Print(DisplayMode mode, QPageLayout& layout) {
        Show(mode);
        const QString pdf = PathInFolder(QStringLiteral("print.pdf"));
        m_host.onSetUpPrinter = [&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            layout = printer.pageLayout();
            return true;
        };
        Trigger(ID_FILE_PRINT);
        const QString prefix = PathInFolder(QStringLiteral("page%1").arg(mode));
        EXPECT_EQ(QProcess::execute(QStringLiteral("pdftoppm"),
                                    {QStringLiteral("-png"), QStringLiteral("-r"),
                                     QStringLiteral("50"), pdf, prefix}),
                  0);
        QStringList pages;
        for (const QString& name :
             QDir(PathInFolder({}))
                 .entryList({QStringLiteral("page%1*.png").arg(mode)}, QDir::Files))
            pages << PathInFolder(name);
        return pages;
    }
};

// The bounding box of the pixels that are not white, and how many are pure red.
QRect Painted(const QImage& page, int& red) {
    QRect box;
    red = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QRgb pixel = page.pixel(x, y);
            red += qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)) == qRgb(255, 0, 0);
            if (qGray(pixel) < 250)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

TEST_F(Printing, OnePageWithThePictureCentredAndAsLargeAsThePrintableAreaAllows) {
    QPageLayout layout;
    const QStringList pages = Print(DISPLAY_COLOR, layout);
    ASSERT_EQ(pages.size(), 1);
    const QImage page(pages[0]);
    const QRectF points = layout.fullRect(QPageLayout::Point);
    const QRectF printable = layout.paintRect(QPageLayout::Point);
    const qreal dotsPerPoint = 50.0 / 72.0;
    ASSERT_NEAR(page.width(), points.width() * dotsPerPoint, 1);
    ASSERT_NEAR(page.height(), points.height() * dotsPerPoint, 1);

    // The square picture on a tall page: as wide as the printable area, centred both ways.
    int red = 0;
    const QRect box = Painted(page, red);
    EXPECT_NEAR(box.width(), printable.width() * dotsPerPoint, 2);
    EXPECT_NEAR(box.height(), box.width(), 2);
    EXPECT_NEAR(box.left(), page.width() - 1 - box.right(), 2);
    EXPECT_NEAR(box.top(), page.height() - 1 - box.bottom(), 2);
    // Both halves of the diagonal made it onto the page.
    EXPECT_NE(page.pixel(box.left() + 2, box.top() + 2),
              page.pixel(box.right() - 2, box.bottom() - 2));

    // The cut lines keep their pure red: the picture is not compressed lossily on the way.
    const QStringList lines = Print(DISPLAY_GRID_LINES, layout);
    ASSERT_EQ(lines.size(), 1);
    Painted(QImage(lines[0]), red);
    EXPECT_GT(red, 50);
}

// In the program's own save dialog the filter picks the format of a name without extension.
TEST(SaveDialog, ANameWithoutExtensionGetsTheChosenFiltersOne) {
    const QTemporaryDir folder;
    WidgetDialogHost host;
    QTimer answer;
    int tries = 0;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            // A dialog that will not take the answer fails the test instead of hanging it.
            if (++tries > 100) {
                dialog->reject();
                return;
            }
            // Typed into the name box, as a user would; selectFile() races the folder's
            // loading for a file that does not exist.
            dialog->setDirectory(folder.path());
            dialog->selectNameFilter(QStringLiteral("PNG 图像(*.png)"));
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(QStringLiteral("shot"));
            QMetaObject::invokeMethod(dialog, &QDialog::accept);
        }
    });
    answer.start(10);
    FileDialogRequest request;
    request.forSaving = true;
    request.filter = QStringLiteral("BMP 图像(*.bmp);;PNG 图像(*.png)");
    EXPECT_EQ(host.ChooseFile(request), folder.filePath(QStringLiteral("shot.png")));
}

}  // namespace

}  // namespace zantrel
