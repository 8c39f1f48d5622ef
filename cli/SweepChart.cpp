#include "cli/SweepChart.h"

#include "measure/FigureText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace zantrel {

namespace {

// The drawing area and the plot inside it, in SVG user units (pixels).
constexpr int kWidth = 900;
constexpr int kHeight = 620;
constexpr double kLeft = 100;
constexpr double kRight = 860;
constexpr double kTop = 90;
constexpr double kBottom = 530;

// The code point of the UTF-8 sequence at `text[i]` and its length, or length 0 where the
// bytes are not well-formed UTF-8 (overlong forms and surrogates included).
std::pair<char32_t, std::size_t> DecodeUtf8(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return {lead, 1};
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t lowest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, lowest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, lowest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, lowest = 0x10000;
    } else {
        return {0, 0};
    }
    if (i + length > text.size())
        return {0, 0};
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return {0, 0};
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < lowest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return {0, 0};
    return {cp, length};
}

bool AllowedInXml(char32_t cp) {
    return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
           (cp >= 0xE000 && cp <= 0xFFFD) || cp >= 0x10000;
}

// Joins the parts by appending; GCC 12 warns falsely on chains of "literal" + std::string.
template <typename... Parts>
std::string Concat(const Parts&... parts) {
    std::string text;
    (text.append(parts), ...);
    return text;
}

std::string Number(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Ticks at a round step (1, 2 or 5 times a power of ten) covering [min, max] with a margin.
struct Axis {
    double low;
    double high;
    double step;
    int decimals;
    bool logarithmic = false;  // ticks at 1, 2 and 5 times each power of ten instead of `step`

    double Position(double value, double from, double to) const {
        if (logarithmic)
            return from + std::log10(value / low) / std::log10(high / low) * (to - from);
        return from + (value - low) / (high - low) * (to - from);
    }

    // The tick values, low to high.
    std::vector<double> Ticks() const {
        std::vector<double> ticks;
        if (!logarithmic) {
            const int count = static_cast<int>(std::lround((high - low) / step));
            for (int i = 0; i <= count; ++i)
                ticks.push_back(low + i * step);
            return ticks;
        }
        for (int power = static_cast<int>(std::floor(std::log10(low)) - 1);
             power <= static_cast<int>(std::ceil(std::log10(high))); ++power) {
            for (const double factor : {1.0, 2.0, 5.0}) {
                const double value = factor * std::pow(10.0, power);
                if (value >= low * (1 - 1e-9) && value <= high * (1 + 1e-9))
                    ticks.push_back(value);
            }
        }
        return ticks;
    }

    // A tick's text: the axis's decimals, or on a log axis as many as the value needs.
    std::string Label(double value) const {
        if (!logarithmic)
            return Number(value, decimals);
        return Number(value, std::max(0, -static_cast<int>(std::floor(std::log10(value) + 1e-9))));
    }
};

// The 1, 2 or 5 times a power of ten at or below `value` (`up`: at or above).
double RoundStep(double value, bool up) {
    const int power = static_cast<int>(std::floor(std::log10(value)));
    double best = up ? 10 * std::pow(10.0, power) : std::pow(10.0, power);
    for (const double factor : {1.0, 2.0, 5.0}) {
        const double step = factor * std::pow(10.0, power);
        if (up && step >= value * (1 - 1e-9))
            return step;
        if (!up && step <= value * (1 + 1e-9))
            best = step;
    }
    return best;
}

Axis NiceAxis(double min, double max) {
    if (!(max > min)) {  // a single point, or all on one value
        const double pad = std::max(std::fabs(min) * 0.05, 0.01);
        min -= pad;
        max += pad;
    }
    // A little room around the points, but never below zero for figures that cannot be.
    const double margin = (max - min) * 0.04;
    min = min >= 0 ? std::max(0.0, min - margin) : min - margin;
    max += margin;
    const double rough = (max - min) / 8;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * magnitude;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * magnitude >= rough) {
            step = factor * magnitude;
            break;
        }
    }
    const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
    return {std::floor(min / step) * step, std::ceil(max / step) * step, step, decimals};
}

