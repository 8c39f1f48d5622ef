// The .ztl file: the cut-line numbering against the search's own order, the round trip to the
// exact approximation, and refusals of damaged files.

#include <gtest/gtest.h>

#include "codec/CutLineCode.h"
#include "codec/ZtlFile.h"
#include "import/BmpReader.h"
#include "linesearch/BorderPoints.h"
#include "linesearch/CutLineOverlay.h"
#include "measure/Stages.h"
#include "picture/GrayConversion.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

struct Encoded {
    CutLineStage stage;
    QuadtreeStage quadtree;
    std::vector<std::uint8_t> file;
};

Encoded EncodeRun(const GrayPicture& gray, double penalty, int minBlock) {
    PipelineWorkspace workspace;
    PrepareWorkspace(gray, workspace);
    QuadtreeStage quadtree = RunQuadtreeStage(workspace, penalty, minBlock);
    QuietProgress progress;
    CutLineStage stage = *RunCutLineStage(gray, quadtree, workspace, 2, progress);
    std::vector<std::uint8_t> file = EncodeZtl(stage.decomposition.tree);
    return {std::move(stage), std::move(quadtree), std::move(file)};
}

GrayPicture SampleGray() {
    const BmpReadResult loaded = ReadBmpFile(ZANTREL_SAMPLE);
    EXPECT_TRUE(loaded);
    return loaded ? ConvertToGray(loaded->picture) : GrayPicture();
}

}  // namespace

// Every oblique line the search tries, in its order, gets the next index and back.
TEST(ZtlFile, ObliqueLinesAreNumberedInTheSearchOrder) {
    for (int n = 2; n <= 24; ++n) {
        const std::vector<LatticePoint> points = MakeBorderPoints(n);
        std::uint32_t index = 0;
        for (int i = 0; i < 4 * n; ++i) {
            for (int j = i + 1; j < 4 * n; ++j) {
                const LatticePoint p = points[i], q = points[j];
                const bool emptySideB = (p.row == 0 && p.col == 1 && q.row == 1 && q.col == 0) ||
                                        (p.row == n && p.col == 1 && q.row == n - 1 && q.col == 0);
                if (p.row == q.row || p.col == q.col)
                    continue;
                const CutLine line{p, q};
                const std::optional<CutLineCode> code = EncodeCutLine(n, line);
                if (emptySideB) {  // never tried, so never in a file
                    ASSERT_FALSE(code) << n << ": " << i << "-" << j;
                    continue;
                }
                ASSERT_TRUE(code && code->kind == CutLineCode::Oblique && code->index == index)
                    << n << ": " << i << "-" << j;
                ASSERT_EQ(DecodeCutLine(n, *code), line);
                ++index;
            }
        }
        EXPECT_EQ(index, ObliqueLineCount(n));
    }
}

// decode(encode(run)) is the run's approximation, grid and cut lines, pixel for pixel.
TEST(ZtlFile, DecodesExactlyWhatTheRunProduced) {
    struct Case {
        GrayPicture gray;
        double penalty;
        int minBlock;
    };
    std::vector<Case> cases;
    const GrayPicture sample = SampleGray();
    for (const double penalty : {0.0, 1.0, 10.0, 100.0, 1000.0})
        cases.push_back({sample, penalty, 4});
    cases.push_back({sample, 5.0, 1});
    for (const auto& [width, height] : kOddSizes) {
        for (int kind = 0; kind < 2; ++kind)
            cases.push_back({OddSizePicture(kind, width, height), kind ? 1.0 : 50.0, kind ? 3 : 2});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.gray.width << "x" << c.gray.height << " penalty "
                                        << c.penalty << " min " << c.minBlock);
        const Encoded encoded = EncodeRun(c.gray, c.penalty, c.minBlock);
        ZtlPicture decoded;
        ASSERT_EQ(DecodeZtl(encoded.file, decoded), ZtlError::None);
        EXPECT_EQ(decoded.tree.width, c.gray.width);
        EXPECT_EQ(decoded.tree.penalty, c.penalty);
        EXPECT_EQ(decoded.tree.minBlockSize, c.minBlock);
        EXPECT_TRUE(decoded.result == encoded.stage.result);
        EXPECT_TRUE(decoded.grid == encoded.quadtree.grid);
        // The file keeps every leaf's place and model; only the one-value fit of a cut leaf,
        // which drawing does not need, stays behind.
        const Quadtree& made = encoded.stage.decomposition.tree;
        ASSERT_EQ(decoded.tree.leaves.size(), made.leaves.size());
        for (std::size_t i = 0; i < made.leaves.size(); ++i) {
            const QuadBlock& a = decoded.tree.leaves[i];
            const QuadBlock& b = made.leaves[i];
            ASSERT_TRUE(a.row == b.row && a.col == b.col && a.size == b.size && a.model == b.model)
                << i;
        }
    }
}

