#include "import/BmpReader.h"

#include "import/InputFile.h"
#include "import/MessageTranslation.h"
#include "picture/MessageText.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zantrel {

namespace {

// The smallest file that holds the low byte of the bit count. A file cut off before the high
// byte is judged on the low byte and then refused as too short.
constexpr std::uint64_t kDepthByteEnd = bmp::kBitCount + 1;

class MemorySource final : public ByteSource {
  public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::uint64_t Size() const override { return m_bytes.size(); }
    int Read(std::uint64_t offset, std::span<std::uint8_t> out) override {
        if (offset > m_bytes.size() || out.size() > m_bytes.size() - offset)
            return ENODATA;
        if (!out.empty())  // an empty file has no data pointer to copy from
            std::memcpy(out.data(), m_bytes.data() + offset, out.size());
        return 0;
    }

  private:
    std::span<const std::uint8_t> m_bytes;
};

class FileSource final : public ByteSource {
  public:
    explicit FileSource(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}
    std::uint64_t Size() const override { return m_size; }
    int Read(std::uint64_t offset, std::span<std::uint8_t> out) override {
        std::size_t done = 0;
        while (done < out.size()) {
            const ssize_t got = ::pread(m_fd, out.data() + done, out.size() - done,
                                        static_cast<off_t>(offset + done));
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            if (got == 0)
                return ENODATA;  // the file shrank after it was measured
            done += static_cast<std::size_t>(got);
        }
        return 0;
    }

  private:
    int m_fd;
    std::uint64_t m_size;
};

}  // namespace

std::string BmpRefusalMessage(BmpVerdict verdict) {
    switch (verdict) {
        case BmpVerdict::Accepted:
            return {};
        case BmpVerdict::WrongDepth:
            return TranslateMessage(ZANTREL_MESSAGE("Zantrel", "请输入24位的图像!"));
        case BmpVerdict::WrongSize:
            return TranslateMessage(ZANTREL_MESSAGE("Zantrel", "请输入%1X%1大小的图像!"),
                                    {std::to_string(kClassicSide)});
        case BmpVerdict::Damaged:
            break;
    }
    return TranslateMessage(ZANTREL_MESSAGE("Zantrel", "图像文件不完整或已损坏!"));
}

BmpReadResult StageBmp(ByteSource& source) {
    const std::uint64_t size = source.Size();
    std::array<std::uint8_t, bmp::kHeadersBytes> head{};
    const std::size_t headBytes = size < head.size() ? static_cast<std::size_t>(size) : head.size();
    if (const int error = source.Read(0, std::span(head).first(headBytes)); error != 0) {
        return BmpReadError{BmpVerdict::Damaged, error == ENODATA ? 0 : error};
    }

    // The depth comes first, then the size, then the integrity of the file. Bytes past the
    // end of a short file read as zero.
    if (size < kDepthByteEnd || bmp::ReadU16(head, bmp::kBitCount) != 24)
        return BmpReadError{BmpVerdict::WrongDepth, 0};
    const std::int32_t width = bmp::ReadI32(head, bmp::kWidth);
    const std::int32_t height = bmp::ReadI32(head, bmp::kHeight);
    if (width != height || width != kClassicSide)
        return BmpReadError{BmpVerdict::WrongSize, 0};
    if (size < bmp::kHeadersBytes)
        return BmpReadError{BmpVerdict::Damaged, 0};
    // The kept headers are written into saved files, so they must describe a real BMP file.
    const bool wellFormed = head[bmp::kType] == 'B' && head[bmp::kType + 1] == 'M' &&
                            bmp::ReadU32(head, bmp::kInfoSize) >= bmp::kInfoHeaderBytes &&
                            bmp::ReadU16(head, bmp::kPlanes) == 1 &&
                            bmp::ReadU32(head, bmp::kCompression) == 0;
    const std::uint64_t pixelOffset = bmp::ReadU32(head, bmp::kPixelOffset);
    if (!wellFormed || pixelOffset < bmp::kHeadersBytes ||
        pixelOffset + bmp::kClassicPixelBytes > size) {
        return BmpReadError{BmpVerdict::Damaged, 0};
    }

    LoadedBmp loaded;
    loaded.picture = ColorPicture(kClassicSide, kClassicSide);
    if (const int error = source.Read(pixelOffset, loaded.picture.bgr); error != 0) {
        // A source that ended early is a damaged file, not a failed read.
        return BmpReadError{BmpVerdict::Damaged, error == ENODATA ? 0 : error};
    }
    loaded.headers = head;
    return loaded;
}

BmpReadResult ReadBmpFile(const std::string& path) {
    const InputFile file(path);
    if (file.Error() != 0)
        return BmpReadError{BmpVerdict::Damaged, file.Error()};
    FileSource source(file.Descriptor(), file.Size());
    return StageBmp(source);
}

BmpReadResult ReadBmpBytes(std::span<const std::uint8_t> bytes) {
    MemorySource source(bytes);
    return StageBmp(source);
}

}  // namespace zantrel
