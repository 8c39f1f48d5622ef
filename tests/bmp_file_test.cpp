#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <optional>

#include "import/BmpFormat.h"
#include "import/BmpReader.h"
#include "import/BmpWriter.h"
#include "picture/GrayConversion.h"
#include "platform/PictureFiles.h"
#include "support/RecordingShell.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

const std::string kDepthMessage = "请输入24位的图像!";
const std::string kSizeMessage = "请输入512X512大小的图像!";
const std::string kDamagedMessage = "图像文件不完整或已损坏!";

// A picture loaded before, to save in the writer's tests.
LoadedBmp PreviousPicture() {
    const auto bytes = MakeBmpBytes([](int r, int c) { return std::uint32_t(r ^ c); });
    BmpReadResult read = ReadBmpBytes(bytes);
    EXPECT_TRUE(read);
    return read ? std::move(*read) : LoadedBmp{};
}

bool Same(const LoadedBmp& a, const LoadedBmp& b) {
    return a.picture == b.picture && a.headers == b.headers;
}

// The refusal's message of a failed load; empty for anything else.
std::string RefusalMessage(const Expected<LoadedBmp, LoadError>& load) {
    if (load || !load.Error().IsRefusal())
        return {};
    return std::get<Refusal>(load.Error().cause).message;
}

// The file error's cause of a failed load; none for anything else.
std::optional<FileErrorCause> FileCause(const Expected<LoadedBmp, LoadError>& load) {
    if (load || load.Error().IsRefusal())
        return std::nullopt;
    return std::get<FileErrorCause>(load.Error().cause);
}

// Root passes every permission check, so a check that needs one denied runs, as root, in
// a child process that has become the unprivileged user `nobody`; otherwise it runs here.
// Files the check uses are handed to that user with GiveToCheckUser.
constexpr uid_t kNobody = 65534;

struct UnprivilegedRun {
    bool ran = false;     // false: root could not drop its privileges here
    std::string problem;  // what the check found wrong; empty when it passed
};

UnprivilegedRun RunUnprivileged(const std::function<std::string()>& check) {
    if (::geteuid() != 0)
        return {true, check()};
    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::string report = "?";  // '?' cannot drop privileges, '-' ran
        if (::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0)
            report = std::string("-").append(check());
        const ssize_t written = ::write(channel[1], report.data(), report.size());
        ::_exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
    }
    ::close(channel[1]);
    std::string report;
    char buffer[256];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (report.empty() || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {true, "the check's process failed"};
    if (report[0] == '?')
        return {};
    return {true, report.substr(1)};
}

void GiveToCheckUser(const std::string& path) {
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0) << path;
    }
}

struct RefusalCase {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> mutate;
    BmpVerdict verdict;
    std::string message;
};

