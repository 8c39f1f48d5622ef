#include "platform/FileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/FileError.h"
#include "platform/Shell.h"

namespace {

bool Fail(int error, const std::string& path) {
    CurrentShell().ReportFileError(FileErrorCauseFromErrno(error), path);
    return false;
}

// 0 or the errno of the failed write.
int WriteAll(int fd, std::span<const std::uint8_t> text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return 0;
}

int WriteAndClose(int fd, std::span<const std::uint8_t> text, bool sync) {
    int error = WriteAll(fd, text);
    if (error == 0 && sync && ::fsync(fd) != 0 && errno != EINVAL)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

}  // namespace

bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> text) {
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return Fail(EISDIR, path);
    if (exists && !S_ISREG(existing.st_mode)) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0)
            return Fail(errno, path);
        const int error = WriteAndClose(fd, text, false);
        return error == 0 || Fail(error, path);
    }

    const std::filesystem::path target(path);
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::string tempName = ".";
    tempName.append(target.filename().string()).append(".XXXXXX");
    std::string temp = (folder / tempName).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return Fail(errno, path);

    // Keep the old file's permissions; a new file gets the usual ones under the umask.
    mode_t mode = existing.st_mode & 07777;
    if (!exists) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int error = ::fchmod(fd, mode) == 0 ? 0 : errno;
    if (error == 0) {
        error = WriteAndClose(fd, text, true);
    } else {
        ::close(fd);
    }
    if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return Fail(error, path);
    }
    return true;
}

bool WriteWholeFile(const std::string& path, std::string_view text) {
    return WriteWholeFile(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}
