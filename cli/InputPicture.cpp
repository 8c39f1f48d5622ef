#include "cli/InputPicture.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "picture/BmpReader.h"
#include "picture/PictureStore.h"
#include "quadtree/ImageProcessor.h"

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

int LoadInputPicture(const std::string& input, std::string& path) {
    path = input;
    if (path.empty()) {
        const auto sample = FindSamplePicture();
        if (!sample) {
            std::fprintf(stderr, "the bundled sample picture astronaut.bmp was not found\n");
            return 1;
        }
        path = *sample;
    }
    switch (LoadPictureFile(path)) {
        case LoadResult::Loaded:
            break;
        case LoadResult::Refused:
            return 2;
        case LoadResult::FileError:
            return 1;
    }
    g_displayMode = DISPLAY_GRAY;
    CImageProcessor().ConvertToGray();
    return 0;
}
