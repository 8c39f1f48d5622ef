// The layering of the sources: every include points to its own folder or to a lower layer, and
// the engine builds without any GUI toolkit.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace zantrel {

namespace {

namespace fs = std::filesystem;

// The layers, lowest first. Folders of one rank (the two front ends) may not include each other.
const std::map<std::string, int> kLayers = {
    {"picture", 0}, {"quadtree", 1}, {"linesearch", 2}, {"codec", 3}, {"measure", 4}, {"peers", 5},
    {"import", 6},  {"platform", 7}, {"view", 8},       {"app", 9},   {"cli", 9},
};

// Calls `check(folder, file, line number, line)` for every line of every file in the layers.
template <typename Check>
int ForEachSourceLine(Check check) {
    int files = 0;
    for (const auto& [folder, rank] : kLayers) {
        const fs::path root = fs::path(ZANTREL_SOURCE_DIR) / folder;
        EXPECT_TRUE(fs::is_directory(root)) << root;
        if (!fs::is_directory(root))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (!entry.is_regular_file())
                continue;
            ++files;
            std::ifstream in(entry.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number)
                check(folder, entry.path(), number, line);
        }
    }
    return files;
}

TEST(Architecture, IncludesPointOnlyDownTheLayers) {
    const std::regex projectInclude(R"re(^\s*#\s*include\s*"([a-z]+)/)re");
    const int files = ForEachSourceLine(
        [&](const std::string& folder, const fs::path& file, int number, const std::string& line) {
            std::smatch match;
            if (!std::regex_search(line, match, projectInclude))
                return;
            const auto target = kLayers.find(match[1].str());
            ASSERT_NE(target, kLayers.end()) << file << ":" << number << ": " << line;
            EXPECT_TRUE(target->first == folder || target->second < kLayers.at(folder))
                << file << ":" << number << " (" << folder << ") includes " << target->first << ": "
                << line;
        });
    EXPECT_GT(files, 40);
}

TEST(Architecture, EngineAndShellLayerIncludeNoQtHeader) {
    const std::regex qtInclude(R"(^\s*#\s*include\s*[<"](Q[A-Za-z]|qt))");
    ForEachSourceLine([&](const std::string& folder, const fs::path& file, int number,
                          const std::string& line) {
        if (folder == "import" || kLayers.at(folder) > kLayers.at("platform"))
            return;
        EXPECT_FALSE(std::regex_search(line, qtInclude)) << file << ":" << number << ": " << line;
    });
}

}  // namespace

}  // namespace zantrel