TEST(BmpReader, RefusesEveryBadFileWithItsMessage) {
    const BmpVerdict depth = BmpVerdict::WrongDepth;
    const BmpVerdict size = BmpVerdict::WrongSize;
    const BmpVerdict damaged = BmpVerdict::Damaged;
    const std::vector<RefusalCase> cases = {
        {"8-bit", [](auto& b) { b[bmp::kBitCount] = 8; }, depth, kDepthMessage},
        {"32-bit", [](auto& b) { b[bmp::kBitCount] = 32; }, depth, kDepthMessage},
        {"depth before size",
         [](auto& b) {
             b[bmp::kBitCount] = 8;
             bmp::WriteU32(b, bmp::kHeight, 256);
         },
         depth, kDepthMessage},
        {"shorter than the depth byte", [](auto& b) { b.resize(28); }, depth, kDepthMessage},
        {"empty", [](auto& b) { b.clear(); }, depth, kDepthMessage},
        {"512 x 256", [](auto& b) { bmp::WriteU32(b, bmp::kHeight, 256); }, size, kSizeMessage},
        {"256 x 256",
         [](auto& b) {
             bmp::WriteU32(b, bmp::kWidth, 256);
             bmp::WriteU32(b, bmp::kHeight, 256);
         },
         size, kSizeMessage},
        {"top-down",
         [](auto& b) { bmp::WriteU32(b, bmp::kHeight, static_cast<std::uint32_t>(-512)); }, size,
         kSizeMessage},
        {"headers cut short", [](auto& b) { b.resize(40); }, damaged, kDamagedMessage},
        {"pixel offset inside the headers",
         [](auto& b) { bmp::WriteU32(b, bmp::kPixelOffset, 40); }, damaged, kDamagedMessage},
        {"pixel array truncated by one byte", [](auto& b) { b.pop_back(); }, damaged,
         kDamagedMessage},
        {"pixel array only headers", [](auto& b) { b.resize(54); }, damaged, kDamagedMessage},
        {"pixel offset past the end",
         [](auto& b) { bmp::WriteU32(b, bmp::kPixelOffset, 0xFFFFFFF0u); }, damaged,
         kDamagedMessage},
        {"run-length compressed", [](auto& b) { bmp::WriteU32(b, bmp::kCompression, 1); }, damaged,
         kDamagedMessage},
        {"bit fields", [](auto& b) { bmp::WriteU32(b, bmp::kCompression, 3); }, damaged,
         kDamagedMessage},
        // Every field is read at its full width, and the kept headers must be a BMP file's.
        {"bit count 0x0118", [](auto& b) { bmp::WriteU16(b, bmp::kBitCount, 0x0118); }, depth,
         kDepthMessage},
        {"not BM", [](auto& b) { b[1] = 'A'; }, damaged, kDamagedMessage},
        {"info header of 39 bytes", [](auto& b) { bmp::WriteU32(b, bmp::kInfoSize, 39); }, damaged,
         kDamagedMessage},
        {"no planes", [](auto& b) { bmp::WriteU16(b, bmp::kPlanes, 0); }, damaged, kDamagedMessage},
        {"two planes", [](auto& b) { bmp::WriteU16(b, bmp::kPlanes, 2); }, damaged,
         kDamagedMessage},
    };
    const std::string folder = MakeTempFolder();
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> bytes = MakeBmpBytes();
        c.mutate(bytes);
        const BmpReadResult read = ReadBmpBytes(bytes);
        ASSERT_FALSE(read);
        EXPECT_EQ(read.Error().readError, 0);
        EXPECT_EQ(read.Error().verdict, c.verdict);
        EXPECT_EQ(BmpRefusalMessage(read.Error().verdict), c.message);

        // The same file from disk, as the front ends open it, and shown as they show it.
        const std::string path = folder + "/refused.bmp";
        WriteBytes(path, bytes);
        const Expected<LoadedBmp, LoadError> load = LoadBmpPicture(path);
        EXPECT_EQ(RefusalMessage(load), c.message);
        ASSERT_FALSE(load);
        EXPECT_EQ(load.Error().fileName, path);
        RecordingShell shell;
        ShowLoadError(shell, load.Error());
        ASSERT_EQ(shell.messages.size(), 1u);
        EXPECT_EQ(shell.messages[0].text, c.message);
        EXPECT_EQ(shell.messages[0].caption, "Zantrel");
        EXPECT_EQ(shell.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_TRUE(shell.fileErrors.empty());
    }
    std::filesystem::remove_all(folder);
}

TEST(BmpReader, AcceptsAPlainFileAndKeepsItsHeadersByteForByte) {
    std::vector<std::uint8_t> bytes = MakeBmpBytes();
    bytes[6] = 0x5A;  // reserved fields and resolution are kept as they are
    bmp::WriteU32(bytes, 38, 2835);
    const BmpReadResult read = ReadBmpBytes(bytes);
    ASSERT_TRUE(read);
    EXPECT_TRUE(BmpRefusalMessage(BmpVerdict::Accepted).empty());
    const LoadedBmp& loaded = *read;
    EXPECT_TRUE(std::equal(loaded.headers.begin(), loaded.headers.end(), bytes.begin()));
    EXPECT_EQ(loaded.picture.width, 512);
    EXPECT_EQ(loaded.picture.height, 512);
    EXPECT_TRUE(std::equal(loaded.picture.bgr.begin(), loaded.picture.bgr.end(), bytes.begin() + 54,
                           bytes.end()));

    const std::string folder = MakeTempFolder();
    WriteBytes(folder + "/plain.bmp", bytes);
    const Expected<LoadedBmp, LoadError> fromFile = LoadBmpPicture(folder + "/plain.bmp");
    ASSERT_TRUE(fromFile);
    EXPECT_TRUE(Same(*fromFile, loaded));
    std::filesystem::remove_all(folder);
}

TEST(BmpReader, ReadsPixelsFromThePixelOffsetOfLargerHeaders) {
    const std::vector<std::uint8_t> plain = MakeBmpBytes();
    for (const std::uint32_t infoSize : {108u, 124u}) {
        SCOPED_TRACE(infoSize);
        std::vector<std::uint8_t> bytes(plain.begin(), plain.begin() + 54);
        bytes.resize(14 + infoSize, 0);
        bytes.insert(bytes.end(), plain.begin() + 54, plain.end());
        bmp::WriteU32(bytes, bmp::kInfoSize, infoSize);
        bmp::WriteU32(bytes, bmp::kPixelOffset, 14 + infoSize);
        const BmpReadResult loaded = ReadBmpBytes(bytes);
        ASSERT_TRUE(loaded);
        EXPECT_TRUE(std::equal(loaded->picture.bgr.begin(), loaded->picture.bgr.end(),
                               plain.begin() + 54, plain.end()));
    }
}

