#include "cli/SweepTable.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "measure/FigureText.h"

namespace zantrel {

namespace {

struct Column {
    const char* name;  // the table's and the CSV's header, and the JSON key
    bool quoted;       // a string in JSON: a name, or a "%f" text as in the single run
};

constexpr std::array<Column, 13> kColumns = {{
    {"codec", true},
    {"penalty", false},
    {"setting", false},  // a peer's quality or target rate, an optimised row's target rate
    {"blocks", false},
    {"cutModels", false},
    {"groups", false},
    {"quadtreePsnr", true},
    {"psnr", true},
    {"bitrate", true},
    {"fileBitrate", true},
    {"milliseconds", false},
    {"ssim", true},   // after the others, so that the columns before it keep their places
    {"ramps", false}  // the optimised rows' own, only in sweeps that have them
}};
constexpr std::size_t kRamps = kColumns.size() - 1;

using Fields = std::array<std::string, kColumns.size()>;

// The columns the rows are written with: ramps only beside optimised rows.
std::size_t ColumnCount(const std::vector<SweepRow>& rows) {
    return std::ranges::any_of(rows, &SweepRow::IsOptimised) ? kColumns.size() : kRamps;
}

// Empty fields are the columns a row does not have.
Fields FieldsOf(const SweepRow& row) {
    if (!row.IsZantrel() && !row.IsOptimised()) {
        Fields fields;
        fields[0] = row.codec;
        fields[2] = FormatSweepPenalty(row.setting);
        if (!row.coded)
            return fields;
        fields[7] = FormatFigure(row.psnr);
        fields[9] = FormatFigure(row.fileBitrate);
        fields[11] = FormatFigure(row.ssim);
        return fields;
    }
    char milliseconds[64];
    std::snprintf(milliseconds, sizeof milliseconds, "%.1f", row.milliseconds);
    Fields fields = {row.codec,
                     FormatSweepPenalty(row.setting),
                     {},
                     std::to_string(row.blocks),
                     std::to_string(row.cutModels),
                     std::to_string(row.groups),
                     FormatFigure(row.quadtreePsnr),
                     FormatFigure(row.psnr),
                     FormatFigure(row.bitrate),
                     FormatFigure(row.fileBitrate),
                     milliseconds,
                     FormatFigure(row.ssim),
                     {}};
    if (row.IsOptimised()) {
        // No quadtree stage; the believed rate in place of the estimate.
        fields[6].clear();
        if (row.targetRate > 0)
            fields[2] = FormatSweepPenalty(row.targetRate);
        fields[kRamps] = std::to_string(row.ramps);
    }
    return fields;
}

}  // namespace

std::string FormatSweepPenalty(double penalty) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", penalty);
    if (std::strtod(text, nullptr) != penalty)
        std::snprintf(text, sizeof text, "%.17g", penalty);
    // Written with an exponent, the fewest digits that read back (5e-324, not 4.94…e-324).
    for (int digits = 1; std::strchr(text, 'e') && digits < 15; ++digits) {
        char shorter[64];
        std::snprintf(shorter, sizeof shorter, "%.*g", digits, penalty);
        if (std::strtod(shorter, nullptr) == penalty) {
            std::strcpy(text, shorter);
            break;
        }
    }
    return text;
}

std::string SweepTableText(const std::vector<SweepRow>& rows) {
    const std::size_t columns = ColumnCount(rows);
    std::vector<Fields> lines;
    Fields header;
    for (std::size_t c = 0; c < columns; ++c)
        header[c] = kColumns[c].name;
    lines.push_back(header);
    for (const SweepRow& row : rows) {
        lines.push_back(FieldsOf(row));
        for (std::size_t c = 0; c < columns; ++c) {
            if (lines.back()[c].empty())
                lines.back()[c].push_back('-');
        }
    }

    std::array<std::size_t, kColumns.size()> widths{};
    for (const Fields& line : lines) {
        for (std::size_t c = 0; c < columns; ++c)
            widths[c] = std::max(widths[c], line[c].size());
    }
    std::string text;
    for (const Fields& line : lines) {
        for (std::size_t c = 0; c < columns; ++c) {
            text.append(c ? 2 : 0, ' ').append(widths[c] - line[c].size(), ' ').append(line[c]);
        }
        text.append("\n");
    }
    return text;
}

std::string SweepCsvText(const std::vector<SweepRow>& rows) {
    const std::size_t columns = ColumnCount(rows);
    std::string text;
    for (std::size_t c = 0; c < columns; ++c)
        text.append(c ? "," : "").append(kColumns[c].name);
    text.append("\n");
    for (const SweepRow& row : rows) {
        const Fields fields = FieldsOf(row);
        for (std::size_t c = 0; c < columns; ++c)
            text.append(c ? "," : "").append(fields[c]);
        text.append("\n");
    }
    return text;
}

std::string SweepJsonText(const std::vector<SweepRow>& rows) {
    const std::size_t columns = ColumnCount(rows);
    std::string text = "[\n";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Fields fields = FieldsOf(rows[r]);
        text.append("  {");
        for (std::size_t c = 0; c < columns; ++c) {
            const char* quote = kColumns[c].quoted && !fields[c].empty() ? "\"" : "";
            text.append(c ? ", " : "")
                .append("\"")
                .append(kColumns[c].name)
                .append("\": ")
                .append(quote)
                .append(fields[c].empty() ? "null" : fields[c])
                .append(quote);
        }
        text.append(r + 1 < rows.size() ? "},\n" : "}\n");
    }
    text.append("]\n");
    return text;
}

}  // namespace zantrel
