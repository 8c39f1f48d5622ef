#include "cli/SampleLocator.h"

#include <filesystem>
#include <system_error>
#include <vector>

std::optional<std::string> FindSamplePicture() {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    std::vector<fs::path> candidates;
    if (!error) {
        candidates.push_back(exe.parent_path() / ".." / "share" / "zantrel" / "astronaut.bmp");
        candidates.push_back(exe.parent_path() / "samples" / "astronaut.bmp");
    }
    candidates.emplace_back(ZANTREL_INSTALL_SAMPLE);
    candidates.emplace_back(ZANTREL_SOURCE_SAMPLE);
    for (const fs::path& candidate : candidates) {
        if (fs::is_regular_file(candidate, error))
            return candidate.lexically_normal().string();
    }
    return std::nullopt;
}
