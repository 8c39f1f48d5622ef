// Opening and saving through the document: the window title and the recent-file list after
// good and refused loads, every way a file can arrive (open command, recent list, drop,
// command line), the save dialog's naming and overwrite question, Ctrl+N and printing.

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPrinter>
#include <QUrl>
#include <cstring>

#include "AppFixture.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"
#include "picture/PictureStore.h"
#include "support/TestPictures.h"

namespace {

// A picture whose pixels are one colour, so tests can tell which file is loaded.
std::function<std::uint32_t(int, int)> Plain(std::uint32_t bgr) {
    return [bgr](int, int) { return bgr; };
}

std::uint32_t LoadedColour() {
    return g_colorPixels[0] | (g_colorPixels[1] << 8) | (g_colorPixels[2] << 16);
}

class Document : public AppTest {
  protected:
    void Open(const QString& path) {
        m_host.fileAnswers.push_back(path);
        Trigger(ID_OPEN_PICTURE);
    }
    QStringList Recent() { return m_app->RecentFiles().Entries(); }

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
    EXPECT_EQ(g_displayMode, DISPLAY_COLOR);
    EXPECT_EQ(LoadedColour(), 0x102030u);
    EXPECT_EQ(m_host.fileRequests.at(0).filter, QStringLiteral("图像文件(*.bmp)"));
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
    EXPECT_EQ(g_pictureLoaded, 0);
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
    EXPECT_EQ(g_pictureLoaded, 0);
    EXPECT_EQ(Title(), UntitledTitle());
    EXPECT_TRUE(m_app->Frame().isVisible());
    EXPECT_TRUE(Action(ID_OPEN_PICTURE).isEnabled());

    MakeApp();
    m_app->InitInstance(WritePicture(QStringLiteral("start.bmp"), Plain(0x445566)));
    EXPECT_EQ(LoadedColour(), 0x445566u);
    EXPECT_EQ(Title(), LoadedTitle(QStringLiteral("start.bmp")));
    EXPECT_TRUE(Action(ID_PICTURE_GRAY).isEnabled());
}

TEST_F(Document, NewDocumentKeepsThePicture) {
    m_app->InitInstance({});
    Open(WritePicture(QStringLiteral("a.bmp"), Plain(0x123456)));
    Trigger(ID_PICTURE_GRAY);
    Trigger(ID_FILE_NEW);
    EXPECT_EQ(Title(), UntitledTitle());
    EXPECT_EQ(g_displayMode, DISPLAY_GRAY);
    EXPECT_EQ(LoadedColour(), 0x123456u);
}

class Saving : public Document {
  protected:
    void SetUp() override {
        Document::SetUp();
        m_host.onExec = AnswerParameters(QStringLiteral("1"), QStringLiteral("4"));
        m_app->InitInstance({});
        Open(WritePicture(QStringLiteral("a.bmp")));
        Trigger(ID_PICTURE_GRAY);
        Trigger(ID_QUADTREE);
        ASSERT_TRUE(Action(ID_SAVE_PICTURE).isEnabled());
    }
    std::size_t SizeOf(const QString& path) { return ReadBytes(path.toStdString()).size(); }
};

TEST_F(Saving, NewNameWithoutExtensionGetsBmp) {
    m_host.fileAnswers.push_back(PathInFolder(QStringLiteral("result")));
    Trigger(ID_SAVE_PICTURE);
    const FileDialogRequest& request = m_host.fileRequests.back();
    EXPECT_TRUE(request.forSaving);
    EXPECT_EQ(request.initialName, QStringLiteral("ZantPic"));
    EXPECT_EQ(request.filter, QStringLiteral("图像计算结果(*.bmp)"));
    EXPECT_EQ(SizeOf(PathInFolder(QStringLiteral("result.bmp"))), 54u + kColorBytes);
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
    EXPECT_EQ(SizeOf(target), 54u + kColorBytes);
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

}  // namespace
