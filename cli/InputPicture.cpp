#include "cli/InputPicture.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "import/BmpWriter.h"
#include "import/PngWriter.h"
#include "platform/PictureFiles.h"
#include "platform/Shell.h"

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

int ReadInputPicture(const std::string& input, bool import, InputPicture& picture) {
    std::string path = input;
    if (path.empty()) {
        const auto sample = FindSamplePicture();
        if (!sample) {
            std::fprintf(stderr, "the bundled sample picture astronaut.bmp was not found\n");
            return 1;
        }
        path = *sample;
    }
    InputPicture read;
    read.path = path;
    LoadResult result = LoadResult::Loaded;
    if (import) {
        result = ImportPictureFile(path, read.color);
    } else {
        LoadedBmp loaded;
        result = LoadBmpPicture(path, loaded);
        if (result == LoadResult::Loaded) {
            read.color = std::move(loaded.picture);
            read.bmpHeaders = loaded.headers;
        } else if (result == LoadResult::Refused) {
            std::fprintf(stderr,
                         "zantrel-cli --import reads pictures of other formats, depths and "
                         "sizes.\n");
        }
    }
    switch (result) {
        case LoadResult::Loaded:
            picture = std::move(read);
            return 0;
        case LoadResult::Refused:
            return 2;
        case LoadResult::FileError:
            break;
    }
    return 1;
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

namespace {

bool StageEncoded(FileSet& files, const std::string& path, const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) {  // the encoder could not get the memory it needed
        CurrentShell().ReportFileError(FileErrorCause::Other, path);
        return false;
    }
    return files.Stage(path, bytes);
}

}  // namespace

bool WriteOutputPicture(FileSet& files, const std::string& path, const GrayPicture& picture,
                        const InputPicture& input) {
    return StageEncoded(files, path,
                        HasExtension(path, ".png") ? EncodeGrayPng(picture)
                                                   : EncodeGrayBmp(picture, KeptHeaders(input)));
}

bool WriteOutputPicture(FileSet& files, const std::string& path, const ColorPicture& picture,
                        const InputPicture& input) {
    return StageEncoded(
        files, path,
        HasExtension(path, ".png") ? EncodePng(picture) : EncodeBmp(picture, KeptHeaders(input)));
}

}  // namespace zantrel
