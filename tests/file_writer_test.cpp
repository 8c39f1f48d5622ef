// The file writer and the file errors of the loaders: what is refused, why, and that a
// refusal or a signal during a save leaves no trace.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <dirent.h>
#include <csignal>
#include <filesystem>
#include <optional>

#include "platform/FileWriter.h"
#include "platform/PictureFiles.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

namespace fs = std::filesystem;

// The hidden entries of `folder`: temporary files a save left behind.
std::vector<std::string> HiddenEntries(const std::string& folder) {
    std::vector<std::string> hidden;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string()[0] == '.')
            hidden.push_back(entry.path().filename().string());
    }
    return hidden;
}

TEST(FileWriter, ReplacesOnlyRegularFilesAndNamesTheCauseOfEveryRefusal) {
    const std::string folder = MakeTempFolder();
    const std::string pipe = folder + "/pipe.bmp";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // With a reader waiting, a writer that opened the pipe would not block but succeed.
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    WriteBytes(folder + "/file", {'f'});
    const std::string loop = folder + "/loop.bmp";
    fs::create_symlink("loop.bmp", loop);
    const std::string longest = folder + "/" + std::string(251, 'n') + ".bmp";  // 255 bytes

    const std::pair<std::string, std::optional<FileErrorCause>> cases[] = {
        {longest, std::nullopt},
        {folder + "/" + std::string(256, 'n'), FileErrorCause::NameTooLong},
        {folder + "/missing/out.bmp", FileErrorCause::NotFound},
        {folder + "/file/out.bmp", FileErrorCause::NotAFolder},
        {folder, FileErrorCause::NotRegularFile},
        {pipe, FileErrorCause::NotRegularFile},
        {"/dev/null", FileErrorCause::NotRegularFile},
        {loop, FileErrorCause::TooManyLinks},
        {"/proc/out.bmp", FileErrorCause::AccessDenied},  // a folder that cannot hold files
    };
    for (const auto& [path, cause] : cases) {
        SCOPED_TRACE(path);
        const std::optional<FileError> error = WriteWholeFile(path, std::string_view("new"));
        ASSERT_EQ(error.has_value(), cause.has_value());
        if (cause) {
            EXPECT_EQ(error->cause, *cause);
            EXPECT_EQ(error->fileName, path);
        }
    }
    ::close(reader);
    EXPECT_EQ(ReadBytes(longest), std::vector<std::uint8_t>({'n', 'e', 'w'}));
    EXPECT_TRUE(fs::is_symlink(loop));
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(HiddenEntries(folder), std::vector<std::string>());
    fs::remove_all(folder);
}

TEST(FileWriter, AReplacedFileKeepsItsModeAndOwner) {
    const std::string folder = MakeTempFolder();
    const std::string target = folder + "/old.bmp";
    WriteBytes(target, {'o', 'l', 'd'});
    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0) {  // the superuser may write a protected file and keep its owner
        ASSERT_EQ(::chown(target.c_str(), kNobody, kNobody), 0);
    }
    struct stat before {};
    ASSERT_EQ(::stat(target.c_str(), &before), 0);
    const std::optional<FileError> error = WriteWholeFile(target, std::string_view("new"));
    struct stat after {};
    ASSERT_EQ(::stat(target.c_str(), &after), 0);
    if (::geteuid() == 0) {
        EXPECT_EQ(error, std::nullopt);
        EXPECT_EQ(ReadBytes(target), std::vector<std::uint8_t>({'n', 'e', 'w'}));
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
    } else {  // as cp: a write-protected file is refused and kept
        ASSERT_TRUE(error);
        EXPECT_EQ(error->cause, FileErrorCause::AccessDenied);
        EXPECT_EQ(ReadBytes(target), std::vector<std::uint8_t>({'o', 'l', 'd'}));
    }
    EXPECT_EQ(after.st_mode & 07777, 0444u);
    fs::remove_all(folder);
}

// A signal that arrives while a save has its temporary file is held back; before the rename
// it cancels the save: the process dies by it, with the old file intact and no temporary one.
TEST(FileWriter, ASignalDuringASaveKeepsTheOldFileAndLeavesNoTemporaryOne) {
    const std::string folder = MakeTempFolder();
    const std::string target = folder + "/out.bmp";
    WriteBytes(target, {'o', 'l', 'd'});
    const pid_t child = ::fork();
    if (child == 0) {
        FileSet files;
        files.Stage(target, std::string_view("new"));
        ::raise(SIGINT);  // held back until the temporary file is gone
        static_cast<void>(files.Commit());
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
    EXPECT_EQ(HiddenEntries(folder), std::vector<std::string>());
    EXPECT_EQ(ReadBytes(target), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    fs::remove_all(folder);
}

TEST(FileWriter, AnInputThatIsNoFileSaysWhichAndWhy) {
    const std::string folder = MakeTempFolder();
    const std::string pipe = folder + "/pipe.bmp";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string loop = folder + "/loop.bmp";
    fs::create_symlink("loop.bmp", loop);
    const std::pair<std::string, FileErrorCause> cases[] = {
        {pipe, FileErrorCause::NotRegularFile},
        {"/dev/null", FileErrorCause::NotRegularFile},
        {loop, FileErrorCause::TooManyLinks},
    };
    for (const auto& [path, cause] : cases) {
        SCOPED_TRACE(path);
        const Expected<LoadedBmp, LoadError> loaded = LoadBmpPicture(path);
        const Expected<ColorPicture, LoadError> imported = ImportPictureFile(path);
        ASSERT_FALSE(loaded);
        ASSERT_FALSE(imported);
        for (const LoadError& error : {loaded.Error(), imported.Error()}) {
            ASSERT_FALSE(error.IsRefusal());
            EXPECT_EQ(std::get<FileErrorCause>(error.cause), cause);
            EXPECT_EQ(error.fileName, path);
        }
    }
    fs::remove_all(folder);
}

}  // namespace

}  // namespace zantrel
