// zantrel-cli sweep end to end: the real program, compared with its own single runs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

#include "support/CliRunner.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

// zantrel-cli with `arguments`, shell-quoted by the caller.
CliRun RunCli(const std::string& arguments, const std::string& errFile = "/dev/null") {
    return RunProgram(ZANTREL_CLI, arguments, errFile);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        parts.push_back(part);
    return parts;
}

// The fields of every line of a table whose columns are separated by blanks.
std::vector<std::vector<std::string>> TableFields(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : Split(text, '\n')) {
        std::stringstream stream(line);
        std::vector<std::string> fields;
        for (std::string field; stream >> field;)
            fields.push_back(field);
        rows.push_back(fields);
    }
    return rows;
}

struct JsonRow {
    std::string codec, penalty, blocks, cutModels, groups, quadtreePsnr, psnr, bitrate, fileBitrate,
        milliseconds, ssim;
};

// The rows of `sweep --json`, in order; fails the test where a line is not a row.
std::vector<JsonRow> JsonRows(const std::string& json) {
    const std::vector<std::string> lines = Split(json, '\n');
    EXPECT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.front(), "[");
    EXPECT_EQ(lines.back(), "]");
    const std::regex row(
        "  \\{\"codec\": \"([a-z0-9]+)\", \"penalty\": ([^,]+), \"setting\": null, "
        "\"blocks\": ([0-9]+), "
        "\"cutModels\": ([0-9]+), "
        "\"groups\": ([0-9]+), \"quadtreePsnr\": \"([^\"]+)\", \"psnr\": \"([^\"]+)\", "
        "\"bitrate\": \"([^\"]+)\", \"fileBitrate\": \"([^\"]+)\", "
        "\"milliseconds\": ([0-9]+\\.[0-9]), \"ssim\": \"([^\"]+)\"\\},?");
    std::vector<JsonRow> rows;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        std::smatch m;
        EXPECT_TRUE(std::regex_match(lines[i], m, row)) << lines[i];
        if (m.empty())
            continue;
        EXPECT_EQ(lines[i].back() == ',', i + 2 < lines.size()) << "commas between rows only";
        rows.push_back({m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8], m[9], m[10], m[11]});
    }
    return rows;
}

// The keys and values of one flat JSON object (a line of `sweep --json`, or a single run), the
// quotes of strings left out.
std::map<std::string, std::string> JsonObject(const std::string& line) {
    std::map<std::string, std::string> object;
    const std::regex pair("\"([A-Za-z]+)\": \"?([^,\"}]*)\"?");
    for (auto m = std::sregex_iterator(line.begin(), line.end(), pair); m != std::sregex_iterator();
         ++m)
        object[(*m)[1]] = (*m)[2];
    return object;
}

// Debian's Python checks that a file parses as `kind` ("json" or "xml"); false where it
// does not. Tests that need it skip without it.
bool PythonParses(const std::string& kind, const std::string& path) {
    const std::string parse = kind == "json" ? "import json,sys; json.load(open(sys.argv[1]))"
                                             : "import xml.dom.minidom,sys; "
                                               "xml.dom.minidom.parse(sys.argv[1])";
    std::string command = "/usr/bin/python3 -c '";
    command.append(parse).append("' '").append(path).append("'");
    return RunShell(command).exitCode == 0;
}

bool HavePython() {
    return std::filesystem::exists("/usr/bin/python3");
}

struct SweepCase {
    const char* penalties;
    const char* minBlock;
};

