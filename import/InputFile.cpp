#include "import/InputFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zantrel {

InputFile::InputFile(const std::string& path) {
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0) {
        m_error = errno;
        return;
    }
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) {
        m_error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        m_error = EISDIR;
    } else if (!S_ISREG(info.st_mode)) {
        m_error = EINVAL;
    } else if (::flock(m_fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        m_error = EWOULDBLOCK;
    }
    m_size = static_cast<std::uint64_t>(info.st_size);
}

InputFile::~InputFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

}  // namespace zantrel
