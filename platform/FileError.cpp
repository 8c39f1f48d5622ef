#include "platform/FileError.h"

#include <cerrno>

#include "import/MessageTranslation.h"
#include "picture/MessageText.h"

namespace zantrel {

FileErrorCause FileErrorCauseFromErrno(int error) {
    switch (error) {
        case ENOENT:
            return FileErrorCause::NotFound;
        case ENOTDIR:
            return FileErrorCause::NotAFolder;
        case ENAMETOOLONG:
            return FileErrorCause::NameTooLong;
        case ELOOP:
            return FileErrorCause::TooManyLinks;
        case EROFS:
            return FileErrorCause::ReadOnlyFileSystem;
        case EACCES:
        case EPERM:
        case EISDIR:
            return FileErrorCause::AccessDenied;
        case EBUSY:
        case ETXTBSY:
        case EWOULDBLOCK:
            return FileErrorCause::SharingViolation;
        case ENOSPC:
        case EDQUOT:
            return FileErrorCause::DiskFull;
        case EFBIG:
            return FileErrorCause::FileTooLarge;
        default:
            return FileErrorCause::Other;
    }
}

namespace {

// The platform's message patterns, with %1 standing for the file name.
std::string_view Pattern(FileErrorCause cause) {
    switch (cause) {
        case FileErrorCause::NotFound:
            return ZANTREL_MESSAGE("Zantrel", "没有找到 %1。");
        case FileErrorCause::AccessDenied:
            return ZANTREL_MESSAGE("Zantrel", "对 %1 的存取被拒绝。");
        case FileErrorCause::SharingViolation:
            return ZANTREL_MESSAGE("Zantrel", "在存取 %1 时发生共享违例。");
        case FileErrorCause::DiskFull:
            return ZANTREL_MESSAGE("Zantrel", "磁盘已满，无法写入 %1。");
        case FileErrorCause::FileTooLarge:
            return ZANTREL_MESSAGE("Zantrel", "%1 太大：超出了文件大小的限制，无法写入。");
        case FileErrorCause::NotRegularFile:
            return ZANTREL_MESSAGE("Zantrel", "%1 不是普通文件。");
        case FileErrorCause::TooManyLinks:
            return ZANTREL_MESSAGE("Zantrel", "%1 的符号链接层数过多。");
        case FileErrorCause::ReadOnlyFileSystem:
            return ZANTREL_MESSAGE("Zantrel", "%1 所在的文件系统是只读的。");
        case FileErrorCause::NotAFolder:
            return ZANTREL_MESSAGE("Zantrel", "%1 所在的路径不是文件夹。");
        case FileErrorCause::NameTooLong:
            return ZANTREL_MESSAGE("Zantrel", "文件名 %1 太长。");
        case FileErrorCause::Other:
        case FileErrorCause::Interrupted:
            break;
    }
    return ZANTREL_MESSAGE("Zantrel", "命令失败。");
}

}  // namespace

std::string FileErrorText(FileErrorCause cause, std::string_view fileName) {
    return TranslateMessage(Pattern(cause), {std::string(fileName)});
}

void ShowFileError(Shell& shell, const FileError& error) {
    if (error.cause != FileErrorCause::Interrupted)
        shell.ReportFileError(error.cause, error.fileName);
}

}  // namespace zantrel
