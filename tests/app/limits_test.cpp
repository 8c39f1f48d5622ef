// The desktop at the limits of memory and time: a file claiming a huge picture and a search
// predicted to take long run only when the user agrees, memory running out leaves the document
// as it was with a message, and a long stage tells the time it has left.

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTest>
#include <fstream>
#include <new>
#include <string>

#include <sys/resource.h>

#include "AppFixture.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/PixelClaim.h"
#include "app/ProgressStatusBar.h"
#include "measure/Stages.h"
#include "picture/Picture.h"
#include "platform/Shell.h"

namespace zantrel {

namespace {

// The address space this process maps now.
std::uint64_t VirtualBytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmSize:", 0) == 0)
            return std::stoull(line.substr(7)) * 1024;
    }
    return 0;
}

class Limits : public AppTest {
  protected:
    // A PGM header claiming 12000 x 10000 pixels, above the default limit, with no samples.
    QString WriteClaim() {
        const QString path = PathInFolder(QStringLiteral("claim.pgm"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("P5\n12000 10000\n255\n");
        return path;
    }
};

// Above the pixel limit the user is asked, told the claim, the memory and the time; where the
// memory model says the picture cannot fit, told so and never asked, as a yes could only fail.
TEST_F(Limits, AClaimAboveThePixelLimitIsAskedAboutOnlyWhereItCanFit) {
    m_app->InitInstance({});
    const std::uint64_t needed = PipelineBytesFor(12000, 10000);  // the claim of WriteClaim
    struct Case {
        long long width, height;
        std::uint64_t available;  // 0: not known
        bool answer;
        PixelClaimAnswer expected;
        bool asked;
    };
    const Case cases[] = {
        {10000, 10000, 1, false, PixelClaimAnswer::Read, false},  // at the limit: no question
        {12000, 10000, needed, true, PixelClaimAnswer::Read, true},
        {12000, 10000, needed, false, PixelClaimAnswer::Declined, true},
        {12000, 10000, 0, false, PixelClaimAnswer::Declined, true},
        {12000, 10000, needed - 1, true, PixelClaimAnswer::CannotFit, false},
        {16384, 16384, std::uint64_t{1} << 30, true, PixelClaimAnswer::CannotFit, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " in " << c.available);
        m_host.questions.clear();
        m_host.messages.clear();
        m_host.confirmAnswers = {c.answer};
        EXPECT_EQ(AskAboutPixelClaim(m_host, QStringLiteral("/a/claim.pgm"), c.width, c.height,
                                     c.available),
                  c.expected);
        ASSERT_EQ(m_host.questions.size(), c.asked ? 1u : 0u);
        const QString size = QStringLiteral("%1×%2").arg(c.width).arg(c.height);
        if (c.asked) {
            for (const QString& part : {size, QStringLiteral("MB"), QStringLiteral("秒")})
                EXPECT_TRUE(m_host.questions[0].contains(part)) << part.toStdString();
        }
        const bool told = c.expected == PixelClaimAnswer::CannotFit;
        ASSERT_EQ(m_host.messages.size(), told ? 1u : 0u);
        if (told) {
            EXPECT_TRUE(m_host.messages[0].text.startsWith(
                QStringLiteral("无法读取 claim.pgm：图像为 ") + size));
            EXPECT_TRUE(m_host.messages[0].text.endsWith(QStringLiteral("超出了可用内存。")));
        }
    }
}

// The window under a memory limit: no question, the reason, the document as it was, and a
// recent entry that cannot open here leaves the list.
TEST_F(Limits, AClaimThatCannotFitIsRefusedWithoutAQuestion) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's shadow memory leaves no room for an address-space limit";
#endif
    m_app->InitInstance({});
    MainFrame& frame = m_app->Frame();
    ASSERT_TRUE(frame.OpenDocument(WritePng(QStringLiteral("kept.png"), 40, 30)));
    const QString claim = WriteClaim();
    const QString recent = PathInFolder(QStringLiteral("recent.png"));
    ASSERT_TRUE(QFile::copy(claim, recent));
    frame.RecentFiles().Add(recent);
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &before), 0);
    rlimit tight = before;
    tight.rlim_cur = VirtualBytes() + (std::uint64_t{1} << 30);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);
    m_host.confirmAnswers = {true, true, true};
    m_host.fileAnswers = {claim};
    Trigger(ID_IMPORT_PICTURE);
    const bool opened = frame.OpenDocument(claim);
    frame.OpenRecentFile(static_cast<int>(frame.RecentFiles().Entries().indexOf(recent)));
    ASSERT_EQ(setrlimit(RLIMIT_AS, &before), 0);
    EXPECT_FALSE(opened);
    EXPECT_TRUE(m_host.questions.empty()) << m_host.questions[0].toStdString();
    ASSERT_EQ(m_host.messages.size(), 3u);
    for (const ShownMessage& message : m_host.messages)
        EXPECT_TRUE(message.text.contains(QStringLiteral("12000×10000")))
            << message.text.toStdString();
    EXPECT_EQ(Title(), LoadedTitle(QStringLiteral("kept.png")));
    EXPECT_EQ(Doc().Pictures().Color().width, 40);
    EXPECT_FALSE(frame.RecentFiles().Entries().contains(recent));
}

