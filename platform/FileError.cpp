#include "platform/FileError.h"

#include <cerrno>

FileErrorCause FileErrorCauseFromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
            return FileErrorCause::NotFound;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
            return FileErrorCause::AccessDenied;
        case EBUSY:
        case ETXTBSY:
        case EWOULDBLOCK:
            return FileErrorCause::SharingViolation;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return FileErrorCause::DiskFull;
        default:
            return FileErrorCause::Other;
    }
}

namespace {

// The platform's message patterns, with %1 standing for the file name.
std::string_view Pattern(FileErrorCause cause) {
    switch (cause) {
        case FileErrorCause::NotFound:
            return "没有找到 %1。";
        case FileErrorCause::AccessDenied:
            return "对 %1 的存取被拒绝。";
        case FileErrorCause::SharingViolation:
            return "在存取 %1 时发生共享违例。";
        case FileErrorCause::DiskFull:
            return "磁盘已满，无法写入 %1。";
        case FileErrorCause::Other:
            break;
    }
    return "命令失败。";
}

}  // namespace

std::string FileErrorText(FileErrorCause cause, std::string_view fileName) {
    std::string text(Pattern(cause));
    if (const auto at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, fileName);
    return text;
}
