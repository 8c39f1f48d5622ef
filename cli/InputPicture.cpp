#include "cli/InputPicture.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "cli/ErrorReport.h"
#include "cli/ParserWords.h"
#include "cli/QuotedName.h"
#include "import/BmpWriter.h"
#include "import/ImageImport.h"
#include "import/MessageTranslation.h"
#include "import/PngWriter.h"
#include "import/ZtlReader.h"
#include "picture/MessageText.h"
#include "platform/PictureFiles.h"

namespace zantrel {

namespace {

const bmp::Headers* KeptHeaders(const InputPicture& input) {
    return input.bmpHeaders ? &*input.bmpHeaders : nullptr;
}

const char* ZtlHint() {
    return ZANTREL_MESSAGE("Zantrel", "%1 是 Zantrel 文件：用 zantrel-cli decode 读取它。");
}

void Print(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
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

std::string InputPath(const std::string& input) {
    return input.empty() ? FindSamplePicture().value_or("") : input;
}

int CheckInputFile(const std::string& path, std::uint64_t maxPixels) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        Print(
            TranslateMessage(ZANTREL_MESSAGE("Zantrel", "无法读取 %1：这是一个文件夹，不是文件。"),
                             {QuotedName(path)}));
        return 1;
    }
    if (maxPixels == 0)
        return 0;
    const std::optional<DeclaredSize> size = ReadDeclaredSize(path);
    if (size && static_cast<std::uint64_t>(size->width) * static_cast<std::uint64_t>(size->height) >
                    maxPixels) {
        Print(TooManyPixelsMessage(QuotedName(std::filesystem::path(path).filename().string()),
                                   size->width, size->height, maxPixels));
        Print(TranslateMessage(
            ZANTREL_MESSAGE("Zantrel", "用 --max-pixels %1 读取它（默认上限为 %2 像素）。"),
            {std::to_string(size->width * size->height), std::to_string(kDefaultMaxPixels)}));
        return 2;
    }
    return 0;
}

int ReadInputPicture(const std::string& input, bool import, Shell& terminal, InputPicture& picture,
                     std::uint64_t maxPixels) {
    const std::string path = InputPath(input);
    if (path.empty()) {
        std::fprintf(stderr, "the bundled sample picture astronaut.bmp was not found\n");
        return 1;
    }
    if (const int exitCode = CheckInputFile(path, import ? maxPixels : 0); exitCode != 0)
        return exitCode;
    if (import) {
        Expected<ColorPicture, LoadError> imported = ImportPictureFile(path);
        if (!imported) {
            const int exitCode = ReportLoadError(terminal, imported.Error());
            if (imported.Error().IsRefusal() && IsZtlFile(path))
                Print(TranslateMessage(
                    ZtlHint(), {QuotedName(std::filesystem::path(path).filename().string())}));
            return exitCode;
        }
        picture = {path, std::move(*imported), std::nullopt};
        return 0;
    }
    Expected<LoadedBmp, LoadError> loaded = LoadBmpPicture(path);
    if (!loaded) {
        const int exitCode = ReportLoadError(terminal, loaded.Error());
        if (loaded.Error().IsRefusal() && IsZtlFile(path)) {
            Print(TranslateMessage(ZtlHint(),
                                   {QuotedName(std::filesystem::path(path).filename().string())}));
        } else if (loaded.Error().IsRefusal()) {
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
        const std::string reason = std::string(names[same->first]) + " and " + names[same->second] +
                                   " name the same file " + QuotedName(paths[same->second]);
        std::fprintf(stderr, "%s\n", InParserWords(reason).c_str());
    }
    return !same;
}

bool PictureOutputNamesAreKnown(
    std::initializer_list<std::pair<const char*, const std::string*>> outputs) {
    for (const auto& [name, path] : outputs) {
        const std::string extension = FinalSuffix(*path);
        if (path->empty() || extension.empty() || HasExtension(*path, ".bmp") ||
            HasExtension(*path, ".png"))
            continue;
        Print(TranslateMessage(
            ZANTREL_MESSAGE(
                "Zantrel",
                "%1 %2：图片只能写成 BMP（.bmp 或没有扩展名）或 PNG（.png），不能写成 %3。"),
            {name, QuotedName(*path), extension}));
        return false;
    }
    return true;
}

int ReportOutOfMemory(long long width, long long height, std::uint64_t neededBytes) {
    Print(TranslateMessage(
        ZANTREL_MESSAGE("Zantrel",
                        "内存不足：%1×%2 的图像约需 %3 MB 内存，运行已中止，没有写入任何文件。"),
        {std::to_string(width), std::to_string(height),
         std::to_string((neededBytes + (1u << 20) - 1) >> 20)}));
    return 2;
}

int RefuseTooLargeToRun(const std::string& path, long long width, long long height,
                        std::uint64_t neededBytes) {
    Print(TranslateMessage(
        ZANTREL_MESSAGE("Zantrel",
                        "已读取 %1，但这幅 %2×%3 的图像运行约需 %4 MB 内存，超出了可用内存；"
                        "没有写入任何文件。"),
        {QuotedName(std::filesystem::path(path).filename().string()), std::to_string(width),
         std::to_string(height), std::to_string((neededBytes + (1u << 20) - 1) >> 20)}));
    return 2;
}

std::string FinalSuffix(const std::string& path) {
    // std::filesystem gives a dot-file (".png") no extension; its format still comes from it.
    const std::string name = std::filesystem::path(path).filename().string();
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || name == "." || name == "..")
        return {};
    return name.substr(dot);
}

bool HasExtension(const std::string& path, std::string_view extension) {
    std::string own = FinalSuffix(path);
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
