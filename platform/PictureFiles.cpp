#include "platform/PictureFiles.h"

#include "import/BmpWriter.h"
#include "platform/FileError.h"
#include "platform/FileWriter.h"
#include "platform/Shell.h"

LoadResult LoadBmpPicture(const std::string& path, LoadedBmp& loaded) {
    const BmpReadResult result = ReadBmpFile(path, loaded);
    if (result.readError != 0) {
        CurrentShell().ReportFileError(FileErrorCauseFromErrno(result.readError), path);
        return LoadResult::FileError;
    }
    if (result.verdict != BmpVerdict::Accepted) {
        CurrentShell().ShowMessage(BmpRefusalMessage(result.verdict), kAppName,
                                   MessageIcon::Exclamation);
        return LoadResult::Refused;
    }
    return LoadResult::Loaded;
}

bool SaveBmpPicture(const std::string& path, const ColorPicture& picture,
                    const bmp::Headers* kept) {
    return WriteWholeFile(path, EncodeBmp(picture, kept));
}

bool SaveGrayBmpPicture(const std::string& path, const GrayPicture& picture,
                        const bmp::Headers* kept) {
    return WriteWholeFile(path, EncodeGrayBmp(picture, kept));
}