struct Point {
    double bitrate;
    double psnr;
    std::string label;  // Zantrel's penalty, on the labelled curve only
};

enum class Shape { Disc, Ring, Square, Triangle, Diamond };

struct Style {
    const char* colour;
    const char* dash;  // an attribute followed by a blank, or empty
    Shape shape;
};

// Each codec's look and its name in the legend; a codec not listed is drawn in gray.
struct CodecLook {
    std::string_view codec;
    std::string_view title;
    std::string_view settings;  // a ladder's knob, whose range follows; or what JPEG 2000 aims at
    Style style;
};

constexpr CodecLook kPeerLooks[] = {
    {"jpeg", "JPEG", "quality", {"#c0392b", "", Shape::Square}},
    {"jpeg2000", "JPEG 2000", "at the .ztl files' rates", {"#2e8b57", "", Shape::Triangle}},
    {"webp", "WebP", "quality", {"#e08a00", "", Shape::Diamond}},
    {"avif", "AVIF", "quantizer", {"#8e44ad", "stroke-dasharray=\"3 3\" ", Shape::Square}},
    {"jxl", "JPEG XL", "distance", {"#17a2b8", "stroke-dasharray=\"3 3\" ", Shape::Triangle}},
};
constexpr Style kEstimateStyle = {"#7b9fd0", "stroke-dasharray=\"6 4\" ", Shape::Ring};
constexpr Style kFileStyle = {"#1f5fa8", "", Shape::Disc};
constexpr Style kOptimisedStyle = {"#222222", "", Shape::Disc};
constexpr Style kOtherStyle = {"#777777", "", Shape::Square};

// One curve: its points in order of rate, and the settings of rows that could not be drawn.
struct Series {
    std::string name;  // the polyline's class
    std::string legend;
    Style style;
    bool zantrel = false;
    bool labelled = false;
    bool labelAbove = false;  // above and to the left of its points, clear of a curve below
    std::vector<Point> points;
    std::string omitted;
};

// Drawn at the figures as the table prints them, so chart and table agree.
double Printed(double figure) {
    return std::strtod(FormatFigure(figure).c_str(), nullptr);
}