// Where the machine can hold the claim, the window reads it only on a yes.
TEST_F(Limits, AFileClaimingMorePixelsThanTheLimitOpensOnlyWhenTheUserSaysSo) {
    if (PipelineBytesFor(12000, 10000) > AvailableMemoryBytes())
        GTEST_SKIP() << "the machine cannot hold the claim; the question is not asked here";
    m_app->InitInstance({});
    MainFrame& frame = m_app->Frame();
    ASSERT_TRUE(frame.OpenDocument(WritePng(QStringLiteral("kept.png"), 40, 30)));
    const QString claim = WriteClaim();
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "yes" : "no");
        for (const bool byDialog : {false, true}) {
            m_host.questions.clear();
            m_host.messages.clear();
            m_host.confirmAnswers = {yes};
            if (byDialog) {
                m_host.fileAnswers = {claim};
                Trigger(ID_IMPORT_PICTURE);
            } else {
                EXPECT_FALSE(frame.OpenDocument(claim));
            }
            ASSERT_EQ(m_host.questions.size(), 1u);
            // Read on a yes, the file is refused for its missing samples.
            EXPECT_EQ(m_host.messages.size(), yes ? 1u : 0u);
            EXPECT_EQ(Title(), LoadedTitle(QStringLiteral("kept.png")));
            EXPECT_EQ(Doc().Pictures().Color().width, 40);
        }
    }
    // A recent entry that now claims too much stays in the list when the user declines.
    const QString recent = WritePng(QStringLiteral("recent.png"), 20, 10);
    ASSERT_TRUE(frame.OpenDocument(recent));
    ASSERT_TRUE(frame.OpenDocument(PathInFolder(QStringLiteral("kept.png"))));
    ASSERT_TRUE(QFile::remove(recent));
    ASSERT_TRUE(QFile::copy(claim, recent));
    const int index = static_cast<int>(frame.RecentFiles().Entries().indexOf(recent));
    ASSERT_GE(index, 0);
    m_host.confirmAnswers = {false};
    frame.OpenRecentFile(index);
    EXPECT_TRUE(frame.RecentFiles().Entries().contains(recent));
    m_host.confirmAnswers = {true};
    frame.OpenRecentFile(index);
    EXPECT_FALSE(frame.RecentFiles().Entries().contains(recent));
}

TEST_F(Limits, MemoryRunningOutSaysSoAndLeavesTheDocumentAsItWas) {
    m_host.fileAnswers = {WritePicture(QStringLiteral("a.bmp"))};
    m_host.onExec = AnswerParameters(QStringLiteral("1"), QStringLiteral("4"));
    m_app->InitInstance({});
    for (int id : {ID_OPEN_PICTURE, ID_PICTURE_GRAY, ID_QUADTREE})
        Trigger(id);
    const std::size_t leaves = Stages().quadtree->tree.leaves.size();
    m_host.messages.clear();
    Runs().Start([](Progress&) -> BackgroundRun::Apply { throw std::bad_alloc(); },
                 &m_app->Frame().StatusBar());
    WaitForIdle();
    ASSERT_EQ(m_host.messages.size(), 1u);
    EXPECT_TRUE(m_host.messages[0].text.startsWith(QStringLiteral("内存不足：512×512 的图像约需 ")))
        << m_host.messages[0].text.toStdString();
    EXPECT_EQ(Stages().quadtree->tree.leaves.size(), leaves);
    EXPECT_FALSE(Doc().Pictures().Decomposed());
    EXPECT_TRUE(Action(ID_ZANTREL).isEnabled());
}

TEST_F(Limits, ARunThatWouldNotFitDoesNotStart) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's shadow memory leaves no room for an address-space limit";
#endif
    m_host.fileAnswers = {WritePicture(QStringLiteral("a.bmp"))};
    m_host.onExec = AnswerParameters(QStringLiteral("1"), QStringLiteral("1"), RunMode::Optimised);
    m_app->InitInstance({});
    for (int id : {ID_OPEN_PICTURE, ID_PICTURE_GRAY, ID_QUADTREE})
        Trigger(id);
    m_host.messages.clear();
    // Room for 50 MB more, where the optimised search at minimum block 1 counts 119 MB.
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &before), 0);
    rlimit tight = before;
    tight.rlim_cur = VirtualBytes() + (std::uint64_t{50} << 20);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);
    Action(ID_ZANTREL).trigger();
    const bool started = Runs().Busy();
    ASSERT_EQ(setrlimit(RLIMIT_AS, &before), 0);
    WaitForIdle();
    EXPECT_FALSE(started);
    ASSERT_EQ(m_host.messages.size(), 1u);
    EXPECT_TRUE(m_host.messages[0].text.startsWith(QStringLiteral("内存不足：512×512 的图像约需 ")))
        << m_host.messages[0].text.toStdString();
    EXPECT_FALSE(Doc().Pictures().Decomposed());
}

