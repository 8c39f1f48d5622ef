#pragma once
// Loading a picture: read the file into a staging area, check it completely, and only then
// copy it into the picture store in one step. A refused or unreadable file changes nothing.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "picture/PictureStore.h"
#include "platform/Shell.h"

enum class BmpVerdict {
    Accepted,
    WrongDepth,  // "请输入24位的图像!"; also files too short to hold the depth byte
    WrongSize,   // "请输入512X512大小的图像!"; top-down files included
    Damaged,  // "图像文件不完整或已损坏!": short, compressed, or pixels outside the file
};

// The message box text for a refusal; empty for Accepted.
std::string BmpRefusalMessage(BmpVerdict verdict);

// Random access to the bytes of a file, on disk or in memory.
class CByteSource {
  public:
    virtual ~CByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads exactly out.size() bytes at `offset`. Returns 0, or an errno value on failure
    // (EIO-like errors, or ENODATA when the source ended early).
    virtual int Read(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
};

// A checked picture waiting to be committed.
struct StagedPicture {
    std::array<std::uint8_t, kFileHeaderBytes> fileHeader{};
    std::array<std::uint8_t, kInfoHeaderBytes> infoHeader{};
    std::vector<std::uint8_t> pixels;  // kColorBytes once staged
};

struct StageResult {
    BmpVerdict verdict = BmpVerdict::Damaged;
    int readError = 0;  // errno of a failed read; the verdict is then meaningless
};

// Checks the source and fills `staged`; touches nothing else.
StageResult StageBmp(CByteSource& source, StagedPicture& staged);

// Copies a staged picture into the store and shows it in colour.
void CommitPicture(const StagedPicture& staged);

enum class LoadResult { Loaded, Refused, FileError };

// The whole load of a file: refusals are shown as message boxes captioned "Zantrel", file
// errors reported through the shell; only Loaded changes the store.
LoadResult LoadPictureFile(const std::string& path);

// The same checks and commit for bytes already in memory.
LoadResult LoadPictureBytes(std::span<const std::uint8_t> bytes);