// Zantrel's estimate and file first, the optimised mode's file where there is one, then one
// curve per peer codec in the order of the rows.
std::vector<Series> MakeSeries(const std::vector<SweepRow>& rows) {
    std::vector<Series> series(2);
    series[0].name = "zantrel-estimate";
    series[0].legend = "Zantrel, estimated rate";
    series[0].style = kEstimateStyle;
    series[1].name = "zantrel-file";
    series[1].legend = "Zantrel, .ztl file";
    series[1].style = kFileStyle;
    series[1].labelled = true;
    series[0].zantrel = series[1].zantrel = true;
    if (std::ranges::any_of(rows, &SweepRow::IsOptimised)) {
        Series optimised;
        optimised.name = std::string(kOptimisedCodec);
        optimised.legend = "Zantrel optimised, .ztl file";
        optimised.style = kOptimisedStyle;
        optimised.zantrel = optimised.labelled = optimised.labelAbove = true;
        series.push_back(optimised);
    }
    const std::size_t firstPeer = series.size();
    std::vector<std::pair<double, double>> settings(firstPeer);  // each peer's lowest and highest
    for (const SweepRow& row : rows) {
        const std::string setting = FormatSweepPenalty(row.setting);
        const double psnr = Printed(row.psnr);
        const double fileRate = Printed(row.fileBitrate);
        if (row.IsZantrel()) {
            const double estimate = Printed(row.bitrate);
            if (std::isfinite(psnr) && std::isfinite(estimate) && std::isfinite(fileRate)) {
                series[0].points.push_back({estimate, psnr, ""});
                series[1].points.push_back({fileRate, psnr, setting});
            } else {
                series[0].omitted.append(series[0].omitted.empty() ? "" : ", ").append(setting);
            }
            continue;
        }
        if (row.IsOptimised()) {
            Series& optimised = series[firstPeer - 1];
            // A point aimed at a rate is named by it: the penalty found has many digits.
            const std::string label =
                row.targetRate > 0 ? FormatSweepPenalty(row.targetRate) + " bpp" : setting;
            if (std::isfinite(psnr) && std::isfinite(fileRate))
                optimised.points.push_back({fileRate, psnr, label});
            else
                optimised.omitted.append(optimised.omitted.empty() ? "" : ", ").append(setting);
            continue;
        }
        auto s = std::find_if(series.begin() + static_cast<std::ptrdiff_t>(firstPeer), series.end(),
                              [&](const Series& c) { return c.name == row.codec; });
        if (s == series.end()) {
            const auto look =
                std::find_if(std::begin(kPeerLooks), std::end(kPeerLooks),
                             [&](const CodecLook& l) { return l.codec == row.codec; });
            Series peer;
            peer.name = row.codec;
            peer.legend = look == std::end(kPeerLooks) ? row.codec : std::string(look->title);
            peer.style = look == std::end(kPeerLooks) ? kOtherStyle : look->style;
            series.push_back(peer);
            settings.emplace_back(row.setting, row.setting);
            s = series.end() - 1;
        }
        auto& [lowest, highest] = settings[static_cast<std::size_t>(s - series.begin())];
        lowest = std::min(lowest, row.setting);
        highest = std::max(highest, row.setting);
        if (std::isfinite(psnr) && std::isfinite(fileRate)) {
            s->points.push_back({fileRate, psnr, ""});
        } else {
            s->omitted.append(s->omitted.empty() ? "" : ", ").append(setting);
        }
    }
    for (std::size_t k = firstPeer; k < series.size(); ++k) {
        const auto look =
            std::find_if(std::begin(kPeerLooks), std::end(kPeerLooks),
                         [&](const CodecLook& l) { return l.codec == series[k].name; });
        if (look == std::end(kPeerLooks))
            continue;
        series[k].legend.append(", ").append(look->settings);
        if (look->codec != "jpeg2000") {  // a ladder: its range
            series[k]
                .legend.append(" ")
                .append(FormatSweepPenalty(settings[k].first))
                .append(" \u2026 ")
                .append(FormatSweepPenalty(settings[k].second));
        }
    }
    // Each curve joins its points in order of rate, whatever order the settings ran in.
    for (Series& s : series) {
        std::stable_sort(s.points.begin(), s.points.end(),
                         [](const Point& a, const Point& b) { return a.bitrate < b.bitrate; });
    }
    return series;
}

// The lowest and highest of some values.
struct Range {
    bool empty = true;
    double min = 0;
    double max = 0;
    void Add(double value) {
        min = empty ? value : std::min(min, value);
        max = empty ? value : std::max(max, value);
        empty = false;
    }
};

// Zantrel's points set the rate axis, from zero where peers are drawn beside them. A peer's
// curve is cut at the right edge (the table has every point), or its high qualities would
// squeeze Zantrel into a corner; but it keeps its first point where that lies not far beyond.
Axis RateAxis(const std::vector<Series>& series) {
    Range zantrel, all;
    for (const Series& s : series) {
        for (const Point& p : s.points) {
            all.Add(p.bitrate);
            if (s.zantrel)
                zantrel.Add(p.bitrate);
        }
    }
    const bool withPeers = std::ranges::any_of(series, [](const Series& s) { return !s.zantrel; });
    if (zantrel.empty)
        return all.empty ? NiceAxis(0, 1) : NiceAxis(withPeers ? 0.0 : all.min, all.max);
    if (!withPeers)
        return NiceAxis(zantrel.min, zantrel.max);
    double high = zantrel.max * 1.15;
    for (const Series& s : series) {
        if (!s.zantrel && !s.points.empty() && s.points.front().bitrate > high &&
            s.points.front().bitrate < 3 * zantrel.max)
            high = s.points.front().bitrate * 1.1;
    }
    // Rates over more than a decade crowd the low end of a linear axis, where the codecs differ
    // most: there the axis is logarithmic, from the lowest rate shown.
    Range shown;
    for (const Series& s : series) {
        for (const Point& p : s.points) {
            if (p.bitrate > 0 && p.bitrate <= high)
                shown.Add(p.bitrate);
        }
    }
    if (!shown.empty && high > 10 * shown.min) {
        Axis axis{RoundStep(shown.min, false), RoundStep(high, true), 0, 0};
        axis.logarithmic = true;
        return axis;
    }
    return NiceAxis(0, high);
}