TEST(Sweep, EveryRowEqualsTheSingleRunWithTheSameArguments) {
    // Out of order and with a repeat: no run may see state left by the one before.
    const SweepCase cases[] = {{"1000,1,10,1", "4"}, {"0.5,37", "8"}, {"3", "3"}};
    for (const auto& [penalties, minBlock] : cases) {
        SCOPED_TRACE(penalties);
        const std::string common = std::string(" --min-block ") + minBlock;
        const CliRun sweep = RunCli("sweep --json --penalties " + std::string(penalties) + common);
        ASSERT_EQ(sweep.exitCode, 0);
        const std::vector<JsonRow> rows = JsonRows(sweep.out);
        const std::vector<std::string> given = Split(penalties, ',');
        ASSERT_EQ(rows.size(), given.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const JsonRow& row = rows[i];
            EXPECT_EQ(row.codec, "zantrel");
            EXPECT_EQ(row.penalty, given[i]);
            const std::string single = "--json --penalty " + given[i] + common;
            EXPECT_EQ(RunCli(single).out,
                      "{\"blocks\": " + row.blocks + ", \"cutModels\": " + row.cutModels +
                          ", \"groups\": " + row.groups + ", \"psnr\": \"" + row.psnr +
                          "\", \"bitrate\": \"" + row.bitrate + "\", \"fileBitrate\": \"" +
                          row.fileBitrate + "\", \"ssim\": \"" + row.ssim + "\"}\n");
            EXPECT_TRUE(RunCli(single + " --stage quadtree")
                            .out.starts_with("{\"blocks\": " + row.blocks + ", \"psnr\": \"" +
                                             row.quadtreePsnr + "\", \"ssim\": "));
        }
    }
}

TEST(Sweep, DefaultSweepOfTheSampleStartsWithTheKnownSingleRun) {
    const CliRun run = RunCli("sweep");
    ASSERT_EQ(run.exitCode, 0);
    const auto table = TableFields(run.out);
    ASSERT_EQ(table.size(), 11u);  // header and the ten default penalties
    EXPECT_EQ(table[0],
              (std::vector<std::string>{"codec", "penalty", "setting", "blocks", "cutModels",
                                        "groups", "quadtreePsnr", "psnr", "bitrate", "fileBitrate",
                                        "milliseconds", "ssim"}));
    // The file's rate follows the coder; the single run's test above holds it to the row.
    const std::vector<std::string> first(table[1].begin(), table[1].end() - 3);
    EXPECT_EQ(first, (std::vector<std::string>{"zantrel", "1", "-", "9469", "6100", "4",
                                               "23.619901", "29.666069", "0.531038"}));
    std::vector<std::string> penalties;
    for (std::size_t i = 1; i < table.size(); ++i)
        penalties.push_back(table[i][1]);
    EXPECT_EQ(penalties, Split("1,2,5,10,20,50,100,200,500,1000", ','));
}

TEST(Sweep, CsvHoldsTheTableAndJsonTheSameFigures) {
    const std::string folder = MakeTempFolder();
    const std::string csv = folder + "/sweep.csv";
    const CliRun table = RunCli("sweep --penalties 7,0.1,123456.789 --csv '" + csv + "'");
    ASSERT_EQ(table.exitCode, 0);
    std::vector<std::vector<std::string>> fromCsv;
    for (const std::string& line : Split(ReadText(csv), '\n')) {
        fromCsv.push_back(Split(line + ",", ','));  // the "," keeps a trailing empty field
        std::replace(fromCsv.back().begin(), fromCsv.back().end(), std::string(), std::string("-"));
    }
    EXPECT_EQ(fromCsv, TableFields(table.out));  // the same run: milliseconds too

    const CliRun json = RunCli("sweep --json --penalties 7,0.1,123456.789");
    const std::vector<JsonRow> rows = JsonRows(json.out);
    ASSERT_EQ(rows.size(), 3u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const JsonRow& r = rows[i];
        EXPECT_EQ(fromCsv[i + 1],
                  (std::vector<std::string>{r.codec, r.penalty, "-", r.blocks, r.cutModels,
                                            r.groups, r.quadtreePsnr, r.psnr, r.bitrate,
                                            r.fileBitrate, fromCsv[i + 1][10], r.ssim}));
    }
    if (HavePython()) {
        WriteBytes(folder + "/sweep.json", {json.out.begin(), json.out.end()});
        EXPECT_TRUE(PythonParses("json", folder + "/sweep.json"));
    }
    std::filesystem::remove_all(folder);
}

