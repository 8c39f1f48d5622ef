// Replays the inputs kept from fuzzing (fuzz/regressions) and the real files through the
// fuzzers' own checks of the readers, so a fixed finding stays fixed in every build.

#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/LoadCheck.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

void ExpectEveryFileKeepsTheReadersPromises(const std::string& folder) {
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".md")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        const std::vector<std::uint8_t> bytes = ReadBytes(entry.path().string());
        EXPECT_EQ(CheckLoadBytes(bytes), "");
        EXPECT_EQ(CheckImportBytes(bytes), "");
        EXPECT_EQ(CheckZtlBytes(bytes), "");
        ++replayed;
    }
    EXPECT_GT(replayed, 0) << folder << " holds no inputs";
}

TEST(FuzzRegressions, KeptInputsKeepTheReadersPromises) {
    ExpectEveryFileKeepsTheReadersPromises(ZANTREL_FUZZ_REGRESSIONS);
}

TEST(FuzzRegressions, EncodedSeedsKeepTheReadersPromises) {
    ExpectEveryFileKeepsTheReadersPromises(ZANTREL_ZTL_SEEDS);
}

TEST(FuzzRegressions, RealFilesKeepTheReadersPromises) {
    ExpectEveryFileKeepsTheReadersPromises(ZANTREL_REAL_FILES);
}

}  // namespace

}  // namespace zantrel
