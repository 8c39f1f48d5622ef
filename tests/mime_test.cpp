// The desktop's MIME type for Zantrel files, compiled as file managers compile it, knows a
// written file by its first bytes and by its name.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "codec/ZtlFile.h"
#include "support/CliRunner.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

TEST(MimeType, TellsAWrittenFileByItsMagicAndItsName) {
    if (!std::filesystem::exists("/usr/bin/update-mime-database"))
        GTEST_SKIP() << "shared-mime-info is not installed";
    const std::string folder = MakeTempFolder();
    std::filesystem::create_directories(folder + "/packages");
    std::filesystem::copy_file(std::string(ZANTREL_SOURCE_DIR) + "/app/zantrel-mime.xml",
                               folder + "/packages/zantrel.xml");
    ASSERT_EQ(RunShell("/usr/bin/update-mime-database '" + folder + "'").exitCode, 0);

    // The compiled magic: "[priority:type]", then ">offset=" and a 2-byte length and the bytes.
    const std::vector<std::uint8_t> file = EncodeZtl(Quadtree{});
    const std::vector<std::uint8_t> magic = ReadBytes(folder + "/magic");
    const std::string text(magic.begin(), magic.end());
    const std::string rule = "[60:image/x-zantrel]\n>0=" + std::string("\0\4", 2) +
                             std::string(file.begin(), file.begin() + 4) + "\n";
    EXPECT_NE(text.find(rule), std::string::npos);
    const std::vector<std::uint8_t> globs = ReadBytes(folder + "/globs2");
    EXPECT_NE(std::string(globs.begin(), globs.end()).find("image/x-zantrel:*.ztl"),
              std::string::npos);
    std::filesystem::remove_all(folder);
}

}  // namespace

}  // namespace zantrel
