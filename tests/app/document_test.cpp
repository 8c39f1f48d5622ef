// Opening and saving through the document: the window title and the recent-file list after
// good and refused loads, every way a file can arrive (open and import commands, recent list,
// drop, command line), the save dialog's naming and overwrite question, Ctrl+N and printing;
// and the cut-line stage run away from the user-interface thread.

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinter>
#include <QTimer>
#include <QUrl>
#include <atomic>
#include <cstring>
#include <limits>
#include <thread>
#include <tuple>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include "AppFixture.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/ProgressStatusBar.h"
#include "app/RecentFileList.h"
#include "app/WidgetDialogHost.h"
#include "import/BmpFormat.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

// A picture whose pixels are one colour, so tests can tell which file is loaded.
std::function<std::uint32_t(int, int)> Plain(std::uint32_t bgr) {
    return [bgr](int, int) { return bgr; };
}

class Document : public AppTest {
  protected:
    std::uint32_t LoadedColour() {
        const std::vector<std::uint8_t>& bgr = Doc().Pictures().Color().bgr;
        return bgr.at(0) | (bgr.at(1) << 8) | (bgr.at(2) << 16);
    }
    void Open(const QString& path) {
        m_host.fileAnswers.push_back(path);
        Trigger(ID_OPEN_PICTURE);
    }
    QStringList Recent() { return m_app->Frame().RecentFiles().Entries(); }

    void Drop(const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        // As a drag does: enter first, then the drop where the drag was accepted.
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&m_app->Frame(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&m_app->Frame(), &drop);
    }
};

TEST_F(Document, GoodLoadTitlesTheWindowAndIsRemembered) {
    m_app->InitInstance({});
    EXPECT_EQ(Title(), UntitledTitle());
    const QString a = WritePicture(QStringLiteral("a.bmp"), Plain(0x102030));
    Open(a);
    EXPECT_EQ(Title(), LoadedTitle(QStringLiteral("a.bmp")));
    EXPECT_EQ(Recent(), QStringList{a});
    EXPECT_EQ(m_profile->value(QStringLiteral("Recent File List/File1")).toString(), a);
    EXPECT_EQ(Mode(), DISPLAY_COLOR);
    EXPECT_EQ(LoadedColour(), 0x102030u);
    // The original filter, after the one of every file the command opens.
    EXPECT_EQ(m_host.fileRequests.at(0).filter.section(QStringLiteral(";;"), 1),
              QStringLiteral("图像文件(*.bmp);;Zantrel 文件 (*.ztl)"));
    EXPECT_FALSE(m_host.fileRequests.at(0).forSaving);
}

TEST_F(Document, RefusedOrMissingFilesChangeNothing) {
    struct Case {
        const char* name;
        QString path;
        QString message;
    };
    const Case cases[] = {
        {"8-bit", WriteEightBitPicture(QStringLiteral("eight.bmp")),
         QStringLiteral("请输入24位的图像!")},
        {"missing", PathInFolder(QStringLiteral("gone.bmp")),
         QStringLiteral("没有找到 %1。").arg(PathInFolder(QStringLiteral("gone.bmp")))},
    };
    m_app->InitInstance({});
    const QString a = WritePicture(QStringLiteral("a.bmp"), Plain(0x102030));
    Open(a);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_host.messages.clear();
        Open(c.path);
        ASSERT_EQ(m_host.messages.size(), 1u);
        EXPECT_EQ(m_host.messages[0].text, c.message);
        EXPECT_EQ(m_host.messages[0].caption, QStringLiteral("Zantrel"));
        EXPECT_EQ(Title(), LoadedTitle(QStringLiteral("a.bmp")));
        EXPECT_EQ(Recent(), QStringList{a});
        EXPECT_EQ(LoadedColour(), 0x102030u);
    }
}

TEST_F(Document, RecentListKeepsFourNewestFirstAcrossRuns) {
    m_app->InitInstance({});
    QStringList paths;
    for (int i = 1; i <= 5; ++i)
        paths << WritePicture(QStringLiteral("p%1.bmp").arg(i));
    for (const QString& path : paths)
        Open(path);
    Open(paths[2]);  // opening again moves it to the front
    const QStringList expected = {paths[2], paths[4], paths[3], paths[1]};
    EXPECT_EQ(Recent(), expected);

    MakeApp();
    EXPECT_EQ(Recent(), expected);
    m_app->Frame().UpdateRecentFileMenu();
    EXPECT_EQ(Action(ID_FILE_MRU_FILE1 + 1).text(), QStringLiteral("&2 ") + paths[4]);
    EXPECT_TRUE(Action(ID_FILE_MRU_FILE1 + 3).isVisible());
}

