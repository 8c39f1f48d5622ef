// Every loader hands its failure back as a value naming the file and the cause, and shows
// nothing itself: showing it is the front end's part.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <variant>

#include "codec/ZtlFile.h"
#include "measure/Stages.h"
#include "platform/PictureFiles.h"
#include "support/RecordingShell.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

template <typename T>
std::optional<LoadError> ErrorOf(const Expected<T, LoadError>& loaded) {
    return loaded ? std::nullopt : std::optional(loaded.Error());
}

using Loader = std::function<std::optional<LoadError>(const std::string&)>;

const Loader kBmp = [](const std::string& path) { return ErrorOf(LoadBmpPicture(path)); };
const Loader kImport = [](const std::string& path) { return ErrorOf(ImportPictureFile(path)); };
const Loader kZtl = [](const std::string& path) { return ErrorOf(LoadZtlFile(path)); };

// A whole .ztl file of a small picture, to be cut short.
std::vector<std::uint8_t> SmallZtlFile() {
    const GrayPicture gray = RampsAndEdges(16, 12);
    PipelineWorkspace workspace;
    PrepareWorkspace(gray, workspace);
    const QuadtreeStage quadtree = RunQuadtreeStage(workspace, 2.0, 2);
    QuietProgress progress;
    const CutLineStage stage = *RunCutLineStage(gray, quadtree, workspace, 1, progress);
    return EncodeZtl(stage.decomposition.tree);
}

enum class Made { File, Folder, Nothing };

struct LoaderCase {
    const Loader& load;
    std::string name;  // in the test's folder
    Made made;
    std::vector<std::uint8_t> bytes;                  // of a file
    std::variant<std::string, FileErrorCause> cause;  // a refusal's message, or a file error
};

TEST(LoadErrors, EveryLoaderReturnsTheCauseAndShowsNothing) {
    const std::vector<std::uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
    // A BMP file of 64 bits a pixel, a variant the import names instead of calling it damaged.
    std::vector<std::uint8_t> deep(54 + 8);
    for (const auto& [at, value] : std::vector<std::pair<int, int>>{
             {0, 'B'}, {1, 'M'}, {10, 54}, {14, 40}, {18, 1}, {22, 1}, {26, 1}, {28, 64}})
        deep[at] = static_cast<std::uint8_t>(value);
    // A TGA file (no magic bytes): an uncompressed gray picture of 2 x 1.
    std::vector<std::uint8_t> tga(18 + 2);
    for (const auto& [at, value] :
         std::vector<std::pair<int, int>>{{2, 3}, {12, 2}, {14, 1}, {16, 8}, {18, 7}, {19, 9}})
        tga[at] = static_cast<std::uint8_t>(value);
    std::vector<std::uint8_t> cut = SmallZtlFile();
    cut.resize(kZtlHeaderBytes + 2);
    const std::vector<LoaderCase> cases = {
        {kBmp, "text.bmp", Made::File, text, std::string("请输入24位的图像!")},
        {kBmp, "missing.bmp", Made::Nothing, {}, FileErrorCause::NotFound},
        {kBmp, "folder.bmp", Made::Folder, {}, FileErrorCause::AccessDenied},
        {kImport, "text.png", Made::File, text,
         std::string("无法读取 text.png：不是可识别的图像格式。")},
        {kImport, "folder.png", Made::Folder, {}, FileErrorCause::AccessDenied},
        {kImport, "gray.tga", Made::File, tga,
         std::string(
             "无法读取 gray.tga：导入不读取 TGA 格式（它读取 PNG、JPEG、TIFF、PGM/PPM、WebP、"
             "GIF 和 BMP）。")},
        {kImport, "deep.bmp", Made::File, deep,
         std::string("无法读取 deep.bmp：不支持这种 BMP 变体（每像素 64 位）。")},
        {kZtl, "text.ztl", Made::File, text, std::string("无法读取 text.ztl：不是 Zantrel 文件。")},
        {kZtl, "cut.ztl", Made::File, cut,
         std::string("无法读取 cut.ztl：Zantrel 文件不完整或已损坏!")},
        {kZtl, "missing.ztl", Made::Nothing, {}, FileErrorCause::NotFound},
    };
    const std::string folder = MakeTempFolder();
    for (const LoaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder + "/" + c.name;
        if (c.made == Made::File)
            WriteBytes(path, c.bytes);
        if (c.made == Made::Folder)
            std::filesystem::create_directory(path);

        RecordingShell shell;
        const std::optional<LoadError> error = c.load(path);
        EXPECT_TRUE(shell.messages.empty());
        EXPECT_TRUE(shell.fileErrors.empty());
        ASSERT_TRUE(error);
        EXPECT_EQ(error->fileName, path);
        if (const auto* message = std::get_if<std::string>(&c.cause)) {
            ASSERT_TRUE(error->IsRefusal());
            EXPECT_EQ(std::get<Refusal>(error->cause).message, *message);
        } else {
            ASSERT_FALSE(error->IsRefusal());
            EXPECT_EQ(std::get<FileErrorCause>(error->cause), std::get<FileErrorCause>(c.cause));
        }
    }
    std::filesystem::remove_all(folder);
}

}  // namespace

}  // namespace zantrel