// The sample's file at the ten default penalties keeps its size: a coder change that still
// round-trips but spends more bits shows here.
TEST(ZtlFile, SampleFilesKeepTheirSize) {
    const GrayPicture sample = SampleGray();
    const struct {
        double penalty;
        std::size_t bytes;
    } pinned[] = {{1, 17773}, {2, 15377},  {5, 11983},  {10, 9378},  {20, 6923},
                  {50, 4363}, {100, 2944}, {200, 2040}, {500, 1105}, {1000, 670}};
    for (const auto& p : pinned) {
        const std::size_t bytes = EncodeRun(sample, p.penalty, 4).file.size();
        // Within half a percent either way: smaller is welcome, but should be pinned anew.
        EXPECT_NEAR(static_cast<double>(bytes), static_cast<double>(p.bytes), p.bytes * 0.005)
            << "penalty " << p.penalty;
    }
}

// Damaged files are refused with the right reason, or decode to some picture of the header's
// size; nothing in between (run under ASan in CI for out-of-bounds reads).
TEST(ZtlFile, DamagedFilesAreRefusedOrDecodeToAValidPicture) {
    const Encoded encoded = EncodeRun(RampsAndEdges(40, 27), 2.0, 2);
    const std::vector<std::uint8_t>& file = encoded.file;
    ZtlPicture decoded;

    auto with = [&](std::size_t at, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = file;
        bytes[at] = value;
        return DecodeZtl(bytes, decoded);
    };
    EXPECT_EQ(with(0, 'X'), ZtlError::NotZtl);
    EXPECT_EQ(with(4, 3), ZtlError::UnknownVersion);
    EXPECT_EQ(with(5, 0), ZtlError::BadHeader);      // minimum block size 0
    EXPECT_EQ(with(5, 129), ZtlError::BadHeader);    // over 128
    EXPECT_EQ(with(6, 0), ZtlError::BadHeader);      // width 0 (27 * 256 + 0 is fine, 0 is not)
    EXPECT_EQ(with(7, 0x41), ZtlError::BadHeader);   // width over 16384
    EXPECT_EQ(with(17, 0xFF), ZtlError::BadHeader);  // penalty NaN
    std::vector<std::uint8_t> longer = file;
    longer.push_back(0);
    EXPECT_EQ(DecodeZtl(longer, decoded), ZtlError::TrailingData);
    for (std::size_t length = 0; length < file.size(); ++length) {
        const std::span<const std::uint8_t> cut(file.data(), length);
        EXPECT_NE(DecodeZtl(cut, decoded), ZtlError::None) << "cut to " << length;
    }

    int refused = 0;
    for (std::size_t at = kZtlHeaderBytes; at < file.size(); ++at) {
        for (const std::uint8_t flip : {0x01, 0x80, 0xFF}) {
            decoded = {};
            const ZtlError error = with(at, file[at] ^ flip);
            if (error != ZtlError::None) {
                ++refused;
                continue;
            }
            ASSERT_EQ(decoded.result.width, 40);
            ASSERT_EQ(decoded.result.samples.size(), 40u * 27u);
        }
    }
    EXPECT_GT(refused, 0);
}

}  // namespace zantrel