TEST_F(Document, EmptyRecentListShowsAGreyedPlaceholder) {
    m_app->InitInstance({});
    m_app->Frame().UpdateRecentFileMenu();
    EXPECT_EQ(Action(ID_FILE_MRU_FILE1).text(), QStringLiteral("最近文件"));
    EXPECT_FALSE(Action(ID_FILE_MRU_FILE1).isEnabled());
    EXPECT_FALSE(Action(ID_FILE_MRU_FILE1 + 1).isVisible());
}

TEST_F(Document, RecentEntryOpensAndOneThatNoLongerOpensIsDropped) {
    m_app->InitInstance({});
    const QString a = WritePicture(QStringLiteral("a.bmp"), Plain(0x0000AA));
    const QString b = WritePicture(QStringLiteral("b.bmp"), Plain(0x0000BB));
    Open(a);
    Open(b);
    m_app->Frame().UpdateRecentFileMenu();
    Trigger(ID_FILE_MRU_FILE1 + 1);  // a
    EXPECT_EQ(LoadedColour(), 0x0000AAu);
    EXPECT_EQ(Title(), LoadedTitle(QStringLiteral("a.bmp")));
    EXPECT_EQ(Recent(), (QStringList{a, b}));

    // b is replaced by a file the loader refuses: reported, dropped, nothing else changes.
    QFile::remove(b);
    WriteEightBitPicture(QStringLiteral("b.bmp"));
    Trigger(ID_FILE_MRU_FILE1 + 1);
    ASSERT_EQ(m_host.messages.size(), 1u);
    EXPECT_EQ(m_host.messages[0].text, QStringLiteral("请输入24位的图像!"));
    EXPECT_EQ(Recent(), QStringList{a});
    EXPECT_EQ(Title(), LoadedTitle(QStringLiteral("a.bmp")));
    EXPECT_EQ(LoadedColour(), 0x0000AAu);
    EXPECT_FALSE(Action(ID_FILE_MRU_FILE1 + 1).isVisible());
}

TEST_F(Document, DroppedFileOpensLikeARecentEntry) {
    m_app->InitInstance({});
    const QString refused = WriteEightBitPicture(QStringLiteral("refused.bmp"));
    Drop(refused);
    EXPECT_EQ(m_host.messages.size(), 1u);
    EXPECT_FALSE(Doc().PictureLoaded());
    EXPECT_EQ(Title(), UntitledTitle());
    EXPECT_TRUE(Recent().isEmpty());

    const QString good = WritePicture(QStringLiteral("dropped.bmp"), Plain(0x00CC00));
    Drop(good);
    EXPECT_EQ(LoadedColour(), 0x00CC00u);
    EXPECT_EQ(Title(), LoadedTitle(QStringLiteral("dropped.bmp")));
    EXPECT_EQ(Recent(), QStringList{good});
    EXPECT_TRUE(Action(ID_PICTURE_GRAY).isEnabled());
}

TEST_F(Document, CommandLineFileOpensAtStartUpOrIsReported) {
    m_app->InitInstance(WriteEightBitPicture(QStringLiteral("start.bmp")));
    ASSERT_EQ(m_host.messages.size(), 1u);
    EXPECT_EQ(m_host.messages[0].text, QStringLiteral("请输入24位的图像!"));
    EXPECT_FALSE(Doc().PictureLoaded());
    EXPECT_EQ(Title(), UntitledTitle());
    EXPECT_TRUE(m_app->Frame().isVisible());
    EXPECT_TRUE(Action(ID_OPEN_PICTURE).isEnabled());

    MakeApp();
    m_app->InitInstance(WritePicture(QStringLiteral("start.bmp"), Plain(0x445566)));
    EXPECT_EQ(LoadedColour(), 0x445566u);
    EXPECT_EQ(Title(), LoadedTitle(QStringLiteral("start.bmp")));
    EXPECT_TRUE(Action(ID_PICTURE_GRAY).isEnabled());
}

