#include "import/ZtlReader.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "import/ImageImport.h"
#include "import/InputFile.h"
#include "import/MessageTranslation.h"
#include "picture/MessageText.h"
#include "quadtree/DecompositionParameters.h"

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

std::string Whole(double value) {
    return std::to_string(static_cast<long long>(value));
}

// The refusal of a header whose `bad` field is out of range, naming the field, its value and
// its range.
std::string BadHeaderMessage(const ZtlBadField& bad, const std::string& name) {
    const char* pattern =
        ZANTREL_MESSAGE("Zantrel", "无法读取 %1：文件头中的%2为 %3，超出范围（%4 到 %5）。");
    auto outOfRange = [&](const char* field, const std::string& value, const std::string& low,
                          const std::string& high) {
        return TranslateMessage(pattern, {name, TranslateMessage(field), value, low, high});
    };
    switch (bad.field) {
        case ZtlHeaderField::Width:
            return outOfRange(ZANTREL_MESSAGE("Zantrel", "图像宽度"), Whole(bad.value), "1",
                              std::to_string(kMaxPictureSide));
        case ZtlHeaderField::Height:
            return outOfRange(ZANTREL_MESSAGE("Zantrel", "图像高度"), Whole(bad.value), "1",
                              std::to_string(kMaxPictureSide));
        case ZtlHeaderField::MinBlockSize:
            return outOfRange(ZANTREL_MESSAGE("Zantrel", "最小块尺寸"), Whole(bad.value),
                              std::to_string(kMinBlockSizeLow), std::to_string(kMinBlockSizeHigh));
        case ZtlHeaderField::Penalty: {
            char value[32];
            std::snprintf(value, sizeof value, "%g", bad.value);
            return outOfRange(ZANTREL_MESSAGE("Zantrel", "惩罚因子"), value, "0",
                              FormatPenalty(kPenaltyHigh));
        }
        case ZtlHeaderField::Planes:
            return TranslateMessage(
                ZANTREL_MESSAGE(
                    "Zantrel",
                    "无法读取 %1：文件头中的平面数为 %2，本程序只读取 1 个（灰度）平面。"),
                {name, Whole(bad.value)});
        case ZtlHeaderField::ValueQuantiser:
            return outOfRange(ZANTREL_MESSAGE("Zantrel", "值量化参数 Q"), Whole(bad.value), "1",
                              "65535");
        case ZtlHeaderField::GradientQuantiser:
            return outOfRange(ZANTREL_MESSAGE("Zantrel", "梯度量化参数 G"), Whole(bad.value), "1",
                              "255");
        case ZtlHeaderField::None:
            break;
    }
    return TranslateMessage(
        ZANTREL_MESSAGE("Zantrel", "无法读取 %1：Zantrel 文件头中有超出范围的字段。"), {name});
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

ZtlReadResult ReadZtlFile(const std::string& path) {
    ZtlReadError failure;
    const InputFile file(path);
    if (file.Error() != 0) {
        failure.readError = file.Error();
        return failure;
    }
    std::vector<std::uint8_t> bytes(std::min<std::uint64_t>(file.Size(), kZtlHeaderBytes));
    if (!ReadAll(file.Descriptor(), bytes.data(), bytes.size())) {
        failure.readError = errno ? errno : EIO;
        return failure;
    }
    ZtlSettings settings;
    failure.error = ReadZtlHeader(bytes, settings, &failure.badField);
    if (failure.error != ZtlError::None)
        return failure;
    failure.width = settings.width;
    failure.height = settings.height;
    const std::uint64_t pixels = static_cast<std::uint64_t>(settings.width) * settings.height;
    if (file.Size() > kZtlHeaderBytes + 64 + kMaxBytesPerPixel * pixels) {
        failure.error = ZtlError::TrailingData;
        return failure;
    }
    const std::uint64_t available = AvailableMemoryBytes();
    failure.neededBytes = PipelineBytesFor(settings.width, settings.height);
    if (available != 0 && failure.neededBytes > available) {
        failure.tooLarge = true;
        return failure;
    }
    const std::size_t prefix = bytes.size();
    bytes.resize(file.Size());
    if (!ReadAll(file.Descriptor(), bytes.data() + prefix, bytes.size() - prefix)) {
        failure.readError = errno ? errno : EIO;
        return failure;
    }
    ZtlPicture picture;
    failure.error = DecodeZtl(bytes, picture);
    if (failure.error != ZtlError::None)
        return failure;
    return picture;
}

std::string ZtlRefusalMessage(const ZtlReadError& error, std::string_view fileName) {
    if (error.readError != 0)
        return {};
    const std::string name = std::filesystem::path(fileName).filename().string();
    if (error.tooLarge)
        return TooLargeMessage(name, error.width, error.height, error.neededBytes);
    switch (error.error) {
        case ZtlError::None:
            return {};
        case ZtlError::NotZtl:
            return TranslateMessage(ZANTREL_MESSAGE("Zantrel", "无法读取 %1：不是 Zantrel 文件。"),
                                    {name});
        case ZtlError::UnknownVersion:
            return TranslateMessage(
                ZANTREL_MESSAGE("Zantrel",
                                "无法读取 %1：Zantrel 文件的版本无法识别（本程序读取版本 %2）。"),
                {name, std::to_string(kZtlExactVersion) + ", " + std::to_string(kZtlVersion)});
        case ZtlError::BadHeader:
            return BadHeaderMessage(error.badField, name);
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