TEST(BmpReader, FileErrorsNameTheCause) {
    const std::string folder = MakeTempFolder();
    const auto readError = [](const BmpReadResult& read) {
        return read ? 0 : read.Error().readError;
    };
    EXPECT_EQ(readError(ReadBmpFile(folder + "/missing.bmp")), ENOENT);
    EXPECT_EQ(readError(ReadBmpFile(folder)), EISDIR);
    EXPECT_EQ(readError(ReadBmpFile("/dev/null")), EINVAL);
    const Expected<LoadedBmp, LoadError> missing = LoadBmpPicture(folder + "/missing.bmp");
    EXPECT_EQ(FileCause(missing), FileErrorCause::NotFound);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.Error().fileName, folder + "/missing.bmp");
    EXPECT_EQ(FileCause(LoadBmpPicture(folder)), FileErrorCause::AccessDenied);

    // Shown as the front ends show it: a file error, no message box.
    RecordingShell shell;
    ShowLoadError(shell, missing.Error());
    ASSERT_EQ(shell.fileErrors.size(), 1u);
    EXPECT_EQ(shell.fileErrors[0].cause, FileErrorCause::NotFound);
    EXPECT_EQ(shell.fileErrors[0].fileName, folder + "/missing.bmp");
    EXPECT_TRUE(shell.messages.empty());
    std::filesystem::remove_all(folder);
}

TEST(BmpReader, AFileWithoutReadPermissionIsAccessDenied) {
    const std::string folder = MakeTempFolder();
    const std::string locked = folder + "/locked.bmp";
    WriteBytes(locked, MakeBmpBytes());
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    GiveToCheckUser(folder);
    GiveToCheckUser(locked);
    const UnprivilegedRun run = RunUnprivileged([&]() -> std::string {
        const Expected<LoadedBmp, LoadError> load = LoadBmpPicture(locked);
        if (load)
            return "the load did not fail";
        if (FileCause(load) != FileErrorCause::AccessDenied)
            return "the failure was not access denied";
        return {};
    });
    std::filesystem::remove_all(folder);
    if (!run.ran)
        GTEST_SKIP() << "running as root and cannot drop privileges";
    EXPECT_EQ(run.problem, "");
}

TEST(BmpWriter, SavesTheResultAsGrayBehindTheKeptHeaders) {
    const std::string folder = MakeTempFolder();
    const std::vector<std::uint8_t> original = MakeBmpBytes();
    const BmpReadResult loaded = ReadBmpBytes(original);
    ASSERT_TRUE(loaded);
    const GrayPicture result = MakeGray(
        512, 512, [](int r, int c) { return static_cast<std::uint8_t>((r * 512 + c) * 13 % 251); });
    const std::string path = folder + "/ZantPic.bmp";
    ASSERT_EQ(SaveGrayBmpPicture(path, result, &loaded->headers), std::nullopt);
    const std::vector<std::uint8_t> saved = ReadBytes(path);
    ASSERT_EQ(saved.size(), 786486u);
    EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 54, original.begin()));
    for (std::size_t i = 0; i < result.PixelCount(); ++i) {
        const std::uint8_t* p = saved.data() + 54 + 3 * i;
        ASSERT_TRUE(p[0] == result.samples[i] && p[1] == p[0] && p[2] == p[0]) << i;
    }

    // Loading it back and converting to gray returns the saved samples.
    const Expected<LoadedBmp, LoadError> back = LoadBmpPicture(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(ConvertToGray(back->picture), result);
    std::filesystem::remove_all(folder);
}