// The refusal's box stands over the main window, which is already up when the box shows.
TEST_F(Document, StartUpRefusalIsShownOverTheVisibleMainWindow) {
    m_app.reset();
    WidgetDialogHost host;
    ZantrelApp app(*m_profile, host);
    host.SetOwner(&app.Frame());
    QWidget* parent = nullptr;
    bool frameVisible = false;
    int boxes = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++boxes;
            parent = box->parentWidget();
            frameVisible = app.Frame().isVisible();
            box->accept();
        }
    });
    closer.start(10);
    app.InitInstance(WriteEightBitPicture(QStringLiteral("start.bmp")));
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(parent, &app.Frame());
    EXPECT_TRUE(frameVisible);
}

TEST_F(Document, NewDocumentKeepsThePicture) {
    m_app->InitInstance({});
    Open(WritePicture(QStringLiteral("a.bmp"), Plain(0x123456)));
    Trigger(ID_PICTURE_GRAY);
    Trigger(ID_FILE_NEW);
    EXPECT_EQ(Title(), UntitledTitle());
    EXPECT_EQ(Mode(), DISPLAY_GRAY);
    EXPECT_EQ(LoadedColour(), 0x123456u);
}

class Saving : public Document {
  protected:
    void SetUp() override {
        Document::SetUp();
        m_host.onExec = AnswerParameters(QStringLiteral("1"), QStringLiteral("4"));
        m_app->InitInstance({});
        // A resolution no plain header has, to tell the kept headers in the saved file.
        std::vector<std::uint8_t> bytes = MakeBmpBytes();
        bmp::WriteU32(bytes, kResolutionField, 1234);
        const QString path = PathInFolder(QStringLiteral("a.bmp"));
        WriteBytes(path.toStdString(), bytes);
        Open(path);
        Trigger(ID_PICTURE_GRAY);
        Trigger(ID_QUADTREE);
        ASSERT_TRUE(Action(ID_SAVE_PICTURE).isEnabled());
    }
    static constexpr int kResolutionField = 38;
    std::size_t SizeOf(const QString& path) { return ReadBytes(path.toStdString()).size(); }
};

TEST_F(Saving, NewNameWithoutExtensionGetsBmp) {
    m_host.fileAnswers.push_back(PathInFolder(QStringLiteral("result")));
    Trigger(ID_SAVE_PICTURE);
    const FileDialogRequest& request = m_host.fileRequests.back();
    EXPECT_TRUE(request.forSaving);
    EXPECT_EQ(request.initialName, QStringLiteral("ZantPic"));
    EXPECT_EQ(request.filter, QStringLiteral("图像计算结果(*.bmp)"));
    const std::vector<std::uint8_t> saved =
        ReadBytes(PathInFolder(QStringLiteral("result.bmp")).toStdString());
    ASSERT_EQ(saved.size(), 54u + bmp::kClassicPixelBytes);
    EXPECT_EQ(bmp::ReadU32(saved, kResolutionField), 1234u);
    EXPECT_TRUE(m_host.questions.empty());
    EXPECT_TRUE(m_host.messages.empty());
}

TEST_F(Saving, ReplacingAFileNeedsAYes) {
    const QString target = PathInFolder(QStringLiteral("old.bmp"));
    WriteBytes(target.toStdString(), {1, 2, 3});
    // No: back to the dialog, which is then cancelled; the old file stays.
    m_host.fileAnswers = {target, QString()};
    m_host.confirmAnswers = {false};
    Trigger(ID_SAVE_PICTURE);
    ASSERT_EQ(m_host.questions.size(), 1u);
    EXPECT_TRUE(m_host.questions[0].startsWith(QStringLiteral("old.bmp 已存在。")));
    EXPECT_EQ(SizeOf(target), 3u);

    m_host.fileAnswers = {target};
    m_host.confirmAnswers = {true};
    Trigger(ID_SAVE_PICTURE);
    EXPECT_EQ(SizeOf(target), 54u + bmp::kClassicPixelBytes);
}

TEST_F(Saving, PrintWritesTheDrawingWhereTheHostSays) {
    const QString pdf = PathInFolder(QStringLiteral("print.pdf"));
    m_host.onSetUpPrinter = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    Trigger(ID_FILE_PRINT);
    const std::vector<std::uint8_t> bytes = ReadBytes(pdf.toStdString());
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_EQ(std::memcmp(bytes.data(), "%PDF", 4), 0);
}

