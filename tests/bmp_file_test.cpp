#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>

#include "files/StoreSnapshot.h"
#include "picture/BmpFormat.h"
#include "picture/BmpReader.h"
#include "picture/BmpWriter.h"
#include "picture/PictureStore.h"
#include "quadtree/ImageProcessor.h"
#include "support/RecordingShell.h"
#include "support/TestPictures.h"

namespace {

const std::string kDepthMessage = "请输入24位的图像!";
const std::string kSizeMessage = "请输入512X512大小的图像!";
const std::string kDamagedMessage = "图像文件不完整或已损坏!";

// A store holding a previous picture, in a later display mode.
void LoadPreviousPicture() {
    ResetStore();
    CRecordingShell shell;
    ASSERT_EQ(LoadPictureBytes(MakeBmpBytes([](int r, int c) { return std::uint32_t(r ^ c); })),
              LoadResult::Loaded);
    g_displayMode = DISPLAY_QUADTREE;
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
    std::string message;
};

TEST(BmpReader, RefusesEveryBadFileWithItsMessageAndChangesNothing) {
    const std::vector<RefusalCase> cases = {
        {"8-bit", [](auto& b) { b[bmp::kBitCount] = 8; }, kDepthMessage},
        {"32-bit", [](auto& b) { b[bmp::kBitCount] = 32; }, kDepthMessage},
        {"depth before size",
         [](auto& b) {
             b[bmp::kBitCount] = 8;
             bmp::WriteU32(b, bmp::kHeight, 256);
         },
         kDepthMessage},
        {"shorter than the depth byte", [](auto& b) { b.resize(28); }, kDepthMessage},
        {"empty", [](auto& b) { b.clear(); }, kDepthMessage},
        {"512 x 256", [](auto& b) { bmp::WriteU32(b, bmp::kHeight, 256); }, kSizeMessage},
        {"256 x 256",
         [](auto& b) {
             bmp::WriteU32(b, bmp::kWidth, 256);
             bmp::WriteU32(b, bmp::kHeight, 256);
         },
         kSizeMessage},
        {"top-down",
         [](auto& b) { bmp::WriteU32(b, bmp::kHeight, static_cast<std::uint32_t>(-512)); },
         kSizeMessage},
        {"headers cut short", [](auto& b) { b.resize(40); }, kDamagedMessage},
        {"pixel offset inside the headers",
         [](auto& b) { bmp::WriteU32(b, bmp::kPixelOffset, 40); }, kDamagedMessage},
        {"pixel array truncated by one byte", [](auto& b) { b.pop_back(); }, kDamagedMessage},
        {"pixel array only headers", [](auto& b) { b.resize(54); }, kDamagedMessage},
        {"pixel offset past the end",
         [](auto& b) { bmp::WriteU32(b, bmp::kPixelOffset, 0xFFFFFFF0u); }, kDamagedMessage},
        {"run-length compressed", [](auto& b) { bmp::WriteU32(b, bmp::kCompression, 1); },
         kDamagedMessage},
        {"bit fields", [](auto& b) { bmp::WriteU32(b, bmp::kCompression, 3); }, kDamagedMessage},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        LoadPreviousPicture();
        const StoreSnapshot before;
        std::vector<std::uint8_t> bytes = MakeBmpBytes();
        c.mutate(bytes);
        CRecordingShell shell;
        EXPECT_EQ(LoadPictureBytes(bytes), LoadResult::Refused);
        ASSERT_EQ(shell.messages.size(), 1u);
        EXPECT_EQ(shell.messages[0].text, c.message);
        EXPECT_EQ(shell.messages[0].caption, "Zantrel");
        EXPECT_EQ(shell.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_TRUE(StoreSnapshot() == before);
    }
}

TEST(BmpReader, AcceptsAPlainFileAndKeepsItsHeadersByteForByte) {
    ResetStore();
    std::vector<std::uint8_t> bytes = MakeBmpBytes();
    bytes[6] = 0x5A;  // reserved fields and resolution are kept as they are
    bmp::WriteU32(bytes, 38, 2835);
    CRecordingShell shell;
    ASSERT_EQ(LoadPictureBytes(bytes), LoadResult::Loaded);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(0, std::memcmp(g_fileHeader, bytes.data(), 14));
    EXPECT_EQ(0, std::memcmp(g_infoHeader, bytes.data() + 14, 40));
    EXPECT_EQ(0, std::memcmp(g_colorPixels, bytes.data() + 54, kColorBytes));
    EXPECT_EQ(g_pictureLoaded, 1);
    EXPECT_EQ(g_displayMode, DISPLAY_COLOR);
}

TEST(BmpReader, ReadsPixelsFromThePixelOffsetOfLargerHeaders) {
    ResetStore();
    const std::vector<std::uint8_t> plain = MakeBmpBytes();
    for (const std::uint32_t infoSize : {108u, 124u}) {
        SCOPED_TRACE(infoSize);
        std::vector<std::uint8_t> bytes(plain.begin(), plain.begin() + 54);
        bytes.resize(14 + infoSize, 0);
        bytes.insert(bytes.end(), plain.begin() + 54, plain.end());
        bmp::WriteU32(bytes, bmp::kInfoSize, infoSize);
        bmp::WriteU32(bytes, bmp::kPixelOffset, 14 + infoSize);
        CRecordingShell shell;
        ASSERT_EQ(LoadPictureBytes(bytes), LoadResult::Loaded);
        EXPECT_EQ(0, std::memcmp(g_colorPixels, plain.data() + 54, kColorBytes));
    }
}

TEST(BmpReader, FileErrorsNameTheCauseAndChangeNothing) {
    LoadPreviousPicture();
    const StoreSnapshot before;
    const std::string folder = MakeTempFolder();
    CRecordingShell shell;
    EXPECT_EQ(LoadPictureFile(folder + "/missing.bmp"), LoadResult::FileError);
    EXPECT_EQ(LoadPictureFile(folder), LoadResult::FileError);
    ASSERT_EQ(shell.fileErrors.size(), 2u);
    EXPECT_EQ(shell.fileErrors[0].cause, FileErrorCause::NotFound);
    EXPECT_EQ(shell.fileErrors[0].fileName, folder + "/missing.bmp");
    EXPECT_EQ(shell.fileErrors[1].cause, FileErrorCause::AccessDenied);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_TRUE(StoreSnapshot() == before);
    std::filesystem::remove_all(folder);
}

TEST(BmpReader, AFileWithoutReadPermissionIsAccessDeniedAndChangesNothing) {
    LoadPreviousPicture();
    const StoreSnapshot before;
    const std::string folder = MakeTempFolder();
    const std::string locked = folder + "/locked.bmp";
    WriteBytes(locked, MakeBmpBytes());
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    GiveToCheckUser(folder);
    GiveToCheckUser(locked);
    const UnprivilegedRun run = RunUnprivileged([&]() -> std::string {
        CRecordingShell shell;
        if (LoadPictureFile(locked) != LoadResult::FileError)
            return "the load did not fail";
        if (shell.fileErrors.size() != 1 ||
            shell.fileErrors[0].cause != FileErrorCause::AccessDenied)
            return "the failure was not reported as access denied";
        if (!shell.messages.empty() || !(StoreSnapshot() == before))
            return "the failed load showed a message or changed the store";
        return {};
    });
    std::filesystem::remove_all(folder);
    if (!run.ran)
        GTEST_SKIP() << "running as root and cannot drop privileges";
    EXPECT_EQ(run.problem, "");
}

TEST(BmpWriter, SavesTheResultAsGrayBehindTheKeptHeaders) {
    ResetStore();
    const std::string folder = MakeTempFolder();
    const std::vector<std::uint8_t> original = MakeBmpBytes();
    CRecordingShell shell;
    ASSERT_EQ(LoadPictureBytes(original), LoadResult::Loaded);
    for (int i = 0; i < kPixelCount; ++i)
        g_resultPixels[i] = static_cast<std::uint8_t>(i * 13 % 251);
    const std::string path = folder + "/ZantPic.bmp";
    ASSERT_TRUE(SaveResultPicture(path));
    const std::vector<std::uint8_t> saved = ReadBytes(path);
    ASSERT_EQ(saved.size(), 786486u);
    EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 54, original.begin()));
    for (int i = 0; i < kPixelCount; ++i) {
        const std::uint8_t* p = saved.data() + 54 + 3 * i;
        ASSERT_TRUE(p[0] == g_resultPixels[i] && p[1] == p[0] && p[2] == p[0]) << i;
    }