std::string Marker(const Style& style, double x, double y) {
    const std::string colour = style.colour;
    const auto polygon = [&](std::initializer_list<std::pair<double, double>> corners) {
        std::string points;
        for (const auto& [dx, dy] : corners)
            points.append(points.empty() ? "" : " ")
                .append(Number(x + dx, 1))
                .append(",")
                .append(Number(y + dy, 1));
        return Concat("<polygon points=\"", points, "\" fill=\"", colour, "\"/>\n");
    };
    switch (style.shape) {
        case Shape::Disc:
            return Concat("<circle cx=\"", Number(x, 1), "\" cy=\"", Number(y, 1),
                          "\" r=\"4\" fill=\"", colour, "\"/>\n");
        case Shape::Ring:
            return Concat("<circle cx=\"", Number(x, 1), "\" cy=\"", Number(y, 1),
                          "\" r=\"3.5\" fill=\"white\" stroke=\"", colour,
                          "\" stroke-width=\"1.5\"/>\n");
        case Shape::Square:
            return polygon({{-3.5, -3.5}, {3.5, -3.5}, {3.5, 3.5}, {-3.5, 3.5}});
        case Shape::Triangle:
            return polygon({{0, -5}, {4.5, 3.5}, {-4.5, 3.5}});
        case Shape::Diamond:
            return polygon({{0, -5}, {5, 0}, {0, 5}, {-5, 0}});
    }
    return {};
}

class Svg {
  public:
    void Line(double x1, double y1, double x2, double y2, const char* style) {
        m_text.append("<line x1=\"")
            .append(Number(x1, 1))
            .append("\" y1=\"")
            .append(Number(y1, 1))
            .append("\" x2=\"")
            .append(Number(x2, 1))
            .append("\" y2=\"")
            .append(Number(y2, 1))
            .append("\" ")
            .append(style)
            .append("/>\n");
    }
    // `attributes` are written as given; `text` is escaped.
    void Text(double x, double y, const std::string& attributes, std::string_view text) {
        m_text.append("<text x=\"")
            .append(Number(x, 1))
            .append("\" y=\"")
            .append(Number(y, 1))
            .append("\" ")
            .append(attributes)
            .append(">")
            .append(XmlText(text))
            .append("</text>\n");
    }
    void Raw(std::string_view markup) { m_text.append(markup); }
    const std::string& Markup() const { return m_text; }

  private:
    std::string m_text;
};

}  // namespace

std::string XmlText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto [cp, length] = DecodeUtf8(text, i);
        if (length == 0 || !AllowedInXml(cp)) {
            out.append("\xEF\xBF\xBD");  // U+FFFD REPLACEMENT CHARACTER
            i += length == 0 ? 1 : length;
            continue;
        }
        switch (cp) {
            case '&':
                out.append("&amp;");
                break;
            case '<':
                out.append("&lt;");
                break;
            case '>':
                out.append("&gt;");
                break;
            case '"':
                out.append("&quot;");
                break;
            case '\'':
                out.append("&apos;");
                break;
            default:
                out.append(text.substr(i, length));
        }
        i += length;
    }
    return out;
}

