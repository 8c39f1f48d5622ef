// The Zantrel file in the desktop application: saved after the cut-line stage, opened by its
// content on every way in, what a decoded document shows and offers, and damaged files.

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QSlider>
#include <algorithm>
#include <set>

#include "AppFixture.h"
#include "app/CommandTable.h"
#include "app/EnablingRules.h"
#include "app/ExplorePanel.h"
#include "app/MainFrame.h"
#include "app/ProgressStatusBar.h"
#include "codec/ZtlFile.h"
#include "import/BmpFormat.h"
#include "import/BmpWriter.h"
#include "linesearch/CutLineOverlay.h"
#include "measure/FigureText.h"
#include "quadtree/GridPictures.h"
#include "support/TestPictures.h"
#include "view/CompareView.h"
#include "view/DisplayPicture.h"
#include "view/ZantrelView.h"

namespace zantrel {

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;

constexpr int kWatched[] = {ID_SAVE_PICTURE, ID_SAVE_ZTL,  ID_PICTURE_COLOR, ID_PICTURE_GRAY,
                            ID_QUADTREE,     ID_GRAY_GRID, ID_ZANTREL,       ID_GRID_LINES,
                            ID_PSNR,         ID_BIT_RATE};

// What the screen should show of a picture: the top row first.
QImage OnScreen(const ColorPicture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int r = 0; r < picture.height; ++r) {
        for (int c = 0; c < picture.width; ++c) {
            const std::uint8_t* bgr = picture.Pixel(r, c);
            image.setPixel(c, picture.height - 1 - r, qRgb(bgr[2], bgr[1], bgr[0]));
        }
    }
    return image;
}

QString SizeText(const char* what, std::size_t bytes) {
    return QStringLiteral("%1：%2 字节，%3 比特/像素")
        .arg(QString::fromUtf8(what))
        .arg(bytes)
        .arg(8.0 * static_cast<double>(bytes) / (kWidth * kHeight), 0, 'f', 6);
}

class ZtlDocument : public AppTest {
  protected:
    // Imports a picture of two flat halves split by a slanting edge, runs every stage, the
    // save command being off until the last, and saves the Zantrel file answering `name`.
    void RunAndSave(const QString& name) {
        QImage image(kWidth, kHeight, QImage::Format_RGB888);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x)
                image.setPixel(x, y, 3 * y > 2 * x + 10 ? qRgb(60, 60, 60) : qRgb(190, 190, 190));
        }
        const QString picture = PathInFolder(QStringLiteral("slant.png"));
        ASSERT_TRUE(image.save(picture, "PNG"));
        m_host.onExec = AnswerParameters(QStringLiteral("1"), QStringLiteral("4"));
        m_app->InitInstance({});
        m_host.fileAnswers = {picture, PathInFolder(name)};
        for (int id : {ID_IMPORT_PICTURE, ID_PICTURE_GRAY, ID_QUADTREE}) {
            Trigger(id);
            EXPECT_FALSE(Action(ID_SAVE_ZTL).isEnabled()) << id;
        }
        Trigger(ID_ZANTREL);
        EXPECT_GT(CutCount(Doc().Pictures().Tree()), 0);
        Trigger(ID_SAVE_ZTL);
    }

    std::set<int> Enabled() {
        std::set<int> enabled;
        for (int id : kWatched) {
            if (Action(id).isEnabled())
                enabled.insert(id);
        }
        return enabled;
    }

    QImage Shown() {
        const ZantrelView& view = m_app->Frame().View();
        return view.viewport()
            ->grab()
            .toImage()
            .copy(QRect(view.Origin(), DisplaySize(Doc().Pictures(), Mode())))
            .convertToFormat(QImage::Format_RGB32);
    }

    QString PaneText() { return m_app->Frame().StatusBar().PaneText(); }
};

