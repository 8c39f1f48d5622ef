#include "cli/SweepChart.h"

#include "measure/FigureText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

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

    double Position(double value, double from, double to) const {
        return from + (value - low) / (high - low) * (to - from);
    }
};

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
    std::string label;
};

class CSvg {
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
    std::vector<Point> points;
    std::string omitted;
    for (const SweepRow& row : rows) {
        // Drawn at the figures as the table prints them, so chart and table agree.
        const double psnr = std::strtod(FormatFigure(row.psnr).c_str(), nullptr);
        const double bitrate = std::strtod(FormatFigure(row.bitrate).c_str(), nullptr);
        if (std::isfinite(psnr) && std::isfinite(bitrate)) {
            points.push_back({bitrate, psnr, FormatSweepPenalty(row.penalty)});
        } else {
            omitted.append(omitted.empty() ? "" : ", ").append(FormatSweepPenalty(row.penalty));
        }
    }
    // The curve joins the points in order of rate, whatever order the penalties ran in.
    std::stable_sort(points.begin(), points.end(),
                     [](const Point& a, const Point& b) { return a.bitrate < b.bitrate; });

    double minRate = 0, maxRate = 1, minPsnr = 0, maxPsnr = 1;
    if (!points.empty()) {
        minRate = maxRate = points.front().bitrate;
        minPsnr = maxPsnr = points.front().psnr;
        for (const Point& p : points) {
            minRate = std::min(minRate, p.bitrate);
            maxRate = std::max(maxRate, p.bitrate);
            minPsnr = std::min(minPsnr, p.psnr);
            maxPsnr = std::max(maxPsnr, p.psnr);
        }
    }
    const Axis x = NiceAxis(minRate, maxRate);
    const Axis y = NiceAxis(minPsnr, maxPsnr);
    const auto px = [&](double rate) { return x.Position(rate, kLeft, kRight); };
    const auto py = [&](double psnr) { return y.Position(psnr, kBottom, kTop); };

    CSvg svg;
    svg.Raw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    const std::string width = std::to_string(kWidth);
    const std::string height = std::to_string(kHeight);
    svg.Raw(Concat("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"", width, "\" height=\"",
                   height, "\" viewBox=\"0 0 ", width, " ", height,
                   "\" font-family=\"DejaVu Sans, Arial, sans-serif\" font-size=\"13\">\n"));
    svg.Raw("<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n");

    std::string title = "PSNR against bit rate: ";
    title.append(pictureName).append(", minimum block size ").append(std::to_string(minBlockSize));
    svg.Text(kWidth / 2.0, 36, "text-anchor=\"middle\" font-size=\"18\" font-weight=\"bold\"",
             title);
    svg.Text(kWidth / 2.0, 60, "text-anchor=\"middle\" fill=\"#555\"",
             "Zantrel reconstruction; each point is labelled with its penalty factor");

    // Grid lines and ticks first, so that the curve is drawn over them.
    const int xTicks = static_cast<int>(std::lround((x.high - x.low) / x.step));
    for (int i = 0; i <= xTicks; ++i) {
        const double value = x.low + i * x.step;
        svg.Line(px(value), kTop, px(value), kBottom, "stroke=\"#e4e4e4\"");
        svg.Line(px(value), kBottom, px(value), kBottom + 6, "stroke=\"black\"");
        svg.Text(px(value), kBottom + 22, "text-anchor=\"middle\"", Number(value, x.decimals));
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
             "bit rate (bits per pixel)");
    svg.Text(32, (kTop + kBottom) / 2,
             Concat("text-anchor=\"middle\" font-size=\"15\" transform=\"rotate(-90 32 ",
                    Number((kTop + kBottom) / 2, 1), ")\""),
             "PSNR (dB)");

    if (!points.empty()) {
        std::string polyline =
            "<polyline fill=\"none\" stroke=\"#1f5fa8\" stroke-width=\"2\" "
            "points=\"";
        for (std::size_t i = 0; i < points.size(); ++i) {
            polyline.append(i ? " " : "")
                .append(Number(px(points[i].bitrate), 1))
                .append(",")
                .append(Number(py(points[i].psnr), 1));
        }
        svg.Raw(polyline.append("\"/>\n"));
    }
    for (const Point& p : points) {
        svg.Raw(Concat("<circle cx=\"", Number(px(p.bitrate), 1), "\" cy=\"", Number(py(p.psnr), 1),
                       "\" r=\"4\" fill=\"#1f5fa8\"/>\n"));
        // Below and to the right of its point: the curve rises to the right, so the label
        // sits in the free space under it.
        svg.Text(px(p.bitrate) + 7, py(p.psnr) + 16, "class=\"penalty\" fill=\"#333\"", p.label);
    }
    if (!omitted.empty()) {
        svg.Text(kLeft, kHeight - 14, "fill=\"#a00\"",
                 Concat("not drawn, PSNR or bit rate not finite: penalty ", omitted));
    }
    svg.Raw("</svg>\n");
    return svg.Markup();
}
