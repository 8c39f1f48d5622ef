// The document on its own, without a window: what each change tells through the signals, what
// a new stage drops, and background runs that read only the inputs they were given.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/StageJob.h"
#include "app/ZantrelDoc.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

// Two flat regions on either side of the diagonal: a quadtree with a few cut lines.
std::uint32_t Diagonal(int row, int col) {
    return row > col ? 0x3C3C3C : 0xBEBEBE;
}

class DocumentChanges : public ::testing::Test {
  protected:
    void SetUp() override {
        m_folder = MakeTempFolder();
        QObject::connect(&m_doc, &ZantrelDoc::Opened, [this] { m_heard.push_back("opened"); });
        QObject::connect(&m_doc, &ZantrelDoc::GrayReplaced,
                         [this] { m_heard.push_back("gray replaced"); });
        QObject::connect(&m_doc, &ZantrelDoc::TitleChanged, [this] { m_heard.push_back("title"); });
        QObject::connect(&m_doc, &ZantrelDoc::StageChanged, [this](DocumentStage stage) {
            m_heard.push_back("stage " + std::to_string(static_cast<int>(stage)));
        });
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    QString Picture(const char* name, std::function<std::uint32_t(int, int)> bgr) {
        const std::string path = m_folder + "/" + name;
        WriteBytes(path, MakeBmpBytes(bgr));
        return QString::fromStdString(path);
    }
    // Runs `request` on the document's inputs and adopts the outputs.
    void Run(const StageRequest& request) {
        LineSearchWorkspace search;
        QuietProgress quiet;
        std::optional<StageOutputs> outputs = RunStages(m_doc.Inputs(), request, search, quiet);
        ASSERT_TRUE(outputs.has_value());
        m_doc.Adopt(std::move(*outputs));
    }

    std::string m_folder;
    ZantrelDoc m_doc;
    std::vector<std::string> m_heard;
};

TEST_F(DocumentChanges, EachChangeIsToldAndANewStageDropsWhatCameAfterIt) {
    const DecompositionParameters parameters{1, 4};
    const auto stage = [](DocumentStage s) { return "stage " + std::to_string(int(s)); };
    const struct {
        const char* name;
        std::function<void()> change;
        std::vector<std::string> heard;
        bool grayGrid;  // the document still holds a gray grid
        bool cutLines;  // and a cut-line result with its figures
    } steps[] = {
        {"open",
         [&] { ASSERT_TRUE(m_doc.LoadPicture(Picture("a.bmp", Diagonal))); },
         {"gray replaced", "title", "opened"},
         false,
         false},
        {"gray",
         [&] { m_doc.RunGray(); },
         {"gray replaced", stage(DocumentStage::Gray)},
         false,
         false},
        {"quadtree",
         [&] {
             Run({parameters, false});
         },
         {stage(DocumentStage::Quadtree)},
         false,
         false},
        {"gray grid", [&] { m_doc.RunGrayGrid(); }, {stage(DocumentStage::GrayGrid)}, true, false},
        {"cut lines",
         [&] {
             Run({std::nullopt, true});
         },
         {stage(DocumentStage::CutLines)},
         true,
         true},
        {"both at once",
         [&] {
             Run({parameters, true});
         },
         {stage(DocumentStage::QuadtreeAndCutLines)},
         false,
         true},
        {"new quadtree",
         [&] {
             Run({parameters, false});
         },
         {stage(DocumentStage::Quadtree)},
         false,
         false},
        {"untitled", [&] { m_doc.OnNewDocument(); }, {"title"}, false, false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        m_heard.clear();
        step.change();
        EXPECT_EQ(m_heard, step.heard);
        EXPECT_EQ(!m_doc.Pictures().GrayGrid().samples.empty(), step.grayGrid);
        EXPECT_EQ(m_doc.Pictures().Decomposed(), step.cutLines);
        EXPECT_EQ(m_doc.Figures().has_value(), step.cutLines);
    }
    EXPECT_EQ(m_doc.TitleName(), QString());
}

TEST_F(DocumentChanges, ARunReadsOnlyItsInputsWhileTheDocumentMovesOn) {
    ASSERT_TRUE(m_doc.LoadPicture(Picture("a.bmp", Diagonal)));
    m_doc.RunGray();
    Run({DecompositionParameters{1, 4}, false});
    const StageInputs inputs = m_doc.Inputs();
    LineSearchWorkspace search;
    QuietProgress quiet;
    const std::optional<StageOutputs> before =
        RunStages(inputs, {std::nullopt, true}, search, quiet);
    ASSERT_TRUE(before && before->cutLines);

    // Another picture replaces every picture the inputs were taken from.
    ASSERT_TRUE(m_doc.LoadPicture(Picture("b.bmp", [](int, int) { return 0x808080u; })));
    m_doc.RunGray();
    const std::optional<StageOutputs> after =
        RunStages(inputs, {std::nullopt, true}, search, quiet);
    ASSERT_TRUE(after && after->cutLines);
    EXPECT_EQ(after->cutLines->stage.result, before->cutLines->stage.result);
    EXPECT_EQ(after->cutLines->figures.cutModels, before->cutLines->figures.cutModels);
    EXPECT_GT(before->cutLines->figures.cutModels, 0u);
}

}  // namespace

}  // namespace zantrel