TEST_F(ZtlDocument, SavedFileHoldsTheResultAndOpensByItsContentOnEveryWayIn) {
    RunAndSave(QStringLiteral("approx"));
    const FileDialogRequest& request = m_host.fileRequests.back();
    EXPECT_TRUE(request.forSaving);
    EXPECT_EQ(request.filter, QStringLiteral("Zantrel 文件 (*.ztl)"));
    EXPECT_EQ(request.initialName, PathInFolder(QStringLiteral("slant.ztl")));
    const std::vector<std::uint8_t> bytes =
        ReadBytes(PathInFolder(QStringLiteral("approx.ztl")).toStdString());
    const GrayPicture result = Doc().Pictures().Result();
    ZtlPicture file;
    ASSERT_EQ(DecodeZtl(bytes, file), ZtlError::None);
    EXPECT_EQ(file.result, result);
    EXPECT_EQ(file.tree.penalty, 1.0);
    EXPECT_EQ(file.tree.minBlockSize, 4);
    EXPECT_EQ(PaneText(), SizeText("已保存 Zantrel 文件", bytes.size()));

    // Not named .ztl: the content tells.
    const QString path = PathInFolder(QStringLiteral("approx.bin"));
    WriteBytes(path.toStdString(), bytes);
    for (const int way : {int{ID_OPEN_PICTURE}, int{ID_IMPORT_PICTURE}, 0 /* start-up */}) {
        SCOPED_TRACE(way);
        MakeApp();
        m_app->InitInstance(way ? QString() : path);
        m_host.fileAnswers = {path};
        if (way)
            Trigger(way);
        EXPECT_EQ(Mode(), DISPLAY_ZANTREL);
        EXPECT_EQ(Doc().Pictures().Result(), result);
        EXPECT_EQ(Title(), LoadedTitle(QStringLiteral("approx.bin")));
        EXPECT_EQ(PaneText(), SizeText("Zantrel 文件", bytes.size()));
    }
    EXPECT_TRUE(m_host.fileRequests.back().filter.contains(QStringLiteral("Zantrel 文件 (*.ztl)")));
    // What the enabling rules read of it: a decoded document that holds a decomposition.
    const PipelineState state = CurrentPipelineState(Doc().Pictures(), Mode(), false);
    EXPECT_TRUE(state.pictureLoaded && state.decoded && state.decomposed);
    // The file holds no gray picture to explore.
    EXPECT_FALSE(m_app->Frame().Explore().PenaltySlider()->isEnabled());
    EXPECT_TRUE(m_app->Frame().Explore().NoteText().contains(QStringLiteral("Zantrel 文件")));

    // Only its three pictures are offered, from any of them.
    const std::set<int> views = {ID_SAVE_ZTL, ID_GRAY_GRID, ID_ZANTREL, ID_GRID_LINES};
    std::set<int> withSave = views;
    withSave.insert(ID_SAVE_PICTURE);
    const struct {
        int command;  // 0: as opened
        DisplayMode mode;
        ColorPicture picture;
        std::set<int> enabled;
    } steps[] = {
        {0, DISPLAY_ZANTREL, GrayToColor(result), withSave},
        {ID_GRAY_GRID, DISPLAY_GRAY_GRID, GrayToColor(MakeGrayGrid(file.grid, result)), views},
        {ID_GRID_LINES, DISPLAY_GRID_LINES, GridWithCutLines(file.grid, file.tree), views},
        {ID_ZANTREL, DISPLAY_ZANTREL, GrayToColor(result), withSave},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        if (step.command)
            Trigger(step.command);
        EXPECT_EQ(Mode(), step.mode);
        EXPECT_EQ(Enabled(), step.enabled);
        EXPECT_TRUE(Shown() == OnScreen(step.picture));
    }

    // Saving again writes the same file; the result picture is saved at its size behind a
    // plain header.
    const QString again = PathInFolder(QStringLiteral("again.ztl"));
    const QString saved = PathInFolder(QStringLiteral("result.bmp"));
    m_host.fileAnswers = {again, saved};
    Trigger(ID_SAVE_ZTL);
    EXPECT_EQ(ReadBytes(again.toStdString()), bytes);
    Trigger(ID_SAVE_PICTURE);
    const std::vector<std::uint8_t> bmpBytes = ReadBytes(saved.toStdString());
    ASSERT_EQ(bmpBytes.size(), 54u + kWidth * 3 * kHeight);
    EXPECT_EQ(bmp::ReadU32(bmpBytes, bmp::kInfoSize), 40u);
    const ColorPicture colour = GrayToColor(result);
    EXPECT_TRUE(std::equal(colour.bgr.begin(), colour.bgr.end(), bmpBytes.begin() + 54));
    EXPECT_TRUE(m_host.messages.empty());
}

