// The engine must build without any GUI toolkit: no engine file may include a Qt header.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

namespace {

TEST(Architecture, EngineFoldersIncludeNoQtHeader) {
    namespace fs = std::filesystem;
    const std::regex qtInclude(R"(^\s*#\s*include\s*[<"](Q[A-Za-z]|qt))");
    int files = 0;
    for (const char* folder : {"picture", "quadtree", "linesearch", "measure", "platform"}) {
        const fs::path root = fs::path(ZANTREL_SOURCE_DIR) / folder;
        ASSERT_TRUE(fs::is_directory(root)) << root;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (!entry.is_regular_file())
                continue;
            ++files;
            std::ifstream in(entry.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number) {
                EXPECT_FALSE(std::regex_search(line, qtInclude))
                    << entry.path() << ":" << number << ": " << line;
            }
        }
    }
    EXPECT_GT(files, 10);
}

}  // namespace
