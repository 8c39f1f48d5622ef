#pragma once
// Writing whole files without ever damaging the ones they replace.

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
// A symbolic link is written through, as cp and shell redirection do: its final target is
// staged in the target's folder and replaced, and the link stays.
// While a set exists, SIGINT, SIGTERM, SIGHUP and SIGQUIT (where they would end the process)
// first remove its temporary files, so a stop at any moment leaves every old file and no
// trace; one that arrives during the renames waits until they are all done. SIGXFSZ is
// ignored meanwhile, so a file-size limit fails the write (FileTooLarge) instead of the process.
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
    // as it was.
    [[nodiscard]] std::optional<FileError> Commit();

  private:
    struct Staged {
        std::string path;    // as the user named it
        std::string target;  // the file it names, its links followed
        std::string temp;
    };
    void Fail(FileErrorCause cause, const std::string& path);
    void Discard();

    std::vector<Staged> m_staged;
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
