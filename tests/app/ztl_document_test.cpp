// The Zantrel file in the desktop application: saved after the cut-line stage, opened by its
// content on every way in, what a decoded document shows and offers, and damaged files.

#include <QImage>
#include <set>

#include "AppFixture.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/ProgressStatusBar.h"
#include "codec/ZtlFile.h"
#include "import/BmpFormat.h"
#include "linesearch/CutLineOverlay.h"
#include "quadtree/GridPictures.h"
#include "support/TestPictures.h"
#include "view/DisplayPicture.h"
#include "view/ZantrelView.h"

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;

constexpr int kWatched[] = {ID_SAVE_PICTURE, ID_SAVE_ZTL,  ID_PICTURE_COLOR, ID_PICTURE_GRAY,
                            ID_QUADTREE,     ID_GRAY_GRID, ID_ZANTREL,       ID_GRID_LINES,
                            ID_PSNR,         ID_BIT_RATE};

// What the screen should show of a picture: the top row first.
QImage OnScreen(const GrayPicture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int r = 0; r < picture.height; ++r) {
        for (int c = 0; c < picture.width; ++c) {
            const int v = picture.At(r, c);
            image.setPixel(c, picture.height - 1 - r, qRgb(v, v, v));
        }
    }
    return image;
}

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
    void SetUp() override {
        AppTest::SetUp();
        m_host.onExec = AnswerParameters(QStringLiteral("1"), QStringLiteral("4"));
        m_app->InitInstance({});
    }

    // Imports a picture of two flat halves split by a slanting edge, runs every stage and
    // saves the Zantrel file answering `name` to the dialog; returns the bytes of `saved`.
    std::vector<std::uint8_t> RunAndSave(const QString& name, QString saved = {}) {
        QImage image(kWidth, kHeight, QImage::Format_RGB888);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x)
                image.setPixel(x, y, 3 * y > 2 * x + 10 ? qRgb(60, 60, 60) : qRgb(190, 190, 190));
        }
        const QString picture = PathInFolder(QStringLiteral("slant.png"));
        EXPECT_TRUE(image.save(picture, "PNG"));
        m_host.fileAnswers = {picture, PathInFolder(name)};
        for (int id : {ID_IMPORT_PICTURE, ID_PICTURE_GRAY, ID_QUADTREE}) {
            Trigger(id);
            EXPECT_FALSE(Action(ID_SAVE_ZTL).isEnabled()) << id;
        }
        Trigger(ID_ZANTREL);
        EXPECT_FALSE(Doc().Pictures().decomposition.cutModels.empty());
        Trigger(ID_SAVE_ZTL);
        return ReadBytes(PathInFolder(saved.isEmpty() ? name : saved).toStdString());
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
        const CZantrelView& view = m_app->Frame().View();
        const QImage shot = view.viewport()->grab().toImage();
        return shot.copy(QRect(view.Origin(), DisplaySize(Doc().Pictures(), Mode())))
            .convertToFormat(QImage::Format_RGB32);
    }

    QString PaneText() { return m_app->Frame().StatusBar().PaneText(); }
};

TEST_F(ZtlDocument, SavedAfterTheCutLineStageDecodesToTheResult) {
    const std::vector<std::uint8_t> bytes =
        RunAndSave(QStringLiteral("approx"), QStringLiteral("approx.ztl"));
    const FileDialogRequest& request = m_host.fileRequests.back();
    EXPECT_TRUE(request.forSaving);
    EXPECT_EQ(request.filter, QStringLiteral("Zantrel 文件 (*.ztl)"));
    EXPECT_EQ(request.initialName, PathInFolder(QStringLiteral("slant.ztl")));

    ZtlPicture decoded;
    ASSERT_EQ(DecodeZtl(bytes, decoded), ZtlError::None);
    EXPECT_EQ(decoded.result, Doc().Pictures().result);
    EXPECT_EQ(decoded.settings.width, kWidth);
    EXPECT_EQ(decoded.settings.height, kHeight);
    EXPECT_EQ(decoded.settings.penalty, 1.0);
    EXPECT_EQ(decoded.settings.minBlockSize, 4);
    EXPECT_EQ(PaneText(), SizeText("已保存 Zantrel 文件", bytes.size()));
    EXPECT_TRUE(m_host.messages.empty());
}

