#include "platform/FileWriter.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>

#include "platform/FileError.h"

namespace zantrel {

namespace {

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

std::filesystem::path FolderOf(const std::string& path) {
    const std::filesystem::path target(path);
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

// Why a temporary file could not be made in `folder`. A folder that exists but cannot hold
// files (as in /proc) answers ENOENT, which is no "not found" to the user.
FileErrorCause TempFileCause(int error, const std::filesystem::path& folder) {
    struct stat info {};
    if (error == ENOENT && ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return FileErrorCause::AccessDenied;
    return FileErrorCauseFromErrno(error);
}

// Writes `bytes` to a new temporary file beside `path`; sets `temp` to its name.
std::optional<FileErrorCause> StageOne(const std::string& path, std::span<const std::uint8_t> bytes,
                                       std::string& temp) {
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT)
        return FileErrorCauseFromErrno(errno);
    // Never open a device, pipe or folder: it could block forever or be replaced.
    if (exists && !S_ISREG(existing.st_mode))
        return FileErrorCause::NotRegularFile;
    // A write-protected file stays, as with cp; the superuser may write anything.
    if (exists && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return FileErrorCauseFromErrno(errno);

    // A short name, so that it fits wherever the target's name does.
    const std::filesystem::path folder = FolderOf(path);
    std::string name = (folder / ".ztlXXXXXX").string();
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return TempFileCause(errno, folder);

    mode_t mode = existing.st_mode & 07777;
    if (exists) {
        // Owner first: changing it may clear the set-id bits the mode then restores.
        if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
            // not permitted: the file becomes the writer's, like any new file
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int error = ::fchmod(fd, mode) == 0 ? 0 : errno;
    if (error == 0)
        error = WriteAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(name.c_str());
        return FileErrorCauseFromErrno(error);
    }
    temp = std::move(name);
    return std::nullopt;
}

// The folder's real path and the name; a link, even one pointing nowhere yet, by its target.
std::string Spelling(const std::string& path, int linksLeft = 40) {
    const std::filesystem::path target(path);
    std::error_code error;
    if (linksLeft > 0 && std::filesystem::is_symlink(target, error)) {
        const std::filesystem::path to = std::filesystem::read_symlink(target, error);
        if (!error)
            return Spelling((FolderOf(path) / to).string(), linksLeft - 1);
    }
    char resolved[PATH_MAX];
    if (::realpath(FolderOf(path).c_str(), resolved) == nullptr)
        return target.lexically_normal().string();
    return (std::filesystem::path(resolved) / target.filename()).string();
}

}  // namespace

FileSet::FileSet() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        sigaddset(&held, signal);
    m_blocked = ::pthread_sigmask(SIG_BLOCK, &held, &m_savedMask) == 0;
}

FileSet::~FileSet() {
    Discard();
}

void FileSet::Discard() {
    for (const Staged& staged : m_staged)
        ::unlink(staged.temp.c_str());
    m_staged.clear();
    // A signal that arrived meanwhile is delivered here, with no temporary file left.
    if (m_blocked) {
        m_blocked = false;
        ::pthread_sigmask(SIG_SETMASK, &m_savedMask, nullptr);
    }
}

void FileSet::Fail(FileErrorCause cause, const std::string& path) {
    m_failure = FileError{cause, path};
    Discard();
}

void FileSet::Stage(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (m_failure)
        return;
    std::string temp;
    if (const auto cause = StageOne(path, bytes, temp))
        Fail(*cause, path);
    else
        m_staged.push_back({path, std::move(temp)});
}

void FileSet::Stage(const std::string& path, std::string_view text) {
    Stage(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void FileSet::StageEncoded(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty() && !m_failure)
        Fail(FileErrorCause::Other, path);
    else
        Stage(path, bytes);
}

std::optional<FileError> FileSet::Commit() {
    if (m_failure)
        return m_failure;
    // A stop asked for while the files were written wins: nothing is replaced, the temporary
    // files go, and the signal is delivered as Discard lets it through.
    if (m_blocked) {
        sigset_t pending;
        sigemptyset(&pending);
        ::sigpending(&pending);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
            if (sigismember(&pending, signal)) {
                const std::string path = m_staged.empty() ? std::string() : m_staged[0].path;
                Fail(FileErrorCause::Interrupted, path);
                return m_failure;
            }
        }
    }
    for (std::size_t i = 0; i < m_staged.size(); ++i) {
        if (::rename(m_staged[i].temp.c_str(), m_staged[i].path.c_str()) != 0) {
            const int error = errno;
            const std::string path = m_staged[i].path;
            m_staged.erase(m_staged.begin(), m_staged.begin() + static_cast<std::ptrdiff_t>(i));
            Fail(FileErrorCauseFromErrno(error), path);
            return m_failure;
        }
    }
    m_staged.clear();
    Discard();
    return std::nullopt;
}

std::optional<FileError> WriteWholeFile(const std::string& path,
                                        std::span<const std::uint8_t> bytes) {
    FileSet set;
    set.Stage(path, bytes);
    return set.Commit();
}

std::optional<FileError> WriteWholeFile(const std::string& path, std::string_view text) {
    FileSet set;
    set.Stage(path, text);
    return set.Commit();
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {
    }, second{};
    if (::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
        first.st_dev == second.st_dev && first.st_ino == second.st_ino) {
        return true;
    }
    return Spelling(a) == Spelling(b);
}

std::optional<std::pair<std::size_t, std::size_t>> FindSameFiles(
    const std::vector<std::string>& paths) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
        for (std::size_t j = i + 1; j < paths.size(); ++j) {
            if (SameFile(paths[i], paths[j]))
                return std::pair(i, j);
        }
    }
    return std::nullopt;
}

}  // namespace zantrel