TEST(Sweep, PenaltyIsPrintedSoThatItReadsBackExactly) {
    // 0.1 as typed; a number with more than 15 significant digits keeps all of its digits; the
    // smallest denormal as typed.
    const CliRun run = RunCli(
        "sweep --json --min-block 128 --penalties 0.1,1e3,0.30000000000000004,5e-324,1.5e-300");
    ASSERT_EQ(run.exitCode, 0);
    const std::vector<JsonRow> rows = JsonRows(run.out);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].penalty, "0.1");
    EXPECT_EQ(rows[1].penalty, "1000");
    EXPECT_EQ(rows[2].penalty, "0.30000000000000004");
    EXPECT_EQ(rows[3].penalty, "5e-324");
    EXPECT_EQ(rows[4].penalty, "1.5e-300");
}

TEST(Sweep, BadArgumentsExitWithCodeTwoBeforeAnyWork) {
    const std::string folder = MakeTempFolder();
    const std::string err = folder + "/err.txt";
    const std::string files = " --csv '" + folder + "/s.csv' --plot '" + folder + "/s.svg'";
    const std::string range = "“请填入一个在0和100000000之间的数字。”";
    const std::string notANumber = "请键入一个数。";
    const std::pair<std::string, std::string> cases[] = {
        {"--penalties ''", notANumber},
        {"--penalties --json", "--penalties 需要一个值，而不是选项 --json"},
        {"--penalties 1,,2", notANumber},
        {"--penalties 1,", notANumber},
        {"--penalties ,1", notANumber},
        {"--penalties 1,abc", notANumber},
        {"--penalties 1,0x10", notANumber},
        {"--penalties 5,-1", range},
        {"--penalties 100000001", range},
        {"--penalties 1,nan", range},
        {"--penalties 1,inf", range},
        {"--min-block 0", "“请填入一个在1和128之间的整数。”"},
        {"--min-block 4.5 --penalties x", "请键入一个整数。"},  // block size first, as the dialog
        {"--frobnicate", "usage:"},
        {"--threads 0", "usage:"},
        {"a.bmp b.bmp", "usage:"},
        {"--peers jpeg,png", "unknown codec \"png\""},
        {"--peers jpeg,", "unknown codec \"\""},
        {"--peers JPEG", "unknown codec \"JPEG\""},
        {"--rates 0.1", "--rates needs --optimise"},
        {"--rates nan", "--rates needs --optimise"},
        {"--optimised-penalties 1", "--optimised-penalties needs --optimise"},
        {"--optimise --rates 0.1 --optimised-penalties 1",
         "--rates replaces --optimised-penalties: give one of them"},
        // The rate targets' one range, as the single run's --rate.
        {"--optimise --rates 0.1,0",
         "--rates: 0 is outside the rate targets' range, 0.001 to 10 bits per pixel"},
        {"--optimise --rates 1e-315", "--rates: 1e-315 is outside the rate targets' range"},
        {"--optimise --rates 0.1,11", "--rates: 11 is outside the rate targets' range"},
        {"--optimise --rates 0.1,,1", "--rates: \"\" is not a number"},
        {"--optimise --rates 0x1", "--rates: \"0x1\" is not a number"},
        {"--optimise --rates inf", "--rates: \"inf\" is not a number"},
        {"--optimise --rates nan", "--rates: \"nan\" is not a number"},
        {"--max-pixels 0", "--max-pixels: 0 is not a whole number of pixels of at least 1"},
        {"--max-pixels abc", "--max-pixels: \"abc\" is not a number"},
        {"--optimise --optimised-penalties 1,-1", range},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(arguments);
        // The picture does not exist: a refusal must come before any attempt to read it.
        const CliRun run =
            RunCli("sweep '" + folder + "/missing.bmp'" + files + " " + arguments, err);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.empty());
        const std::string said = ReadText(err);
        EXPECT_NE(said.find(message), std::string::npos) << said;
        EXPECT_TRUE(HasCjk(said.substr(0, said.find('\n')))) << said;
        EXPECT_EQ(said.find("没有找到"), std::string::npos) << said;
        EXPECT_FALSE(std::filesystem::exists(folder + "/s.csv"));
        EXPECT_FALSE(std::filesystem::exists(folder + "/s.svg"));
    }
    std::filesystem::remove_all(folder);
}