    // Loading it back and converting to gray returns the saved samples.
    const std::vector<std::uint8_t> result(g_resultPixels, g_resultPixels + kPixelCount);
    ASSERT_EQ(LoadPictureFile(path), LoadResult::Loaded);
    CImageProcessor().ConvertToGray();
    EXPECT_TRUE(std::equal(result.begin(), result.end(), g_grayPixels));
    EXPECT_TRUE(shell.fileErrors.empty());
    std::filesystem::remove_all(folder);
}

TEST(BmpWriter, MakesTheLayoutFieldsOfKeptHeadersTrue) {
    ResetStore();
    std::vector<std::uint8_t> bytes = MakeBmpBytes();
    std::vector<std::uint8_t> wide(bytes.begin(), bytes.begin() + 54);
    wide.resize(122, 0);
    wide.insert(wide.end(), bytes.begin() + 54, bytes.end());
    wide[0] = 'X';
    bmp::WriteU32(wide, bmp::kFileSize, 12345);
    bmp::WriteU32(wide, bmp::kInfoSize, 108);
    bmp::WriteU32(wide, bmp::kPixelOffset, 122);
    bmp::WriteU32(wide, bmp::kImageSize, 0);
    bmp::WriteU32(wide, 42, 3780);  // resolution is kept
    CRecordingShell shell;
    ASSERT_EQ(LoadPictureBytes(wide), LoadResult::Loaded);
    const auto headers = MakeSaveHeaders();
    EXPECT_EQ(headers[0], 'B');
    EXPECT_EQ(headers[1], 'M');
    EXPECT_EQ(bmp::ReadU32(headers, bmp::kFileSize), 786486u);
    EXPECT_EQ(bmp::ReadU32(headers, bmp::kPixelOffset), 54u);
    EXPECT_EQ(bmp::ReadU32(headers, bmp::kInfoSize), 40u);
    EXPECT_EQ(bmp::ReadU32(headers, bmp::kImageSize), 0u);  // 0 stays 0
    EXPECT_EQ(bmp::ReadU32(headers, 42), 3780u);
    EXPECT_EQ(bmp::ReadI32(headers, bmp::kWidth), 512);

    bmp::WriteU32(wide, bmp::kImageSize, 99);
    ASSERT_EQ(LoadPictureBytes(wide), LoadResult::Loaded);
    EXPECT_EQ(bmp::ReadU32(MakeSaveHeaders(), bmp::kImageSize), 786432u);
}

