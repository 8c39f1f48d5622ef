// The layering of the sources: every include points to its own folder or to a lower layer, no
// two files of one folder depend on each other, and the engine builds without any GUI toolkit.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace zantrel {

namespace {

namespace fs = std::filesystem;

// The layers, lowest first. Folders of one rank (the two front ends) may not include each other.
const std::map<std::string, int> kLayers = {
    {"picture", 0}, {"quadtree", 1}, {"linesearch", 2}, {"codec", 3},  {"optimise", 4},
    {"measure", 5}, {"peers", 6},    {"import", 7},     {"platform", 8}, {"view", 9},
    {"app", 10},    {"cli", 10},
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

// The units of one folder, a header and its .cpp counting as one, each with the units of the
// same folder it includes.
using UnitGraph = std::map<std::string, std::set<std::string>>;

// Every loop of `graph` met by one depth-first walk, each as its units with the first one
// repeated at the end: none exactly when the graph has no loop.
std::vector<std::vector<std::string>> FindLoops(const UnitGraph& graph) {
    std::vector<std::vector<std::string>> loops;
    std::map<std::string, int> state;  // 1 on the walk's path, 2 finished
    std::vector<std::string> path;
    auto visit = [&](auto& self, const std::string& unit) -> void {
        state[unit] = 1;
        path.push_back(unit);
        if (const auto edges = graph.find(unit); edges != graph.end()) {
            for (const std::string& next : edges->second) {
                if (state[next] == 1) {
                    std::vector<std::string> loop(std::find(path.begin(), path.end(), next),
                                                  path.end());
                    loop.push_back(next);
                    loops.push_back(std::move(loop));
                } else if (state[next] == 0) {
                    self(self, next);
                }
            }
        }
        path.pop_back();
        state[unit] = 2;
    };
    for (const auto& [unit, edges] : graph) {
        if (state[unit] == 0)
            visit(visit, unit);
    }
    return loops;
}

TEST(Architecture, LoopFinderFindsLoopsOfAnyLengthAndNothingElse) {
    const struct {
        const char* name;
        UnitGraph graph;
        bool loop;
    } cases[] = {
        {"chain and diamond", {{"a", {"b", "c"}}, {"b", {"d"}}, {"c", {"d"}}, {"d", {}}}, false},
        {"two units", {{"a", {"b"}}, {"b", {"a"}}}, true},
        {"three units behind a chain",
         {{"a", {"b"}}, {"b", {"c"}}, {"c", {"d"}}, {"d", {"b"}}},
         true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(!FindLoops(c.graph).empty(), c.loop) << c.name;
}

TEST(Architecture, NoTwoFilesOfAFolderDependOnEachOther) {
    const std::regex ownInclude(R"re(^\s*#\s*include\s*"([a-z]+)/([A-Za-z0-9_/]+)\.[a-z]+")re");
    std::map<std::string, UnitGraph> folders;
    ForEachSourceLine([&](const std::string& folder, const fs::path& file, int,
                          const std::string& line) {
        std::smatch match;
        const std::string extension = file.extension().string();
        if (extension != ".h" && extension != ".cpp")
            return;
        const fs::path relative = fs::relative(file, fs::path(ZANTREL_SOURCE_DIR) / folder);
        const std::string unit = relative.parent_path() / relative.stem();
        UnitGraph& graph = folders[folder];
        graph[unit];
        if (std::regex_search(line, match, ownInclude) && match[1] == folder && match[2] != unit)
            graph[unit].insert(match[2]);
    });
    for (const auto& [folder, graph] : folders) {
        for (const std::vector<std::string>& loop : FindLoops(graph)) {
            std::string text;
            for (const std::string& unit : loop)
                text += (text.empty() ? "" : " -> ") + unit;
            ADD_FAILURE() << folder << "/: " << text;
        }
    }
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
