#include "platform/PictureFiles.h"

#include <cerrno>

#include "import/BmpWriter.h"
#include "import/ImageImport.h"
#include "import/PngWriter.h"
#include "platform/FileWriter.h"

namespace zantrel {

namespace {

// The readers answer EINVAL for a pipe, device or folder they would not open.
FileErrorCause ReadErrorCause(int error) {
    return error == EINVAL ? FileErrorCause::NotRegularFile : FileErrorCauseFromErrno(error);
}

// A reader's failure as the front ends show it: a failed read by its cause, anything else by
// the reader's refusal text.
LoadError LoadErrorOf(int readError, std::string refusal, const std::string& path) {
    if (readError != 0)
        return {path, ReadErrorCause(readError)};
    return {path, Refusal{std::move(refusal)}};
}

std::optional<FileError> WriteEncoded(const std::string& path,
                                      const std::vector<std::uint8_t>& bytes) {
    FileSet set;
    set.StageEncoded(path, bytes);
    return set.Commit();
}

}  // namespace

Expected<LoadedBmp, LoadError> LoadBmpPicture(const std::string& path) {
    BmpReadResult read = ReadBmpFile(path);
    if (!read) {
        const BmpReadError& error = read.Error();
        return LoadErrorOf(error.readError, BmpRefusalMessage(error.verdict), path);
    }
    return std::move(*read);
}

std::optional<FileError> SaveBmpPicture(const std::string& path, const ColorPicture& picture,
                                        const bmp::Headers* kept) {
    return WriteWholeFile(path, EncodeBmp(picture, kept));
}

std::optional<FileError> SaveGrayBmpPicture(const std::string& path, const GrayPicture& picture,
                                            const bmp::Headers* kept) {
    return WriteWholeFile(path, EncodeGrayBmp(picture, kept));
}

Expected<ColorPicture, LoadError> ImportPictureFile(const std::string& path) {
    ImportResult read = ReadPictureFile(path);
    if (!read) {
        const ImportError& error = read.Error();
        return LoadErrorOf(error.readError, ImportRefusalMessage(error, path), path);
    }
    return std::move(*read);
}

Expected<ZtlPicture, LoadError> LoadZtlFile(const std::string& path) {
    ZtlReadResult read = ReadZtlFile(path);
    if (!read) {
        const ZtlReadError& error = read.Error();
        return LoadErrorOf(error.readError, ZtlRefusalMessage(error, path), path);
    }
    return std::move(*read);
}

std::optional<FileError> SaveZtlFile(const std::string& path,
                                     const std::vector<std::uint8_t>& bytes) {
    return WriteEncoded(path, bytes);
}

std::optional<FileError> SaveGrayPngPicture(const std::string& path, const GrayPicture& picture) {
    return WriteEncoded(path, EncodeGrayPng(picture));
}

std::optional<FileError> SavePngPicture(const std::string& path, const ColorPicture& picture) {
    return WriteEncoded(path, EncodePng(picture));
}

}  // namespace zantrel
