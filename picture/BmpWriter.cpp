#include "picture/BmpWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "picture/PictureStore.h"
#include "platform/FileError.h"
#include "platform/Shell.h"

namespace {

bool Fail(int error, const std::string& path) {
    CurrentShell().ReportFileError(FileErrorCauseFromErrno(error), path);
    return false;
}

int WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = ::write(fd, data + done, size - done);
        if (wrote < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return 0;
}

int WriteFile(int fd, const std::array<std::uint8_t, bmp::kHeadersBytes>& headers,
              const std::vector<std::uint8_t>& pixels) {
    if (const int error = WriteAll(fd, headers.data(), headers.size()); error != 0)
        return error;
    if (const int error = WriteAll(fd, pixels.data(), pixels.size()); error != 0)
        return error;
    return ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
}

// A device or pipe cannot be replaced by renaming, so it is written in place.
bool WriteInPlace(const std::string& path,
                  const std::array<std::uint8_t, bmp::kHeadersBytes>& headers,
                  const std::vector<std::uint8_t>& pixels) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Fail(errno, path);
    int error = WriteFile(fd, headers, pixels);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error == 0 || Fail(error, path);
}

bool WritePicture(const std::string& path, const std::vector<std::uint8_t>& pixels) {
    const auto headers = MakeSaveHeaders();
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return Fail(EISDIR, path);
    if (exists && !S_ISREG(existing.st_mode))
        return WriteInPlace(path, headers, pixels);

    const std::filesystem::path target(path);
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::string tempName = ".";  // built by appending: GCC 12 warns falsely on operator+ here
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
    if (error == 0)
        error = WriteFile(fd, headers, pixels);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return Fail(error, path);
    }
    return true;
}

}  // namespace

std::array<std::uint8_t, bmp::kHeadersBytes> MakeSaveHeaders() {
    std::array<std::uint8_t, bmp::kHeadersBytes> headers{};
    std::memcpy(headers.data(), g_fileHeader, kFileHeaderBytes);
    std::memcpy(headers.data() + kFileHeaderBytes, g_infoHeader, kInfoHeaderBytes);
    headers[bmp::kType] = 'B';
    headers[bmp::kType + 1] = 'M';
    bmp::WriteU32(headers, bmp::kFileSize, bmp::kSavedFileBytes);
    bmp::WriteU32(headers, bmp::kPixelOffset, bmp::kHeadersBytes);
    bmp::WriteU32(headers, bmp::kInfoSize, kInfoHeaderBytes);
    bmp::WriteU32(headers, bmp::kCompression, 0);
    if (bmp::ReadU32(headers, bmp::kImageSize) != 0) {
        bmp::WriteU32(headers, bmp::kImageSize, kColorBytes);
    }
    return headers;
}

bool SaveGrayPicture(const std::string& path, const std::uint8_t* gray) {
    std::vector<std::uint8_t> pixels(kColorBytes);
    for (int i = 0; i < kPixelCount; ++i) {
        pixels[3 * i] = pixels[3 * i + 1] = pixels[3 * i + 2] = gray[i];
    }
    return WritePicture(path, pixels);
}

bool SaveColorPicture(const std::string& path, const std::uint8_t* color) {
    return WritePicture(path, std::vector<std::uint8_t>(color, color + kColorBytes));
}

bool SaveResultPicture(const std::string& path) {
    return SaveGrayPicture(path, g_resultPixels);
}