// A decoded file's gray grid is there from the start, as the menu offers it: the compare view
// offers it too, as the menu then shows it, and tells the approximation's file bit rate.
TEST_F(ZtlDocument, CompareViewOffersTheDecodedGrayGridAndTheFilesRate) {
    RunAndSave(QStringLiteral("compare.ztl"));
    const QString path = PathInFolder(QStringLiteral("compare.ztl"));
    const std::size_t bytes = ReadBytes(path.toStdString()).size();
    const QString rate =
        QString::number(8.0 * static_cast<double>(bytes) / (kWidth * kHeight), 'f', 6);
    m_host.fileAnswers = {path};
    Trigger(ID_OPEN_PICTURE);
    ASSERT_TRUE(Doc().Pictures().Decoded());
    EXPECT_TRUE(Action(ID_GRAY_GRID).isEnabled());
    Trigger(ID_VIEW_COMPARE);
    CompareView& compare = m_app->Frame().ComparePanes();
    QComboBox& chooser = compare.Chooser(0);
    chooser.setCurrentIndex(chooser.findText(QStringLiteral("灰度网格")));
    ASSERT_EQ(chooser.currentText(), QStringLiteral("灰度网格"));
    const QImage offered = compare.Canvas(0).Image().convertToFormat(QImage::Format_RGB32);

    chooser.setCurrentIndex(chooser.findText(QStringLiteral("Zantrel 近似")));
    EXPECT_EQ(compare.Figures(0).text(), QStringLiteral("文件比特率 %1 比特/像素").arg(rate));
    Trigger(ID_LANGUAGE_ENGLISH);
    EXPECT_EQ(compare.Figures(0).text(), QStringLiteral("File bit rate %1 bits/pixel").arg(rate));

    Trigger(ID_VIEW_COMPARE);
    Trigger(ID_GRAY_GRID);
    EXPECT_EQ(Mode(), DISPLAY_GRAY_GRID);
    EXPECT_TRUE(Shown() == offered);
}

// The figure boxes keep their figures as they read and add the unit under them; the bit-rate
// box adds the file the result is saved as.
TEST_F(ZtlDocument, FigureBoxesAddTheUnitAndTheFilesRealRate) {
    RunAndSave(QStringLiteral("real.ztl"));
    const std::size_t bytes =
        ReadBytes(PathInFolder(QStringLiteral("real.ztl")).toStdString()).size();
    const QString rate =
        QString::number(8.0 * static_cast<double>(bytes) / (kWidth * kHeight), 'f', 6);
    const struct {
        int language;
        const char* psnrUnit;
        const char* rateLines;
    } languages[] = {
        {ID_LANGUAGE_CHINESE, "单位：dB", "单位：比特/像素\nZantrel 文件：%1 字节，%2 比特/像素"},
        {ID_LANGUAGE_ENGLISH, "Unit: dB",
         "Unit: bits/pixel\nZantrel file: %1 bytes, %2 bits/pixel"},
    };
    for (const auto& language : languages) {
        SCOPED_TRACE(language.psnrUnit);
        Trigger(language.language);
        m_host.messages.clear();
        Trigger(ID_PSNR);
        Trigger(ID_BIT_RATE);
        ASSERT_EQ(m_host.messages.size(), 2u);
        EXPECT_EQ(m_host.messages[0].text.section(QLatin1Char('\n'), 0, 0).toStdString(),
                  FormatFigure(Doc().PsnrFigure()));
        EXPECT_EQ(m_host.messages[0].informative, QString::fromUtf8(language.psnrUnit));
        EXPECT_EQ(m_host.messages[1].text.toStdString(), FormatFigure(Doc().BitRateFigure()));
        EXPECT_EQ(m_host.messages[1].informative,
                  QString::fromUtf8(language.rateLines).arg(bytes).arg(rate));
    }
}