TEST_F(Saving, EveryWriteNamesItsFileOnTheStatusBar) {
    m_host.onSetUpPrinter = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(PathInFolder(QStringLiteral("print.pdf")));
        return true;
    };
    const struct {
        int command;
        const char* file;
        const char* says;
    } cases[] = {
        {ID_SAVE_PICTURE, "result.bmp", "已保存 "},
        {ID_SAVE_SHOWN, "shown.png", "已保存 "},
        {ID_FILE_PRINT, "print.pdf", "已打印到 "},
    };
    const ProgressStatusBar& bar = m_app->Frame().StatusBar();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = PathInFolder(QString::fromUtf8(c.file));
        m_host.fileAnswers = {path};
        Trigger(c.command);
        ASSERT_TRUE(QFileInfo::exists(path));
        EXPECT_EQ(bar.PaneText(), QString::fromUtf8(c.says) + QDir::toNativeSeparators(path));
    }
}

// A BMP file the original rules refuse but the import reads points to the import.
TEST_F(Document, ARefusedBmpThatTheImportReadsPointsThere) {
    m_app->InitInstance({});
    QImage eightBit(512, 512, QImage::Format_Indexed8);
    eightBit.setColorCount(256);
    for (int i = 0; i < 256; ++i)
        eightBit.setColor(i, qRgb(i, i, i));
    eightBit.fill(7);
    const QString paletted = PathInFolder(QStringLiteral("eight.bmp"));
    ASSERT_TRUE(eightBit.save(paletted, "BMP"));
    const QString damaged = PathInFolder(QStringLiteral("damaged.bmp"));
    WriteBytes(damaged.toStdString(), {'B', 'M', 1, 2});
    const struct {
        QString path;
        bool pointsToImport;
    } cases[] = {{paletted, true}, {damaged, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        m_host.messages.clear();
        m_host.fileAnswers = {c.path};
        Trigger(ID_OPEN_PICTURE);
        ASSERT_EQ(m_host.messages.size(), 1u);
        EXPECT_EQ(m_host.messages[0].informative.contains(QStringLiteral("导入图像…")),
                  c.pointsToImport);
        // The refusal's own text stays as it was.
        EXPECT_EQ(m_host.messages[0].text, QStringLiteral("请输入24位的图像!"));
        EXPECT_FALSE(Doc().PictureLoaded());
    }
}

TEST_F(Document, ImportTakesAnyFormatAndSizeAndARefusalChangesNothing) {
    m_app->InitInstance({});
    const QString png = WritePng(QStringLiteral("wide.png"), 768, 512);
    m_host.fileAnswers.push_back(png);
    Trigger(ID_IMPORT_PICTURE);
    EXPECT_EQ(Doc().Pictures().Color().width, 768);
    EXPECT_EQ(Doc().Pictures().Color().height, 512);
    Trigger(ID_PICTURE_GRAY);
    ASSERT_EQ(Mode(), DISPLAY_GRAY);

    const QString text = PathInFolder(QStringLiteral("x.png"));
    WriteBytes(text.toStdString(),
               {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'});
    const std::uint32_t colour = LoadedColour();
    m_host.fileAnswers.push_back(text);
    Trigger(ID_IMPORT_PICTURE);
    ASSERT_EQ(m_host.messages.size(), 1u);
    EXPECT_EQ(m_host.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(Mode(), DISPLAY_GRAY);
    EXPECT_EQ(Title(), LoadedTitle(QStringLiteral("wide.png")));
    EXPECT_EQ(Recent(), QStringList{png});
    EXPECT_EQ(Doc().Pictures().Color().width, 768);
    EXPECT_EQ(LoadedColour(), colour);
    EXPECT_EQ(Doc().Pictures().Gray().width, 768);
}

TEST_F(Document, RecentEntriesOpenBmpFilesByTheOriginalRulesAndOthersByImport) {
    m_app->InitInstance({});
    const QString png = WritePng(QStringLiteral("wide.png"), 768, 512);
    m_host.fileAnswers.push_back(png);
    Trigger(ID_IMPORT_PICTURE);
    Open(WritePicture(QStringLiteral("a.bmp"), Plain(0x0000AA)));
    ASSERT_TRUE(Doc().KeptHeaders().has_value());
    m_app->Frame().UpdateRecentFileMenu();
    Trigger(ID_FILE_MRU_FILE1 + 1);  // the PNG
    EXPECT_EQ(Title(), LoadedTitle(QStringLiteral("wide.png")));
    EXPECT_EQ(Doc().Pictures().Color().width, 768);
    EXPECT_FALSE(Doc().KeptHeaders().has_value());
    EXPECT_TRUE(m_host.messages.empty());
}

TEST_F(Document, SavingAnImportWritesItsSizeBehindAPlainHeader) {
    m_host.onExec = AnswerParameters(QStringLiteral("1"), QStringLiteral("4"));
    m_app->InitInstance({});
    const QString saved = PathInFolder(QStringLiteral("wide.bmp"));
    m_host.fileAnswers = {WritePng(QStringLiteral("wide.png"), 768, 512), saved};
    for (int id : {ID_IMPORT_PICTURE, ID_PICTURE_GRAY, ID_QUADTREE, ID_SAVE_PICTURE})
        Trigger(id);
    const std::vector<std::uint8_t> bytes = ReadBytes(saved.toStdString());
    ASSERT_EQ(bytes.size(), 54u + 768u * 3 * 512);
    EXPECT_EQ(bmp::ReadU32(bytes, bmp::kFileSize), bytes.size());
    EXPECT_EQ(bmp::ReadU32(bytes, bmp::kPixelOffset), 54u);
    EXPECT_EQ(bmp::ReadU32(bytes, bmp::kInfoSize), 40u);
    EXPECT_EQ(bmp::ReadI32(bytes, bmp::kWidth), 768);
    EXPECT_EQ(bmp::ReadI32(bytes, bmp::kHeight), 512);
    EXPECT_EQ(bytes[bmp::kBitCount], 24);
}

// Counts the positions a stage reports and asks it to stop once `stopAfter` were reported.
class StoppingProgress final : public Progress {
  public:
    explicit StoppingProgress(int stopAfter) : m_stopAfter(stopAfter) {}
    void SetText(std::string_view) override {}
    void SetPosition(int) override { ++positions; }
    bool Cancelled() const override { return positions.load() >= m_stopAfter; }

    std::atomic<int> positions{0};

  private:
    const int m_stopAfter;
};

// The cut-line stage on the document's quadtree, run on a thread of its own from the inputs
// the document hands out.
std::optional<StageOutputs> RunCutLinesOnAWorker(const StageInputs& inputs, Progress& progress) {
    std::optional<StageOutputs> outputs;
    std::thread worker([&] {
        LineSearchWorkspace search;
        outputs = RunStages(inputs, {std::nullopt, true}, search, progress);
    });
    worker.join();
    return outputs;
}

TEST_F(Document, CutLineStageRunsOnAWorkerAndAStopHalfwayChangesNothing) {
    m_host.onExec = AnswerParameters(QStringLiteral("1"), QStringLiteral("4"));
    m_app->InitInstance({});
    Open(WritePicture(QStringLiteral("a.bmp")));
    Trigger(ID_PICTURE_GRAY);
    Trigger(ID_QUADTREE);

    StoppingProgress counting(std::numeric_limits<int>::max());
    const std::optional<StageOutputs> outputs = RunCutLinesOnAWorker(Doc().Inputs(), counting);
    ASSERT_TRUE(outputs.has_value() && outputs->cutLines.has_value());
    ASSERT_GT(counting.positions.load(), 4);
    const GrayPicture workerResult = outputs->cutLines->stage.result;
    const std::vector<QuadBlock> workerModels = outputs->cutLines->stage.decomposition.tree.leaves;
    Trigger(ID_ZANTREL);
    ASSERT_EQ(Mode(), DISPLAY_ZANTREL);
    EXPECT_EQ(Doc().Pictures().Result(), workerResult);
    EXPECT_EQ(Doc().Pictures().Tree().leaves, workerModels);

    const DocumentPictures before = Doc().Pictures();
    StoppingProgress stopping(counting.positions.load() / 2);
    EXPECT_FALSE(RunCutLinesOnAWorker(Doc().Inputs(), stopping).has_value());
    EXPECT_GE(stopping.positions.load(), counting.positions.load() / 2);
    EXPECT_EQ(Mode(), DISPLAY_ZANTREL);
    const DocumentPictures& after = Doc().Pictures();
    EXPECT_EQ(after.Result(), before.Result());
    EXPECT_EQ(after.Tree().leaves, before.Tree().leaves);
    ASSERT_TRUE(after.Stages()->cutLines && before.Stages()->cutLines);
    EXPECT_EQ(after.Stages()->cutLines->decomposition.groupCount,
              before.Stages()->cutLines->decomposition.groupCount);
}

}  // namespace

}  // namespace zantrel
