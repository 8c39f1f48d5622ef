#pragma once
// Writing whole files without ever damaging the ones they replace.

#include <signal.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Shell.h"

namespace zantrel {

// Writes several files all or nothing: each is staged to a hidden temporary file in its
// target's folder, flushed, and renamed over the target only when every file is staged.
// Only a missing name or an existing regular file the process may write is replaced; a
// replaced file keeps its mode, and its owner and group where the process may set them.
// SIGINT, SIGTERM, SIGHUP and SIGQUIT are held back while temporary files exist; one that
// arrived before the renames cancels them (every old file stays) and is delivered once the
// temporary files are gone, so an interrupted save leaves no trace.
// The first failure is reported through the shell and discards every staged file.
class FileSet {
  public:
    FileSet();
    ~FileSet();
    FileSet(const FileSet&) = delete;
    FileSet& operator=(const FileSet&) = delete;

    bool Stage(const std::string& path, std::span<const std::uint8_t> bytes);
    bool Stage(const std::string& path, std::string_view text);
    // Renames every staged file into place; false after a reported failure.
    bool Commit();

  private:
    struct Staged {
        std::string path;
        std::string temp;
    };
    bool Fail(FileErrorCause cause, const std::string& path);
    void Discard();

    std::vector<Staged> m_staged;
    sigset_t m_savedMask{};
    bool m_blocked = false;
    bool m_failed = false;
};

// One file written as a FileSet of one. Reports a failure through the shell and returns
// false; any old file stays as it was.
bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);
bool WriteWholeFile(const std::string& path, std::string_view text);

// Whether two paths name the same file: the same existing file (also through links), or
// the same name in the same folder however spelled.
bool SameFile(const std::string& a, const std::string& b);

// The first two of `paths` that name the same file, by index; none when all differ.
std::optional<std::pair<std::size_t, std::size_t>> FindSameFiles(
    const std::vector<std::string>& paths);

}  // namespace zantrel