TEST(BmpWriter, MakesTheLayoutFieldsOfKeptHeadersTrue) {
    std::vector<std::uint8_t> bytes = MakeBmpBytes();
    std::vector<std::uint8_t> wide(bytes.begin(), bytes.begin() + 54);
    wide.resize(122, 0);
    wide.insert(wide.end(), bytes.begin() + 54, bytes.end());
    bmp::WriteU32(wide, bmp::kFileSize, 12345);
    bmp::WriteU32(wide, bmp::kInfoSize, 108);
    bmp::WriteU32(wide, bmp::kPixelOffset, 122);
    bmp::WriteU32(wide, bmp::kImageSize, 0);
    bmp::WriteU32(wide, 42, 3780);  // resolution is kept
    BmpReadResult loaded = ReadBmpBytes(wide);
    ASSERT_TRUE(loaded);
    const auto headers = MakeSaveHeaders(loaded->headers);
    EXPECT_EQ(headers[0], 'B');
    EXPECT_EQ(headers[1], 'M');
    EXPECT_EQ(bmp::ReadU32(headers, bmp::kFileSize), 786486u);
    EXPECT_EQ(bmp::ReadU32(headers, bmp::kPixelOffset), 54u);
    EXPECT_EQ(bmp::ReadU32(headers, bmp::kInfoSize), 40u);
    EXPECT_EQ(bmp::ReadU32(headers, bmp::kImageSize), 0u);  // 0 stays 0
    EXPECT_EQ(bmp::ReadU32(headers, 42), 3780u);
    EXPECT_EQ(bmp::ReadI32(headers, bmp::kWidth), 512);

    bmp::WriteU32(wide, bmp::kImageSize, 99);
    loaded = ReadBmpBytes(wide);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(bmp::ReadU32(MakeSaveHeaders(loaded->headers), bmp::kImageSize), 786432u);

    // A 24-bit file has no palette, so a colour count is dropped; a consistent header,
    // resolution and important colours included, comes back unchanged.
    bmp::WriteU32(bytes, 38, 2835);
    bmp::WriteU32(bytes, 50, 5);
    loaded = ReadBmpBytes(bytes);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(MakeSaveHeaders(loaded->headers), loaded->headers);
    bmp::WriteU32(bytes, bmp::kColorsUsed, 7);
    loaded = ReadBmpBytes(bytes);
    ASSERT_TRUE(loaded);
    bmp::Headers expected = loaded->headers;
    bmp::WriteU32(expected, bmp::kColorsUsed, 0);
    EXPECT_EQ(MakeSaveHeaders(loaded->headers), expected);
}

TEST(BmpWriter, AFailedSaveNamesTheCauseAndKeepsTheOldFile) {
    const std::string folder = MakeTempFolder();
    const LoadedBmp loaded = PreviousPicture();
    const GrayPicture result = ConvertToGray(loaded.picture);

    const std::optional<FileError> missingFolder =
        SaveGrayBmpPicture(folder + "/no-such-folder/out.bmp", result, &loaded.headers);
    ASSERT_TRUE(missingFolder);
    EXPECT_EQ(missingFolder->cause, FileErrorCause::NotFound);
    EXPECT_EQ(missingFolder->fileName, folder + "/no-such-folder/out.bmp");

    // A file size limit makes the write fail part-way, even for root.
    const std::string target = folder + "/old.bmp";
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    WriteBytes(target, old);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const std::optional<FileError> tooLong = SaveGrayBmpPicture(target, result, &loaded.headers);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ASSERT_TRUE(tooLong);
    EXPECT_EQ(tooLong->cause, FileErrorCause::FileTooLarge);
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);  // no temporary file left behind
    std::filesystem::remove_all(folder);
}

// As cp: a write-protected folder or file is refused, and the old file kept.
TEST(BmpWriter, ASaveIntoAWriteProtectedFolderOrFileIsAccessDeniedAndKeepsTheOldFile) {
    const LoadedBmp loaded = PreviousPicture();
    const GrayPicture result = ConvertToGray(loaded.picture);
    using std::filesystem::perms;
    const std::pair<perms, perms> cases[] = {
        {perms::owner_read | perms::owner_exec, perms::owner_read | perms::owner_write},
        {perms::owner_all, perms::owner_read | perms::group_read | perms::others_read},
    };
    for (const auto& [folderMode, fileMode] : cases) {
        const std::string folder = MakeTempFolder();
        const std::string target = folder + "/old.bmp";
        const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
        WriteBytes(target, old);
        GiveToCheckUser(folder);
        GiveToCheckUser(target);
        std::filesystem::permissions(target, fileMode);
        std::filesystem::permissions(folder, folderMode);
        const UnprivilegedRun run = RunUnprivileged([&]() -> std::string {
            const std::optional<FileError> error =
                SaveGrayBmpPicture(target, result, &loaded.headers);
            if (!error)
                return "the save succeeded";
            if (error->cause != FileErrorCause::AccessDenied || error->fileName != target)
                return "the failure was not access denied to the target";
            return {};
        });
        EXPECT_EQ(ReadBytes(target), old);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                                std::filesystem::directory_iterator()),
                  1);  // no temporary file left behind
        std::filesystem::permissions(folder, perms::owner_all);
        std::filesystem::remove_all(folder);
        if (!run.ran)
            GTEST_SKIP() << "running as root and cannot drop privileges";
        EXPECT_EQ(run.problem, "");
    }
}

}  // namespace

}  // namespace zantrel