TEST(Sweep, FileErrorsExitWithCodeOneAndPrintNoTable) {
    const std::string folder = MakeTempFolder();
    const std::string err = folder + "/err.txt";
    const std::pair<std::string, std::string> cases[] = {
        {"'" + folder + "/missing.bmp'", "没有找到 " + folder + "/missing.bmp。"},
        {"--csv '" + folder + "/no/s.csv'", "没有找到 " + folder + "/no/s.csv。"},
        {"--plot '" + folder + "'", folder},  // a folder is not replaced by a chart
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(arguments);
        const CliRun run = RunCli("sweep --penalties 1000 " + arguments, err);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(ReadText(err).find(message), std::string::npos) << ReadText(err);
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    std::filesystem::remove_all(folder);
}

TEST(Sweep, OutputsAreWrittenAllOrNothing) {
    const std::string folder = MakeTempFolder();
    const std::string err = folder + "/err.txt";
    const std::string csv = " --csv '" + folder + "/s.csv'";
    const struct {
        std::string arguments;
        int exitCode;
        std::string message;
    } cases[] = {
        // The picture does not exist: the refusal comes before any attempt to read it.
        {"--plot '" + folder + "/./s.csv' '" + folder + "/missing.bmp'", 2,
         "--csv and --plot name the same file"},
        {"--plot /dev/null", 1, "/dev/null 不是普通文件。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliRun run = RunCli("sweep --penalties 1000" + csv + " " + c.arguments, err);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(ReadText(err).find(c.message), std::string::npos) << ReadText(err);
        EXPECT_FALSE(std::filesystem::exists(folder + "/s.csv"));
    }
    std::filesystem::remove_all(folder);
}

// A file the sweep derives, the Bjontegaard figures beside --csv ("rd.csv" -> "rd-bd.csv"), is
// checked as the files it is given are, before any work: it never replaces the input (under any
// name, a link included) or another output.
TEST(Sweep, ADerivedOutputIsCheckedAsTheGivenOnes) {
    const std::string folder = MakeTempFolder();
    const std::string err = folder + "/err.txt";
    const std::string f = " '" + folder;
    std::filesystem::copy_file(ZANTREL_SAMPLE, folder + "/rd-bd.csv");
    std::filesystem::copy_file(ZANTREL_SAMPLE, folder + "/pic.bmp");
    std::filesystem::create_symlink("pic.bmp", folder + "/link-bd.csv");
    const std::vector<std::uint8_t> sample = ReadBytes(ZANTREL_SAMPLE);
    const std::string cases[] = {
        f + "/rd-bd.csv' --csv" + f + "/rd.csv' --optimise --optimised-penalties 100",
        f + "/rd-bd.csv' --csv" + f + "/./rd.csv' --peers jpeg",
        f + "/pic.bmp' --csv" + f + "/link.csv' --peers jpeg",
        f + "/pic.bmp' --csv" + f + "/s.csv' --plot" + f + "/s-bd.csv' --optimise",
    };
    for (const std::string& arguments : cases) {
        SCOPED_TRACE(arguments);
        const CliRun run = RunCli("sweep --penalties 1000" + arguments, err);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(ReadText(err).find("name the same file"), std::string::npos) << ReadText(err);
        EXPECT_EQ(ReadBytes(folder + "/rd-bd.csv"), sample);
        EXPECT_EQ(ReadBytes(folder + "/pic.bmp"), sample);
        for (const char* name : {"/rd.csv", "/link.csv", "/s.csv", "/s-bd.csv"})
            EXPECT_FALSE(std::filesystem::exists(folder + name)) << name;
    }
    // Without comparisons there is no such file, and nothing to refuse.
    ASSERT_EQ(RunCli("sweep --penalties 1000" + f + "/rd-bd.csv' --csv" + f + "/rd.csv'").exitCode,
              0);
    EXPECT_EQ(ReadBytes(folder + "/rd-bd.csv"), sample);
    EXPECT_TRUE(std::filesystem::exists(folder + "/rd.csv"));
    std::filesystem::remove_all(folder);
}

TEST(Sweep, ChartNamesThePictureSafelyAndJoinsThePointsByRate) {
    const std::string folder = MakeTempFolder();
    // Markup characters, a byte that is not UTF-8 and a control character.
    const std::string name = "a&b<c>\"d'\xff\x01.bmp";
    std::filesystem::copy_file(ZANTREL_SAMPLE, folder + "/" + name);
    const std::string svg = folder + "/chart.svg";
    const CliRun run = RunCli("sweep --penalties 100,1,10 --min-block 8 --plot '" + svg + "' '" +
                              folder + "/a&b<c>\"d'\\''\xff\x01.bmp'");
    ASSERT_EQ(run.exitCode, 0);
    const std::string chart = ReadText(svg);
    EXPECT_NE(chart.find("a&amp;b&lt;c&gt;&quot;d&apos;\xEF\xBF\xBD\xEF\xBF\xBD.bmp, minimum block "
                         "size 8</text>"),
              std::string::npos)
        << chart;
    EXPECT_NE(chart.find("PSNR (dB)</text>"), std::string::npos);
    EXPECT_NE(chart.find("bit rate (bits per pixel)</text>"), std::string::npos);
    for (const char* penalty : {"100", "1", "10"}) {
        std::string label = "class=\"penalty\" fill=\"#333\">";
        label.append(penalty).append("</text>");
        EXPECT_NE(chart.find(label), std::string::npos) << penalty;
    }

    // The curve runs left to right and, on the sample, upwards (smaller y on screen).
    std::smatch m;
    ASSERT_TRUE(std::regex_search(chart, m, std::regex("<polyline [^>]*points=\"([^\"]*)\"")));
    const std::vector<std::string> points = Split(m[1], ' ');
    ASSERT_EQ(points.size(), 3u);
    double lastX = -1, lastY = 1e9;
    for (const std::string& point : points) {
        const std::vector<std::string> xy = Split(point, ',');
        ASSERT_EQ(xy.size(), 2u);
        EXPECT_GT(std::stod(xy[0]), lastX);
        EXPECT_LT(std::stod(xy[1]), lastY);
        lastX = std::stod(xy[0]);
        lastY = std::stod(xy[1]);
    }
    if (HavePython()) {
        EXPECT_TRUE(PythonParses("xml", svg));
    }
    std::filesystem::remove_all(folder);
}

TEST(Sweep, InfinitePsnrStaysValidJsonAndIsListedUnderTheChart) {
    const std::string folder = MakeTempFolder();
    WriteBytes(folder + "/flat.bmp", MakeBmpBytes([](int, int) { return 0x404040u; }));
    const CliRun run = RunCli("sweep --json --penalties 1,2 --plot '" + folder + "/c.svg' '" +
                              folder + "/flat.bmp'");
    ASSERT_EQ(run.exitCode, 0);
    const std::vector<JsonRow> rows = JsonRows(run.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].psnr, "inf");
    const std::string chart = ReadText(folder + "/c.svg");
    EXPECT_EQ(chart.find("<circle"), std::string::npos);
    EXPECT_NE(chart.find("not finite: penalty 1, 2</text>"), std::string::npos) << chart;
    std::filesystem::remove_all(folder);
}

TEST(Sweep, PeersFollowZantrelOnTheSamePictureWithOnlyTheirColumns) {
    const std::string folder = MakeTempFolder();
    const std::string csv = folder + "/s.csv";
    const CliRun run = RunCli("sweep --penalties 100,10 --peers webp,jpeg2000,webp --csv '" + csv +
                              "' --plot '" + folder + "/s.svg'");
    ASSERT_EQ(run.exitCode, 0);
    // The rows, then after a blank line the Bjontegaard figures.
    const auto lines = TableFields(run.out);
    const auto blank = std::ranges::find_if(lines, [](const auto& f) { return f.empty(); });
    const std::vector<std::vector<std::string>> table(lines.begin(), blank);
    std::vector<std::vector<std::string>> comparisons(blank + 4, lines.end());  // past the title
    ASSERT_EQ(comparisons.size(), 4u);  // the file's rate and the estimate, against each peer
    for (std::size_t i = 0; i < comparisons.size(); ++i) {
        const std::vector<std::string>& c = comparisons[i];
        EXPECT_EQ(c[0], i % 2 ? "estimate" : "file");
        EXPECT_EQ(c[1], i < 2 ? "webp" : "jpeg2000");
        EXPECT_TRUE(c.back().ends_with("%") || c.back() == "range") << c.back();
    }
    EXPECT_EQ(Split(ReadText(folder + "/s-bd.csv"), '\n').size(), 5u);
    std::vector<std::pair<std::string, std::size_t>> runs;  // each codec's rows, in order
    for (std::size_t i = 1; i < table.size(); ++i) {
        ASSERT_EQ(table[i].size(), 12u) << i;
        if (runs.empty() || runs.back().first != table[i][0])
            runs.emplace_back(table[i][0], 0);
        ++runs.back().second;
    }
    ASSERT_EQ(runs.size(), 3u);  // webp once, where first named
    EXPECT_EQ(runs[0], std::make_pair(std::string("zantrel"), std::size_t{2}));
    EXPECT_EQ(runs[1].first, "webp");
    EXPECT_GE(runs[1].second, 5u);
    EXPECT_EQ(runs[2], std::make_pair(std::string("jpeg2000"), std::size_t{2}));  // one per file

    std::vector<std::vector<std::string>> fromCsv;
    for (const std::string& line : Split(ReadText(csv), '\n'))
        fromCsv.push_back(Split(line + ",", ','));  // the "," keeps a trailing empty field
    ASSERT_EQ(fromCsv.size(), table.size());
    for (std::size_t i = 3; i < table.size(); ++i) {
        // penalty, blocks .. quadtreePsnr, bitrate and milliseconds are Zantrel's own.
        for (const std::size_t c : {1u, 3u, 4u, 5u, 6u, 8u, 10u}) {
            EXPECT_EQ(table[i][c], "-") << i << " " << c;
            EXPECT_EQ(fromCsv[i][c], "") << i << " " << c;
        }
        EXPECT_GT(std::stod(table[i][7]), 15.0);  // psnr
        EXPECT_GT(std::stod(table[i][9]), 0.0);   // fileBitrate
        EXPECT_GT(std::stod(table[i][11]), 0.0);  // ssim, the peers' too
    }
    // JPEG 2000 aims at each Zantrel file's rate, and lands close to it.
    for (std::size_t k = 0; k < 2; ++k) {
        const std::vector<std::string>& peer = table[table.size() - 2 + k];
        EXPECT_EQ(peer[2], table[1 + k][9]);
        EXPECT_NEAR(std::stod(peer[9]), std::stod(peer[2]), 0.1 * std::stod(peer[2]));
    }
    const std::string chart = ReadText(folder + "/s.svg");
    for (const char* curve : {"zantrel-estimate", "zantrel-file", "webp", "jpeg2000"}) {
        EXPECT_NE(chart.find(std::string("<polyline class=\"") + curve + "\""), std::string::npos)
            << curve;
    }
    EXPECT_NE(chart.find(">WebP, quality 0 \u2026 95</text>"), std::string::npos);
    // The rates shown span less than a decade: the rate axis stays linear.
    EXPECT_EQ(chart.find("logarithmic scale"), std::string::npos);
    if (HavePython()) {
        EXPECT_TRUE(PythonParses("xml", folder + "/s.svg"));
    }

    // JSON: the columns a peer's row does not have are null.
    const CliRun json =
        RunCli("sweep --json --penalties 1000,1 --peers jpeg --plot '" + folder + "/wide.svg'");
    ASSERT_EQ(json.exitCode, 0);
    // Zantrel's rates from penalty 1000 to 1 span more than a decade: a logarithmic axis.
    EXPECT_NE(ReadText(folder + "/wide.svg").find("logarithmic scale"), std::string::npos);
    const std::regex peerRow(
        "  \\{\"codec\": \"jpeg\", \"penalty\": null, \"setting\": [0-9]+, \"blocks\": null, "
        "\"cutModels\": null, "
        "\"groups\": null, \"quadtreePsnr\": null, \"psnr\": \"[0-9]+\\.[0-9]{6}\", "
        "\"bitrate\": null, \"fileBitrate\": \"[0-9]+\\.[0-9]{6}\", \"milliseconds\": null, "
        "\"ssim\": \"[0-9]+\\.[0-9]{6}\"\\},?");
    const std::vector<std::string> jsonLines = Split(json.out, '\n');
    std::size_t peerRows = 0;
    for (const std::string& line : jsonLines) {
        if (line.starts_with("  {\"codec\": \"jpeg\"")) {
            EXPECT_TRUE(std::regex_match(line, peerRow)) << line;
            ++peerRows;
        }
    }
    EXPECT_GT(peerRows, 3u);
    EXPECT_EQ(jsonLines.front(), "{\"rows\": [");
    if (HavePython()) {
        WriteBytes(folder + "/s.json", {json.out.begin(), json.out.end()});
        EXPECT_TRUE(PythonParses("json", folder + "/s.json"));
    }
    std::filesystem::remove_all(folder);
}

TEST(Sweep, APeerThatCannotCodeThePictureKeepsItsRowsAndSaysSo) {
    // WebP holds no side above 16383: a strip one wider keeps WebP's rows, without figures.
    const std::string folder = MakeTempFolder();
    std::string pgm = "P5 16384 1 255\n" + std::string(16384, '\x80');
    WriteBytes(folder + "/strip.pgm", {pgm.begin(), pgm.end()});
    const std::string err = folder + "/err.txt";
    const CliRun run =
        RunCli("sweep --import '" + folder + "/strip.pgm' --penalties 10 --peers webp", err);
    ASSERT_EQ(run.exitCode, 0);
    const auto lines = TableFields(run.out);
    std::size_t webpRows = 0;
    for (const auto& fields : lines) {
        if (!fields.empty() && fields[0] == "webp") {
            ++webpRows;
            EXPECT_EQ(fields[7], "-");  // no psnr
        }
    }
    EXPECT_EQ(webpRows, 12u);  // every quality of the ladder
    EXPECT_NE(run.out.find("注：webp 的各行没有数值"), std::string::npos) << run.out;
    EXPECT_NE(
        ReadText(err).find("webp 无法以设置 0 编码这幅图像：WebP 不接受长于 16383 像素的边\n"),
        std::string::npos);
    std::filesystem::remove_all(folder);
}

TEST(Sweep, OptimisedRowsFollowTheExactOnesAndEqualTheirSingleRuns) {
    // Out of order: each point starts from the shared search alone.
    const CliRun optimised =
        RunCli("sweep --json --penalties 1000 --optimise --optimised-penalties 20,0.5,5");
    ASSERT_EQ(optimised.exitCode, 0);
    const std::vector<std::string> lines = Split(optimised.out, '\n');
    // The rows, then the optimised curve against the exact one: an object, as with peers.
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "{\"rows\": [");
    EXPECT_TRUE(lines[7].starts_with("  {\"zantrel\": \"optimised\", \"peer\": \"zantrel\""));
    const std::vector<std::string> exact = Split(RunCli("sweep --json --penalties 1000").out, '\n');
    ASSERT_EQ(exact.size(), 3u);
    // The exact row as without --optimise (its time aside), with the optimised rows' last column.
    std::map<std::string, std::string> withOptimised = JsonObject(lines[1]);
    std::map<std::string, std::string> without = JsonObject(exact[1]);
    EXPECT_EQ(withOptimised["ramps"], "null");
    for (auto* row : {&withOptimised, &without}) {
        row->erase("milliseconds");
        row->erase("ramps");
    }
    EXPECT_EQ(withOptimised, without);
    const char* penalties[] = {"20", "0.5", "5"};
    for (std::size_t k = 0; k < 3; ++k) {
        SCOPED_TRACE(penalties[k]);
        std::map<std::string, std::string> row = JsonObject(lines[2 + k]);
        EXPECT_EQ(row["codec"], "zantrel-optimised");
        EXPECT_EQ(row["penalty"], penalties[k]);
        EXPECT_EQ(row["quadtreePsnr"], "null");
        std::map<std::string, std::string> single =
            JsonObject(RunCli(std::string("--json --optimise --penalty ") + penalties[k]).out);
        single.erase("penalty");
        for (const auto& [key, value] : single)
            EXPECT_EQ(row[key], value) << key;
    }
}