// Both open commands open a Zantrel file too: their dialogs' first filter lists it.
TEST_F(ZtlDocument, EachOpenDialogsFirstFilterShowsEveryFileItOpens) {
    m_app->InitInstance({});
    const struct {
        int command;
        QStringList patterns;
    } opens[] = {
        {ID_OPEN_PICTURE, {QStringLiteral("*.bmp"), QStringLiteral("*.ztl")}},
        {ID_IMPORT_PICTURE,
         {QStringLiteral("*.bmp"), QStringLiteral("*.png"), QStringLiteral("*.ztl")}},
    };
    static const QRegularExpression kPatterns(QStringLiteral("^[^(]+\\(([^)]+)\\)$"));
    for (const int language : {ID_LANGUAGE_CHINESE, ID_LANGUAGE_ENGLISH}) {
        Trigger(language);
        for (const auto& open : opens) {
            SCOPED_TRACE(testing::Message() << language << " " << open.command);
            m_host.fileRequests.clear();
            Trigger(open.command);  // no answer: cancelled
            ASSERT_EQ(m_host.fileRequests.size(), 1u);
            const QString first = m_host.fileRequests[0].filter.section(QStringLiteral(";;"), 0, 0);
            const QRegularExpressionMatch match = kPatterns.match(first);
            ASSERT_TRUE(match.hasMatch()) << first.toStdString();
            const QStringList shown = match.captured(1).split(QLatin1Char(' '));
            for (const QString& pattern : open.patterns)
                EXPECT_TRUE(shown.contains(pattern))
                    << first.toStdString() << " " << pattern.toStdString();
        }
    }
}

TEST_F(ZtlDocument, DamagedFileIsReportedAndTheDocumentStays) {
    RunAndSave(QStringLiteral("good.ztl"));
    const std::vector<std::uint8_t> good =
        ReadBytes(PathInFolder(QStringLiteral("good.ztl")).toStdString());
    std::vector<std::uint8_t> otherVersion = good;
    otherVersion[4] = kZtlVersion + 1;  // the newest version's successor
    std::vector<std::uint8_t> trailing = good;
    trailing.push_back(0);
    const std::vector<std::uint8_t> cases[] = {
        {good.begin(), good.end() - 3}, otherVersion, trailing};
    const GrayPicture result = Doc().Pictures().Result();
    const QStringList recent = m_app->Frame().RecentFiles().Entries();
    const QString path = PathInFolder(QStringLiteral("bad.ztl"));
    for (const std::vector<std::uint8_t>& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        WriteBytes(path.toStdString(), bytes);
        m_host.messages.clear();
        m_host.fileAnswers = {path};
        Trigger(ID_OPEN_PICTURE);
        ASSERT_EQ(m_host.messages.size(), 1u);
        EXPECT_TRUE(m_host.messages[0].text.contains(QStringLiteral("bad.ztl")));
        EXPECT_EQ(Mode(), DISPLAY_ZANTREL);
        EXPECT_EQ(Doc().Pictures().Result(), result);
        EXPECT_EQ(Title(), LoadedTitle(QStringLiteral("slant.png")));
        EXPECT_EQ(m_app->Frame().RecentFiles().Entries(), recent);
        EXPECT_TRUE(Action(ID_PSNR).isEnabled());
    }
}

}  // namespace

}  // namespace zantrel