TEST_F(ZtlDocument, OpensByContentOnEveryWayInAndOffersOnlyWhatItHolds) {
    // Not named .ztl: the content tells.
    const QString name = QStringLiteral("approx.bin");
    const std::vector<std::uint8_t> bytes = RunAndSave(name);
    const QString path = PathInFolder(name);
    const GrayPicture result = Doc().Pictures().result;
    ZtlPicture file;
    ASSERT_EQ(DecodeZtl(bytes, file), ZtlError::None);

    for (const int way : {int{ID_OPEN_PICTURE}, int{ID_IMPORT_PICTURE}, 0 /* start-up */}) {
        SCOPED_TRACE(way);
        MakeApp();
        m_app->InitInstance(way ? QString() : path);
        if (way) {
            m_host.fileAnswers = {path};
            Trigger(way);
        }
        EXPECT_TRUE(Doc().Pictures().decoded);
        EXPECT_EQ(Mode(), DISPLAY_ZANTREL);
        EXPECT_EQ(Doc().Pictures().result, result);
        EXPECT_EQ(Title(), LoadedTitle(name));
        EXPECT_EQ(PaneText(), SizeText("Zantrel 文件", bytes.size()));
    }
    EXPECT_TRUE(m_host.fileRequests.back().filter.contains(QStringLiteral("Zantrel 文件 (*.ztl)")));

    const std::set<int> views = {ID_SAVE_ZTL, ID_GRAY_GRID, ID_ZANTREL, ID_GRID_LINES};
    std::set<int> withSave = views;
    withSave.insert(ID_SAVE_PICTURE);
    struct Step {
        const char* name;
        int command;  // 0: as opened
        DisplayMode mode;
        QImage picture;
        std::set<int> enabled;
    };
    const Step steps[] = {
        {"opened", 0, DISPLAY_ZANTREL, OnScreen(result), withSave},
        {"gray grid", ID_GRAY_GRID, DISPLAY_GRAY_GRID, OnScreen(MakeGrayGrid(file.grid, result)),
         views},
        {"grid lines", ID_GRID_LINES, DISPLAY_GRID_LINES,
         OnScreen(GridWithCutLines(file.grid, file.cutModels)), views},
        {"result", ID_ZANTREL, DISPLAY_ZANTREL, OnScreen(result), withSave},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.command)
            Trigger(step.command);
        EXPECT_EQ(Mode(), step.mode);
        EXPECT_EQ(Enabled(), step.enabled);
        EXPECT_TRUE(Shown() == step.picture);
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
    EXPECT_EQ(bmp::ReadI32(bmpBytes, bmp::kWidth), kWidth);
    EXPECT_EQ(bmp::ReadI32(bmpBytes, bmp::kHeight), kHeight);
    EXPECT_EQ(bmp::ReadU32(bmpBytes, bmp::kInfoSize), 40u);
    int wrong = 0;
    for (int r = 0; r < kHeight; ++r) {
        for (int c = 0; c < kWidth; ++c)
            wrong += bmpBytes[54 + (r * kWidth + c) * 3] != result.At(r, c);
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(m_host.messages.empty());
}

TEST_F(ZtlDocument, DamagedFileIsReportedAndTheDocumentStays) {
    const std::vector<std::uint8_t> good = RunAndSave(QStringLiteral("good.ztl"));
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<std::uint8_t> truncated(good.begin(), good.end() - 3);
    std::vector<std::uint8_t> otherVersion = good;
    otherVersion[4] = kZtlVersion + 1;
    std::vector<std::uint8_t> trailing = good;
    trailing.push_back(0);
    const Case cases[] = {
        {"truncated", truncated}, {"another version", otherVersion}, {"trailing byte", trailing}};
    const GrayPicture result = Doc().Pictures().result;
    const QStringList recent = m_app->RecentFiles().Entries();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = PathInFolder(QStringLiteral("bad.ztl"));
        WriteBytes(path.toStdString(), c.bytes);
        m_host.messages.clear();
        m_host.fileAnswers = {path};
        Trigger(ID_OPEN_PICTURE);
        ASSERT_EQ(m_host.messages.size(), 1u);
        EXPECT_TRUE(m_host.messages[0].text.contains(QStringLiteral("bad.ztl")));
        EXPECT_EQ(m_host.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_FALSE(Doc().Pictures().decoded);
        EXPECT_EQ(Mode(), DISPLAY_ZANTREL);
        EXPECT_EQ(Doc().Pictures().result, result);
        EXPECT_EQ(Title(), LoadedTitle(QStringLiteral("slant.png")));
        EXPECT_EQ(m_app->RecentFiles().Entries(), recent);
        EXPECT_TRUE(Action(ID_PSNR).isEnabled());
    }
}

}  // namespace
