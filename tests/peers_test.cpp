// The standard codecs Zantrel is measured against: sizes, orientation and the direction of
// each setting, through the real libraries.

#include <gtest/gtest.h>

#include <functional>

#include "measure/Psnr.h"
#include "peers/PeerCodec.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

struct PeerCase {
    const char* name;
    std::function<std::optional<PeerCoding>(const GrayPicture&, double)> code;
    double coarse;  // a setting well below
    double fine;    // this one
};

const PeerCase kPeers[] = {
    {"jpeg", [](const GrayPicture& g, double q) { return CodeJpeg(g, static_cast<int>(q)); }, 10,
     90},
    {"jpeg2000", [](const GrayPicture& g, double bpp) { return CodeJpeg2000(g, bpp); }, 1, 4},
    {"webp", [](const GrayPicture& g, double q) { return CodeWebp(g, static_cast<float>(q)); }, 5,
     90},
    {"avif", [](const GrayPicture& g, double q) { return CodeAvif(g, static_cast<int>(q), 8); }, 56,
     10},
    {"jxl", [](const GrayPicture& g, double d) { return CodeJxl(g, static_cast<float>(d), 7); }, 12,
     0.5},
};

TEST(Peers, DecodeToTheInputSizeAndAFinerSettingCostsMoreAndComesCloser) {
    for (const PeerCase& peer : kPeers) {
        SCOPED_TRACE(peer.name);
        for (const GrayPicture& gray : {RampsAndEdges(37, 23), RandomGray(37, 23, 5)}) {
            const std::optional<PeerCoding> coarse = peer.code(gray, peer.coarse);
            const std::optional<PeerCoding> fine = peer.code(gray, peer.fine);
            ASSERT_TRUE(coarse && fine);
            EXPECT_EQ(coarse->decoded.width, 37);
            EXPECT_EQ(coarse->decoded.height, 23);
            EXPECT_EQ(fine->decoded.samples.size(), gray.samples.size());
            EXPECT_GT(coarse->bytes, 0u);
            EXPECT_GT(fine->bytes, coarse->bytes);
            EXPECT_GT(Psnr(gray, fine->decoded), Psnr(gray, coarse->decoded));
        }
        // The smallest picture, and a strip one sample high.
        for (const GrayPicture& gray : {GrayPicture(1, 1, 200), RampsAndEdges(4000, 1)}) {
            const std::optional<PeerCoding> fine = peer.code(gray, peer.fine);
            ASSERT_TRUE(fine) << gray.width;
            EXPECT_GT(fine->bytes, 0u);
            EXPECT_EQ(fine->decoded.width, gray.width);
            EXPECT_EQ(fine->decoded.height, 1);
            EXPECT_GT(Psnr(gray, fine->decoded), 30.0);
        }
    }
}

TEST(Peers, BottomRowStaysAtTheBottom) {
    // Row 0 is the bottom row: black below, white above.
    const GrayPicture gray = MakeGray(37, 23, [](int row, int) { return row < 11 ? 0 : 255; });
    for (const PeerCase& peer : kPeers) {
        SCOPED_TRACE(peer.name);
        const std::optional<PeerCoding> coding = peer.code(gray, peer.fine);
        ASSERT_TRUE(coding);
        EXPECT_LT(coding->decoded.At(0, 18), 40);
        EXPECT_GT(coding->decoded.At(22, 18), 215);
    }
}

TEST(Peers, Jpeg2000LandsNearItsTargetRateAndWebpRefusesWhatItCannotHold) {
    const GrayPicture gray = RampsAndEdges(256, 256);
    for (const double target : {0.25, 1.0}) {
        const std::optional<PeerCoding> coding = CodeJpeg2000(gray, target);
        ASSERT_TRUE(coding);
        const double rate = 8.0 * static_cast<double>(coding->bytes) / gray.PixelCount();
        EXPECT_NEAR(rate, target, 0.1 * target) << target;
    }
    EXPECT_FALSE(CodeWebp(GrayPicture(16384, 1), 50));
    EXPECT_FALSE(CodeJpeg(gray, 0));
    EXPECT_FALSE(CodeJpeg2000(gray, 0));
    EXPECT_FALSE(CodeAvif(gray, 64, 6));
    EXPECT_FALSE(CodeJxl(gray, 0, 7));  // distance 0 is not lossy
    EXPECT_FALSE(CodeJxl(gray, 16, 7));
}

}  // namespace

}  // namespace zantrel
