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

#include "platform/FileError.h"

namespace zantrel {

// Writes several files all or nothing: each is staged to a hidden temporary file in its
// target's folder, flushed, and renamed over the target only when every file is staged.
// Only a missing name or an existing regular file the process may write is replaced; a
// replaced file keeps its mode, and its owner and group where the process may set them.
// SIGINT, SIGTERM, SIGHUP and SIGQUIT are held back while temporary files exist; one that
// arrived before the renames cancels them (every old file stays) and is delivered once the
// temporary files are gone, so an interrupted save leaves no trace.
// The first failure discards every staged file; later stages do nothing, and Commit answers it.
class FileSet {
  public:
    FileSet();
    ~FileSet();
    FileSet(const FileSet&) = delete;
    FileSet& operator=(const FileSet&) = delete;

    void Stage(const std::string& path, std::span<const std::uint8_t> bytes);
    void Stage(const std::string& path, std::string_view text);
    // Stages what an encoder made: no bytes at all mean it could not get the memory it
    // needed, which fails the set (FileErrorCause::Other).
    void StageEncoded(const std::string& path, const std::vector<std::uint8_t>& bytes);
    // Renames every staged file into place, or answers the first failure with every old file
    // as it was (Interrupted when a stop signal cancelled the renames).
    [[nodiscard]] std::optional<FileError> Commit();

  private:
    struct Staged {
        std::string path;
        std::string temp;
    };
    void Fail(FileErrorCause cause, const std::string& path);
    void Discard();

    std::vector<Staged> m_staged;
    sigset_t m_savedMask{};
    bool m_blocked = false;
    std::optional<FileError> m_failure;
};

// One file written as a FileSet of one: the failure, if any, with any old file as it was.
[[nodiscard]] std::optional<FileError> WriteWholeFile(const std::string& path,
                                                      std::span<const std::uint8_t> bytes);
[[nodiscard]] std::optional<FileError> WriteWholeFile(const std::string& path,
                                                      std::string_view text);

// Whether two paths name the same file: the same existing file (also through links), or
// the same name in the same folder however spelled.
bool SameFile(const std::string& a, const std::string& b);

// The first two of `paths` that name the same file, by index; none when all differ.
std::optional<std::pair<std::size_t, std::size_t>> FindSameFiles(
    const std::vector<std::string>& paths);

}  // namespace zantrel
