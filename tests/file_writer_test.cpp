// The file writer and the file errors of the loaders: what is refused, why, and that a
// refusal or a signal during a save leaves no trace.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <dirent.h>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

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

// Runs `body` in a child process; its wait status.
int StatusOfChild(const std::function<void()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        body();
        ::_exit(0);
    }
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    return status;
}

// A stop signal that comes while the next file is still being encoded (a large PNG takes
// seconds) ends the process at once; only an ignored one lets the save finish.
TEST(FileWriter, AStopSignalWhileEncodingEndsAtOnceAndLeavesEveryOldFile) {
    struct Case {
        int signal;
        bool ignored;
    };
    const Case cases[] = {{SIGINT, false}, {SIGTERM, false}, {SIGHUP, false}, {SIGHUP, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.signal);
        const std::string folder = MakeTempFolder();
        const std::string first = folder + "/a.bmp";
        const std::string second = folder + "/b.png";
        WriteBytes(first, {'o', 'l', 'd'});
        WriteBytes(second, {'o', 'l', 'd'});
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = ::fork();
        if (child == 0) {
            std::signal(c.signal, c.ignored ? SIG_IGN : SIG_DFL);
            FileSet files;
            files.Stage(first, std::string_view("new"));
            static_cast<void>(::write(ready[1], "s", 1));
            // The second file's encoding: long unless the signal is ignored.
            std::this_thread::sleep_for(std::chrono::milliseconds(c.ignored ? 300 : 10000));
            files.Stage(second, std::string_view("new"));
            ::_exit(files.Commit() ? 1 : 0);
        }
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        ::kill(child, c.signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const auto took = std::chrono::steady_clock::now() - start;
        ::close(ready[0]);
        ::close(ready[1]);
        const std::vector<std::uint8_t> expected = c.ignored
                                                       ? std::vector<std::uint8_t>{'n', 'e', 'w'}
                                                       : std::vector<std::uint8_t>{'o', 'l', 'd'};
        if (c.ignored) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status;
            EXPECT_LT(took, std::chrono::seconds(3));
        }
        EXPECT_EQ(HiddenEntries(folder), std::vector<std::string>());
        EXPECT_EQ(ReadBytes(first), expected);
        EXPECT_EQ(ReadBytes(second), expected);
        fs::remove_all(folder);
    }
}

// Over a file-size limit the write fails and is reported instead of killing the process.
TEST(FileWriter, AFileSizeLimitFailsTheSaveWithoutKillingIt) {
    const std::string folder = MakeTempFolder();
    const std::string small = folder + "/small.bmp";
    const std::string large = folder + "/large.bmp";
    WriteBytes(small, {'o', 'l', 'd'});
    WriteBytes(large, {'o', 'l', 'd'});
    const int status = StatusOfChild([&] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 1000;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        FileSet files;
        files.Stage(small, std::string_view("new"));
        files.Stage(large, std::string(5000, 'x'));
        const std::optional<FileError> error = files.Commit();
        ::_exit(error && error->cause == FileErrorCause::FileTooLarge && error->fileName == large ? 0
                                                                                              : 1);
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(HiddenEntries(folder), std::vector<std::string>());
    EXPECT_EQ(ReadBytes(small), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(ReadBytes(large), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    fs::remove_all(folder);
}

// As cp and shell redirection: a link is written through, to its final target, and stays.
TEST(FileWriter, AnOutputThatIsALinkWritesItsTargetAndKeepsTheLink) {
    const std::string folder = MakeTempFolder();
    const std::string other = folder + "/other";
    fs::create_directory(other);
    WriteBytes(folder + "/near.bmp", {'o', 'l', 'd'});
    WriteBytes(other + "/far.bmp", {'o', 'l', 'd'});
    fs::create_symlink("near.bmp", folder + "/relative.bmp");
    fs::create_symlink(other + "/far.bmp", folder + "/absolute.bmp");
    fs::create_symlink("absolute.bmp", folder + "/chain.bmp");
    fs::create_symlink("other/../other/new.bmp", folder + "/dangling.bmp");
    const std::pair<std::string, std::string> cases[] = {
        // link, the file it names
        {"relative.bmp", folder + "/near.bmp"},
        {"absolute.bmp", other + "/far.bmp"},
        {"chain.bmp", other + "/far.bmp"},
        {"dangling.bmp", other + "/new.bmp"},
    };
    for (const auto& [link, target] : cases) {
        SCOPED_TRACE(link);
        const std::string path = folder + "/" + link;
        const fs::path before = fs::read_symlink(path);
        const std::string text = "new " + link;
        EXPECT_EQ(WriteWholeFile(path, std::string_view(text)), std::nullopt);
        EXPECT_TRUE(fs::is_symlink(path));
        EXPECT_EQ(fs::read_symlink(path), before);
        EXPECT_EQ(ReadBytes(target), std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    EXPECT_EQ(HiddenEntries(folder), std::vector<std::string>());
    EXPECT_EQ(HiddenEntries(other), std::vector<std::string>());
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
