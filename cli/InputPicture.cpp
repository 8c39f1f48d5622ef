#include "cli/InputPicture.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "cli/ErrorReport.h"
#include "import/BmpWriter.h"
#include "import/PngWriter.h"
#include "platform/PictureFiles.h"

namespace zantrel {

namespace {

const bmp::Headers* KeptHeaders(const InputPicture& input) {
    return input.bmpHeaders ? &*input.bmpHeaders : nullptr;
}

}  // namespace

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

int ReadInputPicture(const std::string& input, bool import, Shell& terminal,
                     InputPicture& picture) {
    std::string path = input;
    if (path.empty()) {
        const auto sample = FindSamplePicture();
        if (!sample) {
            std::fprintf(stderr, "the bundled sample picture astronaut.bmp was not found\n");
            return 1;
        }
        path = *sample;
    }
    if (import) {
        Expected<ColorPicture, LoadError> imported = ImportPictureFile(path);
        if (!imported)
            return ReportLoadError(terminal, imported.Error());
        picture = {path, std::move(*imported), std::nullopt};
        return 0;
    }
    Expected<LoadedBmp, LoadError> loaded = LoadBmpPicture(path);
    if (!loaded) {
        const int exitCode = ReportLoadError(terminal, loaded.Error());
        if (loaded.Error().IsRefusal()) {
            std::fprintf(stderr,
                         "zantrel-cli --import reads pictures of other formats, depths and "
                         "sizes.\n");
        }
        return exitCode;
    }
    picture = {path, std::move(loaded->picture), loaded->headers};
    return 0;
}

bool OutputsDiffer(std::initializer_list<std::pair<const char*, const std::string*>> outputs) {
    std::vector<const char*> names;
    std::vector<std::string> paths;
    for (const auto& [name, path] : outputs) {
        if (!path->empty()) {
            names.push_back(name);
            paths.push_back(*path);
        }
    }
    const auto same = FindSameFiles(paths);
    if (same) {
        std::fprintf(stderr, "%s and %s name the same file %s\n", names[same->first],
                     names[same->second], paths[same->second].c_str());
    }
    return !same;
}

bool HasExtension(const std::string& path, std::string_view extension) {
    std::string own = std::filesystem::path(path).extension().string();
    for (char& c : own)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return own == extension;
}

void WriteOutputPicture(FileSet& files, const std::string& path, const GrayPicture& picture,
                        const InputPicture& input) {
    files.StageEncoded(path, HasExtension(path, ".png")
                                 ? EncodeGrayPng(picture)
                                 : EncodeGrayBmp(picture, KeptHeaders(input)));
}

void WriteOutputPicture(FileSet& files, const std::string& path, const ColorPicture& picture,
                        const InputPicture& input) {
    files.StageEncoded(path, HasExtension(path, ".png") ? EncodePng(picture)
                                                        : EncodeBmp(picture, KeptHeaders(input)));
}

}  // namespace zantrel