std::string SweepChartSvg(const std::vector<SweepRow>& rows, std::string_view pictureName,
                          std::int32_t minBlockSize) {
    const std::vector<Series> series = MakeSeries(rows);
    const bool withPeers = std::ranges::any_of(series, [](const Series& s) { return !s.zantrel; });

    const Axis x = RateAxis(series);
    Range psnrs;
    bool cut = false;
    for (const Series& s : series) {
        for (std::size_t i = 0; i < s.points.size(); ++i) {
            const Point& p = s.points[i];
            if (p.bitrate <= x.high) {
                psnrs.Add(p.psnr);
            } else {
                cut = true;
                if (i > 0 && s.points[i - 1].bitrate < x.high) {  // where it leaves the chart
                    const Point& q = s.points[i - 1];
                    psnrs.Add(q.psnr +
                              (p.psnr - q.psnr) * (x.high - q.bitrate) / (p.bitrate - q.bitrate));
                }
            }
        }
    }
    const Axis y = psnrs.empty ? NiceAxis(0, 1) : NiceAxis(psnrs.min, psnrs.max);
    const auto px = [&](double rate) { return x.Position(rate, kLeft, kRight); };
    const auto py = [&](double psnr) { return y.Position(psnr, kBottom, kTop); };

    Svg svg;
    svg.Raw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    const std::string width = std::to_string(kWidth);
    const std::string height = std::to_string(kHeight);
    svg.Raw(Concat("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"", width, "\" height=\"",
                   height, "\" viewBox=\"0 0 ", width, " ", height,
                   "\" font-family=\"DejaVu Sans, Arial, sans-serif\" font-size=\"13\">\n"));
    svg.Raw("<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n");
    svg.Raw(Concat("<clipPath id=\"plot\"><rect x=\"", Number(kLeft, 0), "\" y=\"", Number(kTop, 0),
                   "\" width=\"", Number(kRight - kLeft, 0), "\" height=\"",
                   Number(kBottom - kTop, 0), "\"/></clipPath>\n"));

    std::string title = "PSNR against bit rate: ";
    title.append(pictureName).append(", minimum block size ").append(std::to_string(minBlockSize));
    svg.Text(kWidth / 2.0, 36, "text-anchor=\"middle\" font-size=\"18\" font-weight=\"bold\"",
             title);
    svg.Text(kWidth / 2.0, 60, "text-anchor=\"middle\" fill=\"#555\"",
             withPeers ? "Zantrel and standard codecs on the same gray picture; Zantrel's points "
                         "are labelled with their penalty factor"
                       : "Zantrel reconstruction; each point is labelled with its penalty factor");

    // Grid lines and ticks first, so that the curves are drawn over them.
    for (const double value : x.Ticks()) {
        svg.Line(px(value), kTop, px(value), kBottom, "stroke=\"#e4e4e4\"");
        svg.Line(px(value), kBottom, px(value), kBottom + 6, "stroke=\"black\"");
        svg.Text(px(value), kBottom + 22, "text-anchor=\"middle\"", x.Label(value));
    }
    const int yTicks = static_cast<int>(std::lround((y.high - y.low) / y.step));
    for (int i = 0; i <= yTicks; ++i) {
        const double value = y.low + i * y.step;
        svg.Line(kLeft, py(value), kRight, py(value), "stroke=\"#e4e4e4\"");
        svg.Line(kLeft - 6, py(value), kLeft, py(value), "stroke=\"black\"");
        svg.Text(kLeft - 10, py(value) + 4.5, "text-anchor=\"end\"", Number(value, y.decimals));
    }
    svg.Raw(Concat("<rect x=\"", Number(kLeft, 0), "\" y=\"", Number(kTop, 0), "\" width=\"",
                   Number(kRight - kLeft, 0), "\" height=\"", Number(kBottom - kTop, 0),
                   "\" fill=\"none\" stroke=\"black\"/>\n"));
    svg.Text((kLeft + kRight) / 2, kBottom + 52, "text-anchor=\"middle\" font-size=\"15\"",
             x.logarithmic ? "bit rate (bits per pixel, logarithmic scale)"
                           : "bit rate (bits per pixel)");
    svg.Text(32, (kTop + kBottom) / 2,
             Concat("text-anchor=\"middle\" font-size=\"15\" transform=\"rotate(-90 32 ",
                    Number((kTop + kBottom) / 2, 1), ")\""),
             "PSNR (dB)");

    // The peers under Zantrel, so that Zantrel's labelled points stay readable.
    svg.Raw("<g clip-path=\"url(#plot)\">\n");
    std::vector<const Series*> drawOrder;
    for (const Series& s : series) {
        if (!s.zantrel)
            drawOrder.push_back(&s);
    }
    for (const Series& s : series) {
        if (s.zantrel)
            drawOrder.push_back(&s);
    }
    for (const Series* drawn : drawOrder) {
        const Series& s = *drawn;
        if (s.points.empty())
            continue;
        std::string polyline =
            Concat("<polyline class=\"", s.name, "\" fill=\"none\" stroke=\"", s.style.colour,
                   "\" stroke-width=\"2\" ", s.style.dash, "points=\"");
        for (std::size_t i = 0; i < s.points.size(); ++i) {
            polyline.append(i ? " " : "")
                .append(Number(px(s.points[i].bitrate), 1))
                .append(",")
                .append(Number(py(s.points[i].psnr), 1));
        }
        svg.Raw(polyline.append("\"/>\n"));
        for (const Point& p : s.points)
            svg.Raw(Marker(s.style, px(p.bitrate), py(p.psnr)));
    }
    svg.Raw("</g>\n");
    for (const Series& s : series) {
        if (!s.labelled)
            continue;
        // Below and to the right of its point: the curve rises to the right, so the label
        // sits in the free space under it; or above and to the left, where a curve lies below.
        for (const Point& p : s.points) {
            if (s.labelAbove)
                svg.Text(px(p.bitrate) - 7, py(p.psnr) - 9,
                         "class=\"penalty\" text-anchor=\"end\" fill=\"#333\"", p.label);
            else
                svg.Text(px(p.bitrate) + 7, py(p.psnr) + 16, "class=\"penalty\" fill=\"#333\"",
                         p.label);
        }
    }

    // The legend of the curves drawn, in a corner the curves leave free (below); about 7.5
    // units a character at this font size.
    std::vector<const Series*> listed;
    std::size_t longest = 0;
    for (const Series& s : series) {
        if (!s.points.empty()) {
            listed.push_back(&s);
            longest = std::max(longest, s.legend.size());
        }
    }
    const double legendWidth = 60 + 7.5 * static_cast<double>(longest);
    const double legendHeight = 12 + 20.0 * static_cast<double>(listed.size());
    // Rising curves leave the lower right corner free on a linear rate axis; on a logarithmic
    // one they run straighter across the middle and leave the upper left (low rate, high PSNR).
    const double legendLeft = x.logarithmic ? kLeft + 12 : kRight - 12 - legendWidth;
    const double legendTop = x.logarithmic ? kTop + 12 : kBottom - 12 - legendHeight;
    if (!listed.empty()) {
        svg.Raw(Concat("<rect x=\"", Number(legendLeft, 1), "\" y=\"", Number(legendTop, 1),
                       "\" width=\"", Number(legendWidth, 0), "\" height=\"",
                       Number(legendHeight, 0),
                       "\" fill=\"white\" fill-opacity=\"0.9\" stroke=\"#999\"/>\n"));
    }
    for (std::size_t k = 0; k < listed.size(); ++k) {
        const Series& s = *listed[k];
        const double lineY = legendTop + 16 + 20.0 * static_cast<double>(k);
        svg.Line(
            legendLeft + 10, lineY, legendLeft + 40, lineY,
            Concat("stroke=\"", s.style.colour, "\" stroke-width=\"2\" ", s.style.dash).c_str());
        svg.Raw(Marker(s.style, legendLeft + 25, lineY));
        svg.Text(legendLeft + 50, lineY + 4.5, "class=\"legend\"", s.legend);
    }

    std::string notes;
    if (cut)
        notes = "Curves are cut at the right edge; the table holds every point. ";
    std::string omitted;
    for (const Series& s : series) {
        if (!s.omitted.empty()) {
            omitted.append(omitted.empty() ? "" : "; ")
                .append(s.name == kOptimisedCodec ? "optimised penalty"
                        : s.zantrel               ? "penalty"
                                                  : s.name)
                .append(" ")
                .append(s.omitted);
        }
    }
    if (!notes.empty())
        svg.Text(kLeft, kHeight - (omitted.empty() ? 14 : 34), "fill=\"#555\"", notes);
    if (!omitted.empty()) {
        svg.Text(kLeft, kHeight - 14, "fill=\"#a00\"",
                 Concat("not drawn, PSNR or bit rate not finite: ", omitted));
    }
    svg.Raw("</svg>\n");
    return svg.Markup();
}

}  // namespace zantrel