TEST(BmpWriter, AFailedSaveReportsTheCauseAndKeepsTheOldFile) {
    ResetStore();
    const std::string folder = MakeTempFolder();
    CRecordingShell shell;
    ASSERT_EQ(LoadPictureBytes(MakeBmpBytes()), LoadResult::Loaded);
    const StoreSnapshot before;

    EXPECT_FALSE(SaveResultPicture(folder + "/no-such-folder/out.bmp"));
    ASSERT_EQ(shell.fileErrors.size(), 1u);
    EXPECT_EQ(shell.fileErrors[0].cause, FileErrorCause::NotFound);

    EXPECT_FALSE(SaveResultPicture("/dev/full"));
    EXPECT_EQ(shell.fileErrors.back().cause, FileErrorCause::DiskFull);

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
    const bool ok = SaveResultPicture(target);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(ok);
    EXPECT_EQ(shell.fileErrors.back().cause, FileErrorCause::DiskFull);
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);  // no temporary file left behind
    EXPECT_TRUE(StoreSnapshot() == before);
    std::filesystem::remove_all(folder);
}

TEST(BmpWriter, ASaveIntoAWriteProtectedFolderIsAccessDeniedAndKeepsTheOldFile) {
    ResetStore();
    CRecordingShell loading;
    ASSERT_EQ(LoadPictureBytes(MakeBmpBytes()), LoadResult::Loaded);
    const StoreSnapshot before;
    const std::string folder = MakeTempFolder();
    const std::string target = folder + "/old.bmp";
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    WriteBytes(target, old);
    GiveToCheckUser(folder);
    std::filesystem::permissions(
        folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const UnprivilegedRun run = RunUnprivileged([&]() -> std::string {
        CRecordingShell shell;
        if (SaveResultPicture(target))
            return "the save succeeded";
        if (shell.fileErrors.size() != 1 ||
            shell.fileErrors[0].cause != FileErrorCause::AccessDenied ||
            shell.fileErrors[0].fileName != target)
            return "the failure was not reported as access denied to the target";
        if (!(StoreSnapshot() == before))
            return "the failed save changed the store";
        return {};
    });
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);  // no temporary file left behind
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(folder);
    if (!run.ran)
        GTEST_SKIP() << "running as root and cannot drop privileges";
    EXPECT_EQ(run.problem, "");
}

}  // namespace
