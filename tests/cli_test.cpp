// zantrel-cli end to end: the real program on the bundled sample and on bad arguments.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include <sys/resource.h>

#include "picture/Picture.h"
#include "support/CliRunner.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

CliRun RunCli(const std::string& arguments, const std::string& errFile = "/dev/null") {
    return RunProgram(ZANTREL_CLI, arguments, errFile);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         start = end + 1, end = text.find('\n', start))
        lines.push_back(text.substr(start, end - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

TEST(Cli, QuadtreeOnTheSamplePrintsBlocksAndPsnr) {
    const CliRun run = RunCli("--stage quadtree --penalty 10 --min-block 4 '" ZANTREL_SAMPLE "'");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(std::regex_match(run.out, std::regex("blocks: [0-9]+\npsnr: [0-9]+\\.[0-9]{6}\n"
                                                     "ssim: 0\\.[0-9]{6}\n")))
        << run.out;

    const CliRun json = RunCli("--stage quadtree --penalty 10 --json '" ZANTREL_SAMPLE "'");
    EXPECT_EQ(json.exitCode, 0);
    std::smatch lines;
    ASSERT_TRUE(std::regex_search(run.out, lines,
                                  std::regex("blocks: ([0-9]+)\npsnr: (\\S+)\nssim: (\\S+)")));
    EXPECT_EQ(json.out, "{\"blocks\": " + lines[1].str() + ", \"psnr\": \"" + lines[2].str() +
                            "\", \"ssim\": \"" + lines[3].str() + "\"}\n");
}

TEST(Cli, ZantrelStageIsTheDefaultAndPrintsAllFigures) {
    const CliRun run = RunCli("--penalty 100");
    EXPECT_EQ(run.exitCode, 0);
    std::smatch m;
    ASSERT_TRUE(
        std::regex_match(run.out, m,
                         std::regex("blocks: ([0-9]+)\ncut models: ([0-9]+)\ngroups: ([0-9]+)\n"
                                    "psnr: ([0-9]+\\.[0-9]{6})\nbitrate: ([0-9]+\\.[0-9]{6})\n"
                                    "file bitrate: ([0-9]+\\.[0-9]{6})\n"
                                    "ssim: (0\\.[0-9]{6})\n")))
        << run.out;
    EXPECT_GT(std::stoi(m[2]), 0);
    const CliRun json = RunCli("--penalty 100 --json --stage zantrel");
    EXPECT_EQ(json.out, "{\"blocks\": " + m[1].str() + ", \"cutModels\": " + m[2].str() +
                            ", \"groups\": " + m[3].str() + ", \"psnr\": \"" + m[4].str() +
                            "\", \"bitrate\": \"" + m[5].str() + "\", \"fileBitrate\": \"" +
                            m[6].str() + "\", \"ssim\": \"" + m[7].str() + "\"}\n");
}

TEST(Cli, ThreadCountChangesNothing) {
    const std::string folder = MakeTempFolder();
    const CliRun one = RunCli("--penalty 3 --threads 1 --output '" + folder + "/one.bmp'");
    const CliRun two = RunCli("--penalty 3 --threads 2 --output '" + folder + "/two.bmp'");
    EXPECT_EQ(one.exitCode, 0);
    EXPECT_EQ(one.out, two.out);
    EXPECT_EQ(ReadBytes(folder + "/one.bmp"), ReadBytes(folder + "/two.bmp"));
    std::filesystem::remove_all(folder);
}

TEST(Cli, LinesPictureHasRedCutLinesOverTheGrid) {
    const std::string folder = MakeTempFolder();
    const CliRun run = RunCli("--penalty 100 --lines '" + folder + "/lines.bmp'");
    EXPECT_EQ(run.exitCode, 0);
    const auto bytes = ReadBytes(folder + "/lines.bmp");
    ASSERT_EQ(bytes.size(), 786486u);
    int red = 0, grid = 0, other = 0;
    for (std::size_t i = 54; i + 2 < bytes.size(); i += 3) {
        const int b = bytes[i], g = bytes[i + 1], r = bytes[i + 2];
        if (b == 0 && g == 0 && r == 255) {
            ++red;
        } else if (b == g && g == r && (r == 128 || r == 255)) {
            ++grid;
        } else {
            ++other;
        }
    }
    EXPECT_GT(red, 1000);
    EXPECT_GT(grid, 200000);
    EXPECT_EQ(other, 0);
    EXPECT_EQ(RunCli("--stage quadtree --lines '" + folder + "/x.bmp'").exitCode, 2);
    std::filesystem::remove_all(folder);
}

TEST(Cli, WritesTheResultAndGridPictures) {
    const std::string folder = MakeTempFolder();
    const CliRun run = RunCli("--stage quadtree --output '" + folder + "/r.bmp' --grid '" + folder +
                              "/g.bmp' --gray-grid '" + folder + "/gg.bmp'");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    for (const char* name : {"r.bmp", "g.bmp", "gg.bmp"}) {
        const auto bytes = ReadBytes(folder + "/" + name);
        ASSERT_EQ(bytes.size(), 786486u) << name;
        EXPECT_EQ(bytes[54], bytes[55]);  // gray: blue = green = red
    }
    std::filesystem::remove_all(folder);
}

TEST(Cli, BadArgumentsExitWithCodeTwoAndWriteNothing) {
    const std::string folder = MakeTempFolder();
    const std::string err = folder + "/err.txt";
    const std::string out = " --output '" + folder + "/out.bmp'";
    const std::pair<std::string, std::string> cases[] = {
        {"--penalty -1", "“请填入一个在0和100000000之间的数字。”"},
        {"--penalty 1e9", "“请填入一个在0和100000000之间的数字。”"},
        {"--penalty abc", "请键入一个数。"},
        {"--min-block 0", "“请填入一个在1和128之间的整数。”"},
        {"--min-block 129", "“请填入一个在1和128之间的整数。”"},
        {"--min-block 4.5", "请键入一个整数。"},
        {"--penalty", "usage:"},
        {"--frobnicate", "usage:"},
        {"a.bmp b.bmp", "usage:"},
        {"--stage gray --grid g.bmp", "need the quadtree stage"},
        {"''", "INPUT: a file name may not be empty"},
        {"--grid ''", "--grid: a file name may not be empty"},
        {"--gray-grid ''", "--gray-grid: a file name may not be empty"},
        {"--lines ''", "--lines: a file name may not be empty"},
        {"--threads 0", "--threads: Value 0 not in range"},
        {"--rate 0.1", "--rate needs --optimise"},
        // One rule for every value of a rate target, and for its company.
        {"--rate nan", "--rate needs --optimise"},
        {"--optimise --rate nan", "--rate: \"nan\" is not a number"},
        {"--optimise --rate abc", "--rate: \"abc\" is not a number"},
        {"--optimise --rate 0x1", "--rate: \"0x1\" is not a number"},
        {"--optimise --rate inf", "--rate: \"inf\" is not a number"},
        {"--optimise --rate 0",
         "--rate: 0 is outside the rate targets' range, 0.001 to 10 bits per pixel"},
        {"--optimise --rate 1e-307", "--rate: 1e-307 is outside the rate targets' range"},
        {"--optimise --rate 1e-9", "--rate: 1e-9 is outside the rate targets' range"},
        {"--optimise --rate 10.5", "--rate: 10.5 is outside the rate targets' range"},
        {"--optimise --rate -0.1", "--rate: -0.1 is outside the rate targets' range"},
        {"--optimise --penalty 50 --rate 0.1", "--rate replaces --penalty: give one of them"},
        {"--max-pixels 0", "--max-pixels: 0 is not a whole number of pixels of at least 1"},
        {"--max-pixels -1", "--max-pixels: -1 is not a whole number of pixels of at least 1"},
        {"--max-pixels 2.5", "--max-pixels: 2.5 is not a whole number of pixels of at least 1"},
        {"--max-pixels abc", "--max-pixels: \"abc\" is not a number"},
        {"--grid --json", "--grid 需要一个值，而不是选项 --json"},
        {"--grid -o", "--grid 需要一个值，而不是选项 -o"},
        {"--penalty --json", "--penalty 需要一个值，而不是选项 --json"},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(arguments);
        const CliRun run = RunCli(out + " " + arguments, err);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(ReadText(err).find(message), std::string::npos) << ReadText(err);
        // No refusal prints a number the user did not give (the largest double in full).
        for (const std::string& line : Lines(ReadText(err)))
            EXPECT_LT(line.size(), 160u) << line;
        // In Chinese mode the parser's own English words come after a Chinese sentence.
        EXPECT_TRUE(HasCjk(ReadText(err).substr(0, ReadText(err).find('\n')))) << ReadText(err);
        EXPECT_FALSE(std::filesystem::exists(folder + "/out.bmp"));
    }
    std::filesystem::remove_all(folder);
}

TEST(Cli, RefusedAndMissingFiles) {
    const std::string folder = MakeTempFolder();
    const std::string err = folder + "/err.txt";
    auto bytes = MakeBmpBytes();
    bytes[28] = 8;
    WriteBytes(folder + "/eight.bmp", bytes);
    CliRun run = RunCli("'" + folder + "/eight.bmp'", err);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(ReadText(err),
              "请输入24位的图像!\n"
              "zantrel-cli --import reads pictures of other formats, depths and "
              "sizes.\n");
    run = RunCli("'" + folder + "/missing.bmp'", err);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(ReadText(err), "没有找到 " + folder + "/missing.bmp。\n");
    EXPECT_TRUE(run.out.empty());
    // A name holding control characters stays on one line, escaped.
    WriteBytes(folder + "/a\nb.png", {'h', 'i'});
    run = RunCli("--import '" + folder + "/a\nb.png'", err);
    EXPECT_EQ(ReadText(err), "无法读取 \"a\\nb.png\"：不是可识别的图像格式。\n");
    run = RunCli("'" + folder + "/c\td.bmp'", err);
    EXPECT_EQ(ReadText(err), "没有找到 \"" + folder + "/c\\td.bmp\"。\n");
    std::filesystem::remove_all(folder);
}

// Outputs are all or nothing: two naming one file are refused before any work (the input
// is missing), and when one cannot be written none is.
TEST(Cli, OutputsAreWrittenAllOrNothing) {
    const std::string folder = MakeTempFolder();
    const std::string err = folder + "/err.txt";
    const std::string out = folder + "/out.bmp";
    std::filesystem::create_symlink("out.bmp", folder + "/link.bmp");
    const std::string missing = " '" + folder + "/missing.bmp'";
    const struct {
        std::string arguments;
        int exitCode;
        std::string message;
    } cases[] = {
        {"--grid '" + out + "'" + missing, 2, "--output and --grid name the same file"},
        {"--lines '" + folder + "/./out.bmp'" + missing, 2,
         "--output and --lines name the same file"},
        {"--gray-grid '" + folder + "/link.bmp'" + missing, 2,
         "--output and --gray-grid name the same file"},
        {"--stage quadtree --grid /dev/null", 1, "/dev/null 不是普通文件。"},
        {"--lines '" + folder + "/no/l.bmp'", 1, "没有找到 " + folder + "/no/l.bmp。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliRun run = RunCli("--penalty 1000 --output '" + out + "' " + c.arguments, err);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(ReadText(err).find(c.message), std::string::npos) << ReadText(err);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    std::filesystem::remove_all(folder);
}

// A binary PGM of `width` x `height` with a smooth ramp and a sharp edge, top row first.
std::string WritePgm(const std::string& path, int width, int height) {
    std::string bytes = "P5\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            bytes += static_cast<char>(x < width / 3 ? 40 : (x * 7 + y * 3) % 256);
    }
    WriteBytes(path, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    return path;
}

TEST(Cli, ImportReadsAnySizeAndWritesPicturesOfItsSize) {
    const std::string folder = MakeTempFolder();
    const std::string pgm = WritePgm(folder + "/ramp.pgm", 301, 200);
    const CliRun run =
        RunCli("--import '" + pgm + "' --penalty 5 --output '" + folder + "/r.bmp' --lines '" +
               folder + "/l.bmp' --grid '" + folder + "/g.png'");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_TRUE(std::regex_match(run.out, std::regex("blocks: [0-9]+\ncut models: [0-9]+\n"
                                                     "groups: [0-9]+\npsnr: [0-9.]+\n"
                                                     "bitrate: [0-9.]+\nfile bitrate: [0-9.]+\n"
                                                     "ssim: [0-9.]+\n")))
        << run.out;
    // A plain 54-byte header and rows padded to 4 bytes: 301 * 3 = 903 -> 904.
    for (const char* name : {"r.bmp", "l.bmp"}) {
        const auto bmp = ReadBytes(folder + "/" + name);
        ASSERT_EQ(bmp.size(), 54u + 904u * 200u) << name;
        EXPECT_EQ(bmp[10], 54);
        EXPECT_EQ(bmp[18] | bmp[19] << 8, 301);
        EXPECT_EQ(bmp[22] | bmp[23] << 8, 200);
    }
    // The grid written as PNG holds the same picture as written as BMP.
    ASSERT_EQ(RunCli("--import '" + pgm + "' --penalty 5 --grid '" + folder + "/g.bmp'").exitCode,
              0);
    const std::string quadtree = " --stage quadtree --penalty 0 --min-block 1 '" + folder;
    EXPECT_EQ(RunCli("--import" + quadtree + "/g.png'").out,
              RunCli("--import" + quadtree + "/g.bmp'").out);

    // Imported, the sample gives exactly the figures of the BMP rules.
    EXPECT_EQ(RunCli("--penalty 20 --import '" ZANTREL_SAMPLE "'").out,
              RunCli("--penalty 20 '" ZANTREL_SAMPLE "'").out);
    std::filesystem::remove_all(folder);
}

TEST(Cli, HelpAndUsageNameEveryOption) {
    for (const std::string command : {"", "sweep "}) {
        SCOPED_TRACE(command);
        const std::string folder = MakeTempFolder();
        const CliRun help = RunCli(command + "--help");
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_EQ(RunCli(command + "--frobnicate", folder + "/err.txt").exitCode, 2);
        const std::string usage = ReadText(folder + "/err.txt");
        const std::regex optionName("--[a-z][a-z-]+");
        int options = 0;
        for (auto it = std::sregex_iterator(help.out.begin(), help.out.end(), optionName);
             it != std::sregex_iterator(); ++it, ++options) {
            std::string bracketed = "[";
            bracketed += it->str();
            if (bracketed != "[--help" && bracketed != "[--lang") {  // --lang precedes the parser
                EXPECT_NE(usage.find(bracketed), std::string::npos) << bracketed << usage;
            }
        }
        EXPECT_GT(options, 7);
        std::filesystem::remove_all(folder);
    }
}

TEST(Cli, FiguresThatCannotBeWrittenFailTheCommand) {
    for (const std::string command : {"--json", "--stage quadtree", "sweep --penalties 100"}) {
        SCOPED_TRACE(command);
        EXPECT_EQ(RunCli(command + " >/dev/full").exitCode, 1);
        EXPECT_EQ(RunCli(command + " >&-").exitCode, 1);
    }
    // A negative zero is the penalty 0, and is written so.
    const std::string zero = "[\n  {\"codec\": \"zantrel\", \"penalty\": 0,";
    EXPECT_EQ(RunCli("sweep --penalties -0 --json").out.substr(0, zero.size()), zero);
}

}  // namespace

// encode then decode gives the single run's pictures; the figures add the file's size.
TEST(Cli, EncodeAndDecodeRoundTripToTheRunsPictures) {
    const std::string folder = MakeTempFolder();
    const std::string ztl = folder + "/a.ztl";
    const CliRun encode = RunCli("encode --penalty 20 -o '" + ztl + "'");
    ASSERT_EQ(encode.exitCode, 0);
    const CliRun single = RunCli("--penalty 20 --output '" + folder + "/run.png' --lines '" +
                                 folder + "/runl.png' --grid '" + folder + "/rung.png'");
    const auto bytes = std::filesystem::file_size(ztl);
    std::string expected = single.out;
    expected.insert(expected.find("file bitrate"), "file bytes: " + std::to_string(bytes) + "\n");
    EXPECT_EQ(encode.out, expected);

    const CliRun decode = RunCli("decode '" + ztl + "' -o '" + folder + "/d.png' --lines '" +
                                 folder + "/dl.png' --grid '" + folder + "/dg.png' --json");
    ASSERT_EQ(decode.exitCode, 0);
    EXPECT_NE(decode.out.find("\"width\": 512, \"height\": 512"), std::string::npos);
    for (const char* picture : {"", "l", "g"}) {
        EXPECT_EQ(ReadBytes(folder + "/d" + picture + ".png"),
                  ReadBytes(folder + "/run" + picture + ".png"));
    }
    std::filesystem::remove_all(folder);
}

// Bad .ztl input: a message, exit code 2, nothing written.
TEST(Cli, DecodeRefusesWhatIsNotAWholeZantrelFile) {
    const std::string folder = MakeTempFolder();
    const std::string err = folder + "/err.txt";
    ASSERT_EQ(RunCli("encode --penalty 500 -o '" + folder + "/good.ztl'").exitCode, 0);
    const std::vector<std::uint8_t> good = ReadBytes(folder + "/good.ztl");
    std::vector<std::uint8_t> trailing = good, truncated = good, version = good;
    trailing.push_back(0);
    truncated.resize(good.size() - 1);
    version[4] = 9;
    const std::pair<std::vector<std::uint8_t>, std::string> cases[] = {
        {MakeBmpBytes(), "不是 Zantrel 文件"},
        {trailing, "末尾有多余的数据"},
        {truncated, "不完整或已损坏"},
        {version, "版本无法识别"},
    };
    for (const auto& [bytes, message] : cases) {
        SCOPED_TRACE(message);
        WriteBytes(folder + "/bad.ztl", bytes);
        const CliRun run =
            RunCli("decode '" + folder + "/bad.ztl' -o '" + folder + "/out.bmp'", err);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(ReadText(err).find(message), std::string::npos) << ReadText(err);
        EXPECT_FALSE(std::filesystem::exists(folder + "/out.bmp"));
    }
    // A version 2 header names the field out of range: it has planes and quantisers, and no
    // penalty.
    ASSERT_EQ(RunCli("encode --optimise --penalty 50 -o '" + folder + "/good2.ztl'").exitCode, 0);
    const std::vector<std::uint8_t> good2 = ReadBytes(folder + "/good2.ztl");
    ASSERT_EQ(good2[4], 2);
    const struct {
        std::vector<std::pair<std::size_t, std::uint8_t>> bytes;
        std::string chinese;
        std::string english;
    } fields[] = {
        {{{5, 3}},
         "文件头中的平面数为 3，本程序只读取 1 个（灰度）平面。",
         "its header gives 3 planes; this program reads files of 1 (gray) plane."},
        {{{5, 0}},
         "文件头中的平面数为 0，本程序只读取 1 个（灰度）平面。",
         "its header gives 0 planes; this program reads files of 1 (gray) plane."},
        {{{11, 0}, {12, 0}},
         "文件头中的值量化参数 Q为 0，超出范围（1 到 65535）。",
         "the value quantiser Q in its header is 0, out of range (1 to 65535)."},
        {{{13, 0}},
         "文件头中的梯度量化参数 G为 0，超出范围（1 到 255）。",
         "the gradient quantiser G in its header is 0, out of range (1 to 255)."},
        {{{6, 0}},
         "文件头中的最小块尺寸为 0，超出范围（1 到 128）。",
         "the minimum block size in its header is 0, out of range (1 to 128)."},
        {{{8, 0x41}},
         "文件头中的图像宽度为 16640，超出范围（1 到 16384）。",
         "the picture width in its header is 16640, out of range (1 to 16384)."},
        {{{9, 0}, {10, 0}},
         "文件头中的图像高度为 0，超出范围（1 到 16384）。",
         "the picture height in its header is 0, out of range (1 to 16384)."},
    };
    for (const auto& field : fields) {
        SCOPED_TRACE(field.chinese);
        std::vector<std::uint8_t> bytes = good2;
        for (const auto& [at, value] : field.bytes)
            bytes[at] = value;
        WriteBytes(folder + "/bad2.ztl", bytes);
        const std::string decode = "decode '" + folder + "/bad2.ztl' -o '" + folder + "/out.bmp'";
        EXPECT_EQ(RunCli(decode, err).exitCode, 2);
        EXPECT_EQ(ReadText(err), "无法读取 bad2.ztl：" + field.chinese + "\n");
        EXPECT_EQ(RunCli("--lang en " + decode, err).exitCode, 2);
        EXPECT_EQ(ReadText(err), "Cannot read bad2.ztl: " + field.english + "\n");
        EXPECT_EQ(ReadText(err).find("penalty"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(folder + "/out.bmp"));
    }
    std::vector<std::uint8_t> penalty = ReadBytes(folder + "/good.ztl");  // version 1
    penalty[17] = 0xFF;                                                   // NaN
    WriteBytes(folder + "/bad1.ztl", penalty);
    EXPECT_EQ(RunCli("--lang en decode '" + folder + "/bad1.ztl' -o '" + folder + "/out.bmp'", err)
                  .exitCode,
              2);
    EXPECT_NE(ReadText(err).find("the penalty factor in its header is "), std::string::npos)
        << ReadText(err);

    const CliRun wrongName = RunCli("encode -o '" + folder + "/a.bmp'", err);
    EXPECT_EQ(wrongName.exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(folder + "/a.bmp"));
    std::filesystem::remove_all(folder);
}

namespace {}  // namespace

// --lang en or LANGUAGE=en: every refusal in English, for the single run and every command.
TEST(Cli, EnglishMessagesOnRequest) {
    const std::string folder = MakeTempFolder();
    const std::string err = folder + "/err.txt";
    auto eight = MakeBmpBytes();
    eight[28] = 8;
    WriteBytes(folder + "/eight.bmp", eight);
    WriteBytes(folder + "/picture.ztl", MakeBmpBytes());
    ASSERT_EQ(RunCli("encode --penalty 500 -o '" + folder + "/good.ztl'").exitCode, 0);
    auto truncated = ReadBytes(folder + "/good.ztl");
    truncated.pop_back();
    WriteBytes(folder + "/truncated.ztl", truncated);
    const std::string out = " -o '" + folder + "/out.png'";
    const struct {
        std::string arguments;
        int exitCode;
        std::string message;
    } cases[] = {
        {"'" + folder + "/eight.bmp'", 2, "Please open a 24-bit picture.\n"},
        {"'" + folder + "/missing.bmp'", 1, folder + "/missing.bmp was not found.\n"},
        {"--penalty -1", 2, "Please enter a number between 0 and 100000000.\n"},
        {"sweep --penalties 1,x", 2, "Please enter a number.\n"},
        {"encode --min-block 0" + out, 2, "Please enter a whole number between 1 and 128.\n"},
        {"decode '" + folder + "/picture.ztl'" + out, 2,
         "Cannot read picture.ztl: it is not a Zantrel file.\n"},
        {"decode '" + folder + "/truncated.ztl'" + out, 2,
         "Cannot read truncated.ztl: the Zantrel file is incomplete or damaged.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        for (const std::string& command :
             {"env -u LANGUAGE '" ZANTREL_CLI "' --lang en " + c.arguments,
              "LANGUAGE=en_GB:zh_CN '" ZANTREL_CLI "' " + c.arguments + " --lang=en",
              "LANGUAGE=en '" ZANTREL_CLI "' " + c.arguments}) {
            const CliRun run = RunShell(command, err);
            EXPECT_EQ(run.exitCode, c.exitCode);
            EXPECT_NE(ReadText(err).find(c.message), std::string::npos) << ReadText(err);
            EXPECT_FALSE(HasCjk(ReadText(err))) << ReadText(err);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/out.png"));
    // --lang zh overrides the variable; an unknown language is refused before any work.
    EXPECT_EQ(RunShell("LANGUAGE=en '" ZANTREL_CLI "' --lang zh --penalty abc", err).exitCode, 2);
    EXPECT_EQ(ReadText(err), "请键入一个数。\n");
    EXPECT_EQ(RunCli("--lang fr --output '" + folder + "/out.bmp'", err).exitCode, 2);
    EXPECT_EQ(ReadText(err), "--lang: unknown language \"fr\"; the languages are en and zh\n");
    EXPECT_FALSE(std::filesystem::exists(folder + "/out.bmp"));
    std::filesystem::remove_all(folder);
}

// Each of these is refused before any work: the input stays as it was, no output appears.
TEST(Cli, DangerousOrMistakenFilesAreRefusedBeforeAnyWork) {
    const std::string folder = MakeTempFolder();
    const std::string err = folder + "/err.txt";
    const std::string in = folder + "/in.bmp";
    WriteBytes(in, MakeBmpBytes());
    std::filesystem::create_hard_link(in, folder + "/hard.bmp");
    std::filesystem::create_symlink("in.bmp", folder + "/soft.bmp");
    ASSERT_EQ(RunCli("encode --penalty 500 -o '" + folder + "/a.ztl'").exitCode, 0);
    // 20000 x 10000, more pixels than the default limit, in 14 bytes of header.
    WriteBytes(folder + "/bomb.pgm", {'P', '5', ' ', '2', '0', '0', '0', '0', ' ', '1', '0', '0',
                                      '0', '0', ' ', '2', '5', '5', '\n'});
    std::filesystem::create_directory(folder + "/dir");
    const std::string f = "'" + folder;
    const struct {
        std::string arguments;
        int exitCode;
        std::string message;
    } cases[] = {
        {f + "/in.bmp' --output " + f + "/hard.bmp'", 2, "name the same file"},
        {f + "/in.bmp' --lines " + f + "/soft.bmp'", 2, "name the same file"},
        {f + "/in.bmp' --output " + f + "/../" + std::filesystem::path(folder).filename().string() +
             "/in.bmp'",
         2, "name the same file"},
        {"sweep " + f + "/in.bmp' --csv " + f + "/hard.bmp'", 2, "name the same file"},
        {"sweep " + f + "/in.bmp' --plot " + f + "/soft.bmp'", 2, "name the same file"},
        {"decode " + f + "/a.ztl' -o " + f + "/keep.ztl'", 2, "不能写成 .ztl"},
        {"decode " + f + "/a.ztl' -o " + f + "/x.jpg'", 2, "不能写成 .jpg"},
        {f + "/in.bmp' --grid " + f + "/x.gif'", 2, "不能写成 .gif"},
        {"decode " + f + "/a.ztl' -o=--grid", 2, "请写 -o --grid 或 --output=--grid"},
        {"decode " + f + "/a.ztl' -o --grid", 2, "写作 --output=--grid"},
        {"--import " + f + "/dir'", 1, "这是一个文件夹"},
        {f + "/a.ztl'", 2, "用 zantrel-cli decode 读取它"},
        {"--import " + f + "/bomb.pgm'", 2, "--max-pixels 200000000"},
        {"sweep --import " + f + "/bomb.pgm'", 2, "--max-pixels 200000000"},
        {"--import --max-pixels 1000 " + f + "/in.bmp'", 2, "超过了 1000 像素的上限"},
        {"decode --max-pixels 1000 " + f + "/a.ztl' -o " + f + "/x.bmp'", 2, "超过了 1000 像素"},
    };
    const auto before = ReadBytes(in);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliRun run = RunCli(c.arguments, err);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_NE(ReadText(err).find(c.message), std::string::npos) << ReadText(err);
        EXPECT_EQ(ReadBytes(in), before);
        for (const char* name : {"/keep.ztl", "/x.jpg", "/x.gif", "/x.bmp", "/--grid"})
            EXPECT_FALSE(std::filesystem::exists(folder + name)) << name;
    }
    std::filesystem::remove_all(folder);
}

// Every rate target ends with its run, or with the nearest run and a line saying so, or is
// refused with the range: a 1 x 1 picture's file is 144 bits per pixel, and a target far below
// that (1e-307: the smallest rate over it overflows a double) once ended the search with no run.
TEST(Cli, ARateTargetEndsWithTheNearestRunOrARefusal) {
    const std::string folder = MakeTempFolder();
    const std::string err = folder + "/err.txt";
    const std::string one = " --import '" + WritePgm(folder + "/one.pgm", 1, 1) + "'";
    const std::string out = " --output '" + folder + "/out.png'";
    for (const std::string& command :
         {"--optimise" + one, "encode --optimise" + one + " -o '" + folder + "/one.ztl'"}) {
        SCOPED_TRACE(command);
        CliRun run = RunCli(command + " --rate 1e-307", err);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(ReadText(err).find("--rate: 1e-307 is outside the rate targets' range, 0.001 to "
                                     "10 bits per pixel"),
                  std::string::npos)
            << ReadText(err);
        // The single run's rules, in encode too.
        for (const auto& [arguments, message] :
             {std::pair<std::string, std::string>{" --rate nan", "--rate: \"nan\" is not a number"},
              {" --penalty 50 --rate 0.1", "--rate replaces --penalty: give one of them"},
              {" --max-pixels 0", "--max-pixels: 0 is not a whole number"}}) {
            EXPECT_EQ(RunCli(command + arguments, err).exitCode, 2) << arguments;
            EXPECT_NE(ReadText(err).find(message), std::string::npos) << ReadText(err);
        }
        EXPECT_FALSE(std::filesystem::exists(folder + "/one.ztl"));
        // Out of reach: the nearest run, and its rate beside the target as it was typed.
        run = RunCli(command + " --rate 1e-3", err);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_NE(run.out.find("file bitrate: 144.000000\n"), std::string::npos) << run.out;
        EXPECT_EQ(ReadText(err), "无法达到 1e-3 比特/像素：最接近的是 144.000000。\n");
    }
    EXPECT_TRUE(std::filesystem::exists(folder + "/one.ztl"));
    EXPECT_EQ(RunCli("--lang en --optimise --rate 10" + one + out, err).exitCode, 0);
    EXPECT_EQ(ReadText(err), "10 bits per pixel cannot be reached: the nearest is 144.000000.\n");
    std::filesystem::remove_all(folder);
}

// A thread that cannot start (under an address-space limit, 128 threads' stacks of 8 MB do not
// fit in 1 GB) no longer aborts the command: it goes on with the threads that start, says so
// once, and gives the same figures.
TEST(Cli, ThreadsThatCannotStartLeaveTheRunToThoseThatCan) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitized zantrel-cli cannot start under an address-space limit";
#endif
    if (std::system("prlimit --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "prlimit is not installed";
    const std::string folder = MakeTempFolder();
    const std::string err = folder + "/err.txt";
    // The stacks alone exceed the limit; few malloc arenas (each sets aside 64 MB of address
    // space) leave the run room whatever the number of cores.
    const std::string limited =
        "env -u LANGUAGE MALLOC_ARENA_MAX=2 prlimit --as=1073741824 "
        "--stack=8388608 '" ZANTREL_CLI "' ";
    const std::regex note(
        "只有 ([0-9]+) 个线程（共 128 个）能够启动：以 \\1 个线程继续，结果不变。\n");
    for (const std::string command :
         {"--penalty 20", "--optimise --penalty 5",
          "sweep --penalties 1000 --optimise --optimised-penalties 10"}) {
        SCOPED_TRACE(command);
        const CliRun run = RunShell(limited + command + " --threads 128", err);
        EXPECT_EQ(run.exitCode, 0) << ReadText(err);
        std::smatch m;
        const std::string said = ReadText(err);
        ASSERT_TRUE(std::regex_search(said, m, note)) << said;
        EXPECT_LT(std::stoi(m[1]), 128);
        EXPECT_EQ(said.find("只有", m.position(0) + 1), std::string::npos) << said;  // once
        // The same figures (a sweep's times aside).
        const std::regex time("\"milliseconds\": [0-9.]+");
        EXPECT_EQ(
            std::regex_replace(RunShell(limited + command + " --threads 128 --json").out, time, ""),
            std::regex_replace(RunCli(command + " --threads 1 --json").out, time, ""));
    }
    std::filesystem::remove_all(folder);
}

// A name's format comes from its final suffix, whatever its stem: a dot-file ".png" is a PNG,
// and ".jpg" is refused as "y.jpg" is.
TEST(Cli, ADotFilesFormatComesFromItsSuffix) {
    const std::string folder = MakeTempFolder();
    const std::string err = folder + "/err.txt";
    ASSERT_EQ(
        RunCli("--penalty 1000 --output '" + folder + "/.png' --grid '" + folder + "/.PNG.png'")
            .exitCode,
        0);
    for (const char* name : {"/.png", "/.PNG.png"}) {
        const std::vector<std::uint8_t> png = ReadBytes(folder + name);
        ASSERT_GT(png.size(), 8u) << name;
        EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG") << name;
    }
    ASSERT_EQ(RunCli("--penalty 1000 --output '" + folder + "/.bmp'").exitCode, 0);
    EXPECT_EQ(ReadBytes(folder + "/.bmp")[0], 'B');
    for (const std::string name : {".jpg", "y.jpg", ".x.jpg"}) {
        SCOPED_TRACE(name);
        const CliRun run = RunCli("--penalty 1000 --output '" + folder + "/" + name + "'", err);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(ReadText(err).find("不能写成 .jpg"), std::string::npos) << ReadText(err);
        EXPECT_FALSE(std::filesystem::exists(folder + "/" + name));
    }
    EXPECT_EQ(RunCli("decode x.ztl -o '" + folder + "/.gif'", err).exitCode, 2);
    EXPECT_NE(ReadText(err).find("不能写成 .gif"), std::string::npos) << ReadText(err);
    std::filesystem::remove_all(folder);
}

TEST(Cli, GrayStagePrintsTheSizeAndWritesTheGrayPicture) {
    const std::string folder = MakeTempFolder();
    const CliRun json = RunCli("--stage gray --json --output '" + folder + "/gray.png'");
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.out, "{\"width\": 512, \"height\": 512}\n");
    const std::vector<std::uint8_t> png = ReadBytes(folder + "/gray.png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    std::filesystem::remove_all(folder);
}

// Under an address-space limit the run refuses or stops with a message, never aborts, and
// writes nothing.
TEST(Cli, MemoryThatRunsOutEndsWithAMessage) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    // A sanitizer reserves its shadow memory up front, which no address-space limit leaves room
    // for.
    GTEST_SKIP() << "a sanitized zantrel-cli cannot start under an address-space limit";
#endif
    if (std::system("prlimit --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "prlimit is not installed";
    const std::string folder = MakeTempFolder();
    const std::string err = folder + "/err.txt";
    std::vector<std::uint8_t> noise = {'P', '5', ' ', '1', '0', '2', '4', ' ', '1',
                                       '0', '2', '4', ' ', '2', '5', '5', '\n'};
    for (std::uint32_t i = 0, x = 1; i < 1024 * 1024; ++i, x = x * 1103515245u + 12345u)
        noise.push_back(static_cast<std::uint8_t>(x >> 16));
    WriteBytes(folder + "/noise.pgm", noise);
    const std::string picture =
        " --import '" + folder + "/noise.pgm' --min-block 1 --output '" + folder + "/out.bmp'";
    // Refused by the memory check, and (the sweep's optimised search) out of memory on the way.
    const std::pair<std::string, std::string> commands[] = {
        {"300000000", "--penalty 0" + picture},
        {"420000000", "--optimise --penalty 0.1" + picture},
        {"420000000", "sweep --penalties 0 --optimise --min-block 1 --import '" + folder +
                          "/noise.pgm' --csv '" + folder + "/out.bmp'"},
    };
    for (const auto& [limit, command] : commands) {
        SCOPED_TRACE(command);
        const CliRun run = RunShell(
            "env -u LANGUAGE prlimit --as=" + limit + " '" ZANTREL_CLI "' " + command, err);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(ReadText(err).find("内存") != std::string::npos) << ReadText(err);
        EXPECT_TRUE(ReadText(err).find("MB") != std::string::npos) << ReadText(err);
        EXPECT_FALSE(std::filesystem::exists(folder + "/out.bmp"));
    }
    // The optimised mode's own check comes after the picture was read, and says so.
    CliRun run = RunShell("env -u LANGUAGE prlimit --as=420000000 '" ZANTREL_CLI
                          "' --optimise --penalty 0.1" +
                              picture,
                          err);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(ReadText(err).starts_with("已读取 noise.pgm，但这幅 1024×1024 的图像运行约需 "))
        << ReadText(err);
    run = RunShell("env -u LANGUAGE prlimit --as=420000000 '" ZANTREL_CLI
                   "' --lang en --optimise --penalty 0.1" +
                       picture,
                   err);
    EXPECT_TRUE(
        ReadText(err).starts_with("noise.pgm was read, but a run on its 1024×1024 picture "
                                  "needs about "))
        << ReadText(err);
    EXPECT_EQ(ReadText(err).find("Cannot read"), std::string::npos) << ReadText(err);
    // What the model lets through fits it: the optimised mode's worst case, noise at minimum
    // block 1 and a small penalty, peaks below what the check counts.
    ASSERT_EQ(RunCli("--optimise --penalty 0.1" + picture).exitCode, 0);
    rusage usage{};
    ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &usage), 0);
    EXPECT_LE(static_cast<std::uint64_t>(usage.ru_maxrss) * 1024, OptimisedBytesFor(1024, 1024, 1));
    std::filesystem::remove_all(folder);
}

}  // namespace zantrel
