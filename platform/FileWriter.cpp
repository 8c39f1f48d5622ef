#include "platform/FileWriter.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <thread>

#include "platform/FileError.h"

namespace zantrel {

namespace {

// What a stop signal does while file sets exist, shared with its handler. The handler never
// waits: while a writer is busy with the list (or renaming) it leaves the signal for the writer
// to act on when done; otherwise it removes every temporary file and ends the process.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
enum : int { kIdle, kBusy, kEnding };
std::atomic<int> g_state{kIdle};
std::atomic<int> g_leftSignal{0};
// Changed only while busy.
std::vector<std::string> g_temps;
int g_sets = 0;
bool g_caught[std::size(kStopSignals)] = {};
bool g_ignoringFileSizeSignal = false;

// Removes every temporary file and ends the process by `signal`, as its default action does.
// Async-signal-safe; called with the state kEnding.
[[noreturn]] void EndBy(int signal) {
    for (const std::string& temp : g_temps)
        ::unlink(temp.c_str());
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
    // Inside the handler (or where the caller blocks it) the signal waits for this.
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::_exit(128 + signal);
}

[[noreturn]] void WaitForTheEnd() {
    for (;;)
        ::pause();
}

void OnStopSignal(int signal) {
    const int savedErrno = errno;
    g_leftSignal.store(signal);
    int idle = kIdle;
    if (g_state.compare_exchange_strong(idle, kEnding))
        EndBy(signal);
    errno = savedErrno;
}

// Keeps the handler from the shared state, and from interrupting what it covers; a stop
// signal that came meanwhile is acted on at its end. Never nested.
class Busy {
  public:
    Busy() {
        for (;;) {
            int idle = kIdle;
            if (g_state.compare_exchange_weak(idle, kBusy))
                return;
            if (idle == kEnding)
                WaitForTheEnd();
            std::this_thread::yield();
        }
    }
    ~Busy() {
        const int savedErrno = errno;
        g_state.store(kIdle);
        if (const int signal = g_leftSignal.exchange(0)) {
            int idle = kIdle;
            if (g_state.compare_exchange_strong(idle, kEnding))
                EndBy(signal);
            if (idle == kEnding)
                WaitForTheEnd();
            g_leftSignal.store(signal);  // another writer is busy: its end acts on it
        }
        errno = savedErrno;
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
};

// Called while busy, by the first set to exist. A signal the process ignores or handles
// itself is left to it.
void CatchSignals() {
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        struct sigaction old {};
        if (::sigaction(kStopSignals[i], nullptr, &old) != 0 || (old.sa_flags & SA_SIGINFO) != 0 ||
            old.sa_handler != SIG_DFL)
            continue;
        struct sigaction caught {};
        caught.sa_handler = OnStopSignal;
        sigemptyset(&caught.sa_mask);
        for (const int signal : kStopSignals)
            sigaddset(&caught.sa_mask, signal);
        caught.sa_flags = SA_RESTART;
        g_caught[i] = ::sigaction(kStopSignals[i], &caught, nullptr) == 0;
    }
    struct sigaction old {};
    if (::sigaction(SIGXFSZ, nullptr, &old) == 0 && (old.sa_flags & SA_SIGINFO) == 0 &&
        old.sa_handler == SIG_DFL) {
        struct sigaction ignored {};
        ignored.sa_handler = SIG_IGN;
        sigemptyset(&ignored.sa_mask);
        g_ignoringFileSizeSignal = ::sigaction(SIGXFSZ, &ignored, nullptr) == 0;
    }
}

// Called while busy, by the last set to go: each disposition set above that is still ours
// goes back to the default.
void ReleaseSignals() {
    const auto restore = [](int signal, bool& ours, auto mine) {
        struct sigaction now {};
        if (ours && ::sigaction(signal, nullptr, &now) == 0 && (now.sa_flags & SA_SIGINFO) == 0 &&
            now.sa_handler == mine) {
            struct sigaction fallback {};
            fallback.sa_handler = SIG_DFL;
            sigemptyset(&fallback.sa_mask);
            ::sigaction(signal, &fallback, nullptr);
        }
        ours = false;
    };
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
        restore(kStopSignals[i], g_caught[i], &OnStopSignal);
    restore(SIGXFSZ, g_ignoringFileSizeSignal, SIG_IGN);
}

// Called while busy.
void ForgetTemp(const std::string& temp) {
    const auto found = std::find(g_temps.begin(), g_temps.end(), temp);
    if (found != g_temps.end())
        g_temps.erase(found);
}

void RemoveTemp(const std::string& temp) {
    Busy busy;
    ::unlink(temp.c_str());
    ForgetTemp(temp);
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

// The file `path` finally names, each symbolic link followed from its own folder (a link to
// nothing yet names what it points to); 0 or the errno.
int FinalTarget(const std::string& path, std::string& target) {
    target = path;
    for (int links = 0; links <= 40; ++links) {
        char to[PATH_MAX];
        const ssize_t length = ::readlink(target.c_str(), to, sizeof to);
        if (length < 0)
            return errno == EINVAL || errno == ENOENT ? 0 : errno;
        if (static_cast<std::size_t>(length) == sizeof to)
            return ENAMETOOLONG;
        const std::string next(to, static_cast<std::size_t>(length));
        target = next.starts_with('/') ? next : (FolderOf(target) / next).string();
    }
    return ELOOP;
}

// Writes `bytes` to a new temporary file beside the file `path` names; sets `target` to that
// file and `temp` to the temporary file's name.
std::optional<FileErrorCause> StageOne(const std::string& path, std::span<const std::uint8_t> bytes,
                                       std::string& target, std::string& temp) {
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
    if (const int error = FinalTarget(path, target))
        return FileErrorCauseFromErrno(error);

    // A short name, so that it fits wherever the target's name does.
    const std::filesystem::path folder = FolderOf(target);
    std::string name = (folder / ".ztlXXXXXX").string();
    int fd = -1;
    int made = 0;
    {
        Busy busy;  // a stop signal finds the file in the list
        fd = ::mkstemp(name.data());
        made = errno;
        if (fd >= 0)
            g_temps.push_back(name);
    }
    if (fd < 0)
        return TempFileCause(made, folder);

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
        RemoveTemp(name);
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
    Busy busy;
    if (g_sets++ == 0)
        CatchSignals();
}

FileSet::~FileSet() {
    Discard();
    Busy busy;
    if (--g_sets == 0)
        ReleaseSignals();
}

void FileSet::Discard() {
    if (m_staged.empty())
        return;
    Busy busy;
    for (const Staged& staged : m_staged) {
        ::unlink(staged.temp.c_str());
        ForgetTemp(staged.temp);
    }
    m_staged.clear();
}

void FileSet::Fail(FileErrorCause cause, const std::string& path) {
    m_failure = FileError{cause, path};
    Discard();
}

void FileSet::Stage(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (m_failure)
        return;
    std::string target;
    std::string temp;
    if (const auto cause = StageOne(path, bytes, target, temp)) {
        Fail(*cause, path);
        return;
    }
    try {
        m_staged.push_back({path, std::move(target), temp});
    } catch (...) {
        RemoveTemp(temp);
        throw;
    }
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
    std::size_t renamed = 0;
    int error = 0;
    {
        Busy busy;  // a stop signal waits until every file is in place
        for (; renamed < m_staged.size(); ++renamed) {
            const Staged& staged = m_staged[renamed];
            if (::rename(staged.temp.c_str(), staged.target.c_str()) != 0) {
                error = errno;
                break;
            }
            ForgetTemp(staged.temp);
        }
    }
    if (error != 0) {
        const std::string path = m_staged[renamed].path;
        m_staged.erase(m_staged.begin(), m_staged.begin() + static_cast<std::ptrdiff_t>(renamed));
        Fail(FileErrorCauseFromErrno(error), path);
        return m_failure;
    }
    m_staged.clear();
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
