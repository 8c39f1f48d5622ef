#include "import/ZtlReader.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "import/ImageImport.h"
#include "import/InputFile.h"
#include "import/MessageTranslation.h"
#include "picture/MessageText.h"

namespace zantrel {

namespace {

// No encoder writes more than this many payload bytes per pixel; a longer file is refused
// before it is read whole.
constexpr std::uint64_t kMaxBytesPerPixel = 32;

bool ReadAll(int fd, std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, data + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace

bool LooksLikeZtl(std::span<const std::uint8_t> bytes) {
    ZtlSettings unused;
    return ReadZtlHeader(bytes, unused) != ZtlError::NotZtl;
}

bool IsZtlFile(const std::string& path) {
    const InputFile file(path);
    std::uint8_t start[4];
    return file.Error() == 0 && file.Size() >= sizeof start &&
           ReadAll(file.Descriptor(), start, sizeof start) && LooksLikeZtl(start);
}

ZtlReadResult ReadZtlFile(const std::string& path, ZtlPicture& picture) {
    ZtlReadResult result;
    const InputFile file(path);
    if (file.Error() != 0) {
        result.readError = file.Error();
        return result;
    }
    std::vector<std::uint8_t> bytes(std::min<std::uint64_t>(file.Size(), kZtlHeaderBytes));
    if (!ReadAll(file.Descriptor(), bytes.data(), bytes.size())) {
        result.readError = errno ? errno : EIO;
        return result;
    }
    ZtlSettings settings;
    result.error = ReadZtlHeader(bytes, settings);
    if (result.error != ZtlError::None)
        return result;
    result.width = settings.width;
    result.height = settings.height;
    const std::uint64_t pixels = static_cast<std::uint64_t>(settings.width) * settings.height;
    if (file.Size() > kZtlHeaderBytes + 64 + kMaxBytesPerPixel * pixels) {
        result.error = ZtlError::TrailingData;
        return result;
    }
    const std::uint64_t available = AvailableMemoryBytes();
    result.neededBytes = PipelineBytesFor(settings.width, settings.height);
    if (available != 0 && result.neededBytes > available) {
        result.tooLarge = true;
        return result;
    }
    bytes.resize(file.Size());
    if (!ReadAll(file.Descriptor(), bytes.data() + kZtlHeaderBytes,
                 bytes.size() - kZtlHeaderBytes)) {
        result.readError = errno ? errno : EIO;
        return result;
    }
    result.error = DecodeZtl(bytes, picture);
    return result;
}

std::string ZtlRefusalMessage(const ZtlReadResult& result, std::string_view fileName) {
    if (result.readError != 0)
        return {};
    const std::string name = std::filesystem::path(fileName).filename().string();
    if (result.tooLarge)
        return TooLargeMessage(name, result.width, result.height, result.neededBytes);
    switch (result.error) {
        case ZtlError::None:
            return {};
        case ZtlError::NotZtl:
            return TranslateMessage(ZANTREL_MESSAGE("Zantrel", "无法读取 %1：不是 Zantrel 文件。"),
                                    {name});
        case ZtlError::UnknownVersion:
            return TranslateMessage(
                ZANTREL_MESSAGE("Zantrel",
                                "无法读取 %1：Zantrel 文件的版本无法识别（本程序读取版本 %2）。"),
                {name, std::to_string(kZtlVersion)});
        case ZtlError::BadHeader:
            return TranslateMessage(
                ZANTREL_MESSAGE("Zantrel",
                                "无法读取 %1：文件头中的图像尺寸、最小块尺寸或惩罚因子超出范围。"),
                {name});
        case ZtlError::Corrupt:
            return TranslateMessage(
                ZANTREL_MESSAGE("Zantrel", "无法读取 %1：Zantrel 文件不完整或已损坏!"), {name});
        case ZtlError::TrailingData:
            return TranslateMessage(
                ZANTREL_MESSAGE("Zantrel", "无法读取 %1：Zantrel 文件末尾有多余的数据。"), {name});
    }
    return {};
}

}  // namespace zantrel
