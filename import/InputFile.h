#pragma once
// A picture file opened for reading, as every reader opens one: without blocking (a FIFO
// given by mistake cannot hang it), only when it is a regular file, and not while another
// program holds it locked for writing. The descriptor is closed with the object.

#include <cstdint>
#include <string>

namespace zantrel {

class InputFile {
  public:
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // 0 when the file is open for reading; otherwise an errno value: that of the failed open,
    // EISDIR for a folder, EINVAL for anything else that is not a regular file, EWOULDBLOCK
    // for a file locked by another program (a sharing violation).
    int Error() const { return m_error; }
    int Descriptor() const { return m_fd; }
    std::uint64_t Size() const { return m_size; }

  private:
    int m_fd = -1;
    int m_error = 0;
    std::uint64_t m_size = 0;
};

}  // namespace zantrel