TEST_F(Limits, ASearchPredictedToTakeLongRunsOnlyWhenTheUserSaysSo) {
    // A smooth 4096 x 4096 picture at a high penalty: four blocks of side 2048, each slow.
    QImage smooth(4096, 4096, QImage::Format_Grayscale8);
    for (int y = 0; y < smooth.height(); ++y) {
        uchar* row = smooth.scanLine(y);
        for (int x = 0; x < smooth.width(); ++x)
            row[x] = static_cast<uchar>(x / 16);
    }
    const QString path = PathInFolder(QStringLiteral("smooth.png"));
    ASSERT_TRUE(smooth.save(path, "PNG", 100));
    m_host.onExec = AnswerParameters(QStringLiteral("5000000"), QStringLiteral("4"));
    m_app->InitInstance({});
    ASSERT_TRUE(m_app->Frame().OpenDocument(path));
    Trigger(ID_PICTURE_GRAY);
    Trigger(ID_QUADTREE);
    ASSERT_GT(PredictCutLineSeconds(Doc().Pictures().Tree(), 0), 30)
        << "a machine of more than five cores needs a larger picture here";

    m_host.confirmAnswers = {false};
    Trigger(ID_ZANTREL);
    ASSERT_EQ(m_host.questions.size(), 1u);
    EXPECT_TRUE(m_host.questions[0].startsWith(QStringLiteral("预计切割线搜索约需 ")));
    EXPECT_FALSE(Runs().Busy());
    EXPECT_FALSE(Doc().Pictures().Decomposed());

    m_host.confirmAnswers = {true};
    Action(ID_ZANTREL).trigger();
    EXPECT_TRUE(Runs().Busy());
    Action(ID_CANCEL_RUN).trigger();
    WaitForIdle();
    EXPECT_FALSE(Doc().Pictures().Decomposed());
}

TEST_F(Limits, AnOptimisedRunPredictedToTakeLongAsksTheSameQuestion) {
    // Noise to minimum block 1: a leaf for nearly every pixel, pass after pass.
    QImage noise(2600, 2600, QImage::Format_Grayscale8);
    std::uint32_t x = 1;
    for (int y = 0; y < noise.height(); ++y) {
        uchar* row = noise.scanLine(y);
        for (int col = 0; col < noise.width(); ++col, x = x * 1103515245u + 12345u)
            row[col] = static_cast<uchar>(x >> 16);
    }
    const QString path = PathInFolder(QStringLiteral("noise.png"));
    ASSERT_TRUE(noise.save(path, "PNG", 100));
    m_host.onExec =
        AnswerParameters(QStringLiteral("100000000"), QStringLiteral("1"), RunMode::Optimised);
    m_app->InitInstance({});
    ASSERT_TRUE(m_app->Frame().OpenDocument(path));
    Trigger(ID_PICTURE_GRAY);
    Trigger(ID_QUADTREE);

    m_host.confirmAnswers = {false};
    Trigger(ID_ZANTREL);
    ASSERT_EQ(m_host.questions.size(), 1u);
    EXPECT_TRUE(m_host.questions[0].startsWith(QStringLiteral("预计切割线搜索约需 ")))
        << m_host.questions[0].toStdString();
    EXPECT_FALSE(Runs().Busy());
    EXPECT_FALSE(Doc().Pictures().Decomposed());

    m_host.confirmAnswers = {true};
    Action(ID_ZANTREL).trigger();
    EXPECT_TRUE(Runs().Busy());
    Action(ID_CANCEL_RUN).trigger();
    WaitForIdle();
    EXPECT_FALSE(Doc().Pictures().Decomposed());
}

TEST_F(Limits, ALongStageTellsTheTimeItHasLeftOnceItCanBeTold) {
    m_app->InitInstance({});
    ProgressStatusBar& bar = m_app->Frame().StatusBar();
    bar.ShowCancelButton(true);
    bar.SetProgressPos(1);
    EXPECT_EQ(bar.RemainingText(), QString());
    QTest::qWait(1100);
    // The window tells the bar at every idle moment that work runs; the clock goes on.
    bar.ShowCancelButton(true);
    // Half the work took a little over a second, so about one second is left.
    bar.SetProgressPos(50);
    EXPECT_EQ(bar.RemainingText(), QStringLiteral("约剩 1 秒"));
    // A stage that starts again from the beginning has no estimate yet.
    bar.SetProgressPos(3);
    EXPECT_EQ(bar.RemainingText(), QString());
    bar.ShowCancelButton(false);
    EXPECT_EQ(bar.RemainingText(), QString());
}

}  // namespace

}  // namespace zantrel
