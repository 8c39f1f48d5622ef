// Replays the inputs kept from fuzzing (fuzz/regressions) and the real files through the
// fuzzer's own check of the loader, so a fixed finding stays fixed in every build.

#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/LoadCheck.h"
#include "support/TestPictures.h"

namespace {

void ExpectEveryFileKeepsTheLoadersPromise(const std::string& folder) {
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".md")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        const std::vector<std::uint8_t> bytes = ReadBytes(entry.path().string());
        EXPECT_EQ(CheckLoadBytes(bytes), "");
        ++replayed;
    }
    EXPECT_GT(replayed, 0) << folder << " holds no inputs";
}

TEST(FuzzRegressions, KeptInputsKeepTheLoadersPromise) {
    ResetStore();
    ExpectEveryFileKeepsTheLoadersPromise(ZANTREL_FUZZ_REGRESSIONS);
}

TEST(FuzzRegressions, RealFilesKeepTheLoadersPromise) {
    ResetStore();
    ExpectEveryFileKeepsTheLoadersPromise(ZANTREL_REAL_FILES);
}

}  // namespace
