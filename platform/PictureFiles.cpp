#include "platform/PictureFiles.h"

#include <cerrno>

#include "import/BmpWriter.h"
#include "import/ImageImport.h"
#include "import/PngWriter.h"
#include "platform/FileError.h"
#include "platform/FileWriter.h"
#include "platform/Shell.h"

namespace zantrel {

namespace {

// The readers answer EINVAL for a pipe, device or folder they would not open.
FileErrorCause ReadErrorCause(int error) {
    return error == EINVAL ? FileErrorCause::NotRegularFile : FileErrorCauseFromErrno(error);
}

// Reports a reader's outcome: a file error through the shell, a refusal (a non-empty
// `refusal` text) in a message box captioned with the application's name.
LoadResult ReportLoad(int readError, const std::string& refusal, const std::string& path) {
    if (readError != 0) {
        CurrentShell().ReportFileError(ReadErrorCause(readError), path);
        return LoadResult::FileError;
    }
    if (!refusal.empty()) {
        CurrentShell().ShowMessage(refusal, kAppName, MessageIcon::Exclamation);
        return LoadResult::Refused;
    }
    return LoadResult::Loaded;
}

}  // namespace

LoadResult LoadBmpPicture(const std::string& path, LoadedBmp& loaded) {
    const BmpReadResult result = ReadBmpFile(path, loaded);
    return ReportLoad(result.readError, BmpRefusalMessage(result.verdict), path);
}

bool SaveBmpPicture(const std::string& path, const ColorPicture& picture,
                    const bmp::Headers* kept) {
    return WriteWholeFile(path, EncodeBmp(picture, kept));
}

bool SaveGrayBmpPicture(const std::string& path, const GrayPicture& picture,
                        const bmp::Headers* kept) {
    return WriteWholeFile(path, EncodeGrayBmp(picture, kept));
}

LoadResult ImportPictureFile(const std::string& path, ColorPicture& picture) {
    const ImportResult result = ReadPictureFile(path, picture);
    return ReportLoad(result.readError, ImportRefusalMessage(result, path), path);
}

LoadResult LoadZtlFile(const std::string& path, ZtlPicture& picture) {
    const ZtlReadResult result = ReadZtlFile(path, picture);
    return ReportLoad(result.readError, ZtlRefusalMessage(result, path), path);
}

namespace {

bool WriteEncoded(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) {  // the encoder could not get the memory it needed
        CurrentShell().ReportFileError(FileErrorCause::Other, path);
        return false;
    }
    return WriteWholeFile(path, bytes);
}

}  // namespace

bool SaveZtlFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return WriteEncoded(path, bytes);
}

bool SaveGrayPngPicture(const std::string& path, const GrayPicture& picture) {
    return WriteEncoded(path, EncodeGrayPng(picture));
}

bool SavePngPicture(const std::string& path, const ColorPicture& picture) {
    return WriteEncoded(path, EncodePng(picture));
}

}  // namespace zantrel