TEST(Sweep, OptimisedRatesLandWithinTwoPercentOrSaySo) {
    const std::string folder = MakeTempFolder();
    const std::string err = folder + "/err.txt";
    const CliRun run = RunCli(
        "sweep --penalties 100,1000 --optimise --rates 0.05,5 --peers "
        "jpeg --plot '" +
            folder + "/s.svg'",
        err);
    ASSERT_EQ(run.exitCode, 0);
    const auto lines = TableFields(run.out);
    ASSERT_EQ(lines[0].back(), "ramps");
    ASSERT_EQ(lines[3][0], "zantrel-optimised");
    EXPECT_EQ(lines[3][2], "0.05");  // the rate aimed at, as its setting
    EXPECT_NEAR(std::stod(lines[3][9]), 0.05, 0.02 * 0.05);
    EXPECT_EQ(lines[4][2], "5");  // out of reach (1.68 at the lowest penalty): its nearest row
    EXPECT_LT(std::stod(lines[4][9]), 5 / 1.02);
    const std::string said = ReadText(err);
    EXPECT_NE(said.find("zantrel-optimised 达不到每像素 5 比特"), std::string::npos) << said;
    EXPECT_EQ(said.find("每像素 0.05 "), std::string::npos) << said;
    EXPECT_NE(said.find("2 个点共用一次"), std::string::npos) << said;

    // The optimised curve against the peer and against the exact mode's file.
    std::vector<std::string> comparisons;
    for (const auto& fields : lines) {
        if (fields.size() >= 3 && fields[0] == "optimised")
            comparisons.push_back(fields[1]);
    }
    EXPECT_EQ(comparisons, (std::vector<std::string>{"jpeg", "zantrel"}));
    EXPECT_NE(ReadText(folder + "/s.svg").find("<polyline class=\"zantrel-optimised\""),
              std::string::npos);
    std::filesystem::remove_all(folder);
}

TEST(Sweep, ProgressShowsOnlyWhenStderrIsATerminal) {
    const std::string folder = MakeTempFolder();
    const std::string err = folder + "/err.txt";
    EXPECT_EQ(RunCli("sweep --penalties 100,1000", err).exitCode, 0);
    EXPECT_EQ(ReadText(err), "");
    if (!std::filesystem::exists("/usr/bin/script"))
        GTEST_SKIP() << "util-linux script is needed to give the program a terminal";
    // script(1) gives the program a terminal; its stdout is thrown away inside.
    std::string command = "/usr/bin/script -qec \"'";
    command.append(ZANTREL_CLI).append("' sweep --penalties 100,1000 >/dev/null\" /dev/null");
    const CliRun terminal = RunShell(command);
    EXPECT_EQ(terminal.exitCode, 0);
    EXPECT_NE(terminal.out.find("penalty 1 of 2 (100):"), std::string::npos);
    EXPECT_NE(terminal.out.find("penalty 2 of 2 (1000): "), std::string::npos);
    std::filesystem::remove_all(folder);
}

}  // namespace

}  // namespace zantrel
