#include "cli/SweepPeers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "cli/OptionValues.h"
#include "cli/ParserWords.h"
#include "measure/FigureText.h"
#include "measure/Psnr.h"
#include "measure/Ssim.h"
#include "peers/PeerCodec.h"

namespace zantrel {

namespace {

constexpr std::array<std::pair<PeerKind, std::string_view>, 5> kNames = {{
    {PeerKind::Jpeg, "jpeg"},
    {PeerKind::Jpeg2000, "jpeg2000"},
    {PeerKind::Webp, "webp"},
    {PeerKind::Avif, "avif"},
    {PeerKind::Jxl, "jxl"},
}};

// From the coarsest each codec offers to near its finest, denser where Zantrel's rates lie.
constexpr std::array<int, 13> kJpegQualities = {1, 3, 5, 10, 20, 30, 40, 50, 60, 70, 80, 90, 95};
constexpr std::array<int, 12> kWebpQualities = {0, 5, 10, 20, 30, 40, 50, 60, 70, 80, 90, 95};
// AVIF's quantizer from its coarsest (63, the smallest file) down past Zantrel's highest rate.
constexpr std::array<int, 14> kAvifQuantizers = {63, 60, 56, 52, 48, 44, 40,
                                                 36, 32, 28, 24, 20, 16, 12};
// JPEG XL's distance from its largest down past Zantrel's highest rate.
constexpr std::array<double, 14> kJxlDistances = {15, 12,  10, 8,   6,   5,   4,
                                                  3,  2.5, 2,  1.5, 1.0, 0.7, 0.5};
// Encoder speeds: see the README's sweep section for what slower settings buy.
constexpr int kAvifSpeed = 2;
constexpr int kJxlEffort = 3;

double BitsPerPixel(std::size_t bytes, const GrayPicture& gray) {
    return 8.0 * static_cast<double>(bytes) / static_cast<double>(gray.PixelCount());
}

std::optional<PeerCoding> Code(PeerKind kind, const GrayPicture& gray, double setting) {
    switch (kind) {
        case PeerKind::Jpeg:
            return CodeJpeg(gray, static_cast<int>(setting));
        case PeerKind::Jpeg2000:
            return CodeJpeg2000(gray, setting);
        case PeerKind::Webp:
            return CodeWebp(gray, static_cast<float>(setting));
        case PeerKind::Avif:
            return CodeAvif(gray, static_cast<int>(setting), kAvifSpeed);
        case PeerKind::Jxl:
            return CodeJxl(gray, static_cast<float>(setting), kJxlEffort);
    }
    return std::nullopt;
}

std::vector<double> Settings(PeerKind kind, const std::vector<SweepRow>& zantrelRows) {
    switch (kind) {
        case PeerKind::Jpeg:
            return {kJpegQualities.begin(), kJpegQualities.end()};
        case PeerKind::Webp:
            return {kWebpQualities.begin(), kWebpQualities.end()};
        case PeerKind::Avif:
            return {kAvifQuantizers.begin(), kAvifQuantizers.end()};
        case PeerKind::Jxl:
            return {kJxlDistances.begin(), kJxlDistances.end()};
        case PeerKind::Jpeg2000:
            break;
    }
    // The rates as the table prints them, so each target reads as a fileBitrate above it.
    std::vector<double> rates;
    for (const SweepRow& row : zantrelRows)
        rates.push_back(std::strtod(FormatFigure(row.fileBitrate).c_str(), nullptr));
    return rates;
}

}  // namespace

std::string_view PeerName(PeerKind kind) {
    for (const auto& [k, name] : kNames) {
        if (k == kind)
            return name;
    }
    return {};
}

bool ParsePeerList(std::string_view list, std::vector<PeerKind>& peers, std::string& message) {
    peers.clear();
    std::vector<PeerKind> read;
    for (const std::string_view item : ListItems(list)) {
        const auto known = std::find_if(kNames.begin(), kNames.end(),
                                        [&](const auto& entry) { return entry.second == item; });
        if (known == kNames.end()) {
            std::string reason = "--peers: unknown codec \"";
            reason.append(item).append("\"; the codecs are jpeg, jpeg2000, webp, avif and jxl");
            message = InParserWords(reason);
            return false;
        }
        if (std::find(read.begin(), read.end(), known->first) == read.end())
            read.push_back(known->first);
    }
    peers = std::move(read);
    return true;
}

std::vector<SweepRow> MeasurePeers(const GrayPicture& gray, const std::vector<PeerKind>& peers,
                                   const std::vector<SweepRow>& zantrelRows,
                                   SweepProgress& status) {
    std::vector<SweepRow> rows;
    for (const PeerKind kind : peers) {
        const std::vector<double> settings = Settings(kind, zantrelRows);
        const int count = static_cast<int>(settings.size());
        for (int k = 0; k < count; ++k) {
            SweepRow row;
            row.codec = PeerName(kind);
            row.setting = settings[k];
            status.StartStep(row.codec, k, count, FormatSweepPenalty(row.setting));
            const std::optional<PeerCoding> coding = Code(kind, gray, row.setting);
            if (!coding) {  // kept, without figures, so that the output says so
                row.coded = false;
                row.psnr = row.ssim = row.fileBitrate = std::nan("");
                rows.push_back(row);
                continue;
            }
            row.psnr = Psnr(gray, coding->decoded);
            row.ssim = Ssim(gray, coding->decoded);
            row.fileBitrate = BitsPerPixel(coding->bytes, gray);
            rows.push_back(row);
        }
    }
    return rows;
}

}  // namespace zantrel
