#include "import/ImageImport.h"

#include "codec/ZtlFile.h"
#include "import/BmpImport.h"
#include "import/FormatChecks.h"
#include "import/InputFile.h"
#include "import/MessageTranslation.h"
#include "picture/MessageText.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QtGlobal>
#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <utility>

namespace zantrel {

namespace {

constexpr std::uint64_t kMegabyte = 1024 * 1024;
// The most bytes a pixel takes in any form a reader decodes to (four 32-bit floats).
constexpr std::uint64_t kMostDecodedPixelBytes = 16;

// v8 = round(v * 255 / maxval): samples of 16 bits or of another maximum than 255 are scaled
// here, never by the readers, so every format rounds the same way.
std::uint8_t Scale(std::uint32_t value, std::uint32_t maxval) {
    return static_cast<std::uint8_t>((value * 255u + maxval / 2) / maxval);
}

std::uint8_t Scale16(std::uint16_t value) {
    return Scale(value, 65535);
}

ImportError Refused(ImportRefusal refusal) {
    ImportError error;
    error.refusal = refusal;
    return error;
}

ImportError SizeRefusal(ImportRefusal refusal, long long width, long long height) {
    ImportError error = Refused(refusal);
    error.width = width;
    error.height = height;
    if (refusal == ImportRefusal::TooLarge)
        error.neededBytes = PipelineBytesFor(static_cast<int>(width), static_cast<int>(height));
    return error;
}

// --- PNM at every depth is read here: the readers allocate the whole picture before they
// find the data missing, scale 8-bit samples of another maximum by truncation and let a
// sample above the maximum wrap.

class PnmScanner {
  public:
    explicit PnmScanner(QIODevice& device) : m_device(device) {}

    // The next decimal number, skipping white space and comments; false at the end of the
    // data or on anything else. The one character that ends it is taken too; where that is a
    // comment's "#", the whole comment is, up to and with its line end, as Netpbm reads it: in
    // a binary file the samples start after the comment that follows the header's last number.
    bool Number(std::uint32_t& value) {
        char c = 0;
        if (!SkipSpace(c) || c < '0' || c > '9')
            return false;
        std::uint64_t number = 0;
        do {
            number = number * 10 + static_cast<std::uint64_t>(c - '0');
            if (number > 0xFFFFFFFFu)
                return false;
            if (!m_device.getChar(&c))
                break;  // the end of the data ends the number
        } while (c >= '0' && c <= '9');
        if (c == '#')
            SkipComment();  // one that runs to the end of the data still ends the number
        value = static_cast<std::uint32_t>(number);
        return true;
    }

    // One digit of a text bitmap, where digits need no space between them.
    bool Bit(std::uint32_t& value) {
        char c = 0;
        if (!SkipSpace(c) || (c != '0' && c != '1'))
            return false;
        value = c == '1' ? 1 : 0;
        return true;
    }

  private:
    // Takes the rest of a comment whose "#" was taken, up to and with its line end; false when
    // the data end first.
    bool SkipComment() {
        char c = '#';
        while (c != '\n' && c != '\r') {
            if (!m_device.getChar(&c))
                return false;
        }
        return true;
    }

    // Leaves `c` at the first character that is neither white space nor in a comment.
    bool SkipSpace(char& c) {
        for (;;) {
            if (!m_device.getChar(&c))
                return false;
            if (c == '#') {
                if (!SkipComment())
                    return false;
            } else if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\v' && c != '\f') {
                return true;
            }
        }
    }

    QIODevice& m_device;
};

struct PnmHeader {
    char kind = 0;  // the digit after 'P': 1, 4 bitmaps, 2, 5 gray, 3, 6 colour
    bool binary = false;
    int channels = 1;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t maxval = 1;  // bitmaps: 1, and 1 is black
};

bool IsBitmap(const PnmHeader& header) {
    return header.kind == '1' || header.kind == '4';
}

// True when the data start with a complete PNM header; leaves the device just after it
// (binary data start after one white-space byte).
bool ReadPnmHeader(QIODevice& device, PnmHeader& header) {
    const QByteArray magic = device.peek(2);
    if (magic.size() != 2 || magic[0] != 'P' || magic[1] < '1' || magic[1] > '6')
        return false;
    header = {};
    header.kind = magic[1];
    header.binary = header.kind >= '4';
    header.channels = header.kind == '3' || header.kind == '6' ? 3 : 1;
    device.read(2);
    PnmScanner scanner(device);
    return scanner.Number(header.width) && scanner.Number(header.height) &&
           (IsBitmap(header) || scanner.Number(header.maxval));
}

// The fewest bytes the samples of a valid file take: binary samples their size, text samples
// a digit each and white space between them (bitmap digits need none).
std::uint64_t LeastPnmDataBytes(const PnmHeader& header) {
    const std::uint64_t samples =
        std::uint64_t{header.width} * header.height * static_cast<std::uint64_t>(header.channels);
    switch (header.kind) {
        case '1':
            return samples;
        case '4':
            return (std::uint64_t{header.width} + 7) / 8 * header.height;
        case '2':
        case '3':
            return 2 * samples - 1;
        default:
            return header.maxval > 255 ? 2 * samples : samples;
    }
}

ImportResult ReadPnm(QIODevice& device, const PnmHeader& header, std::uint64_t available) {
    if (header.maxval == 0 || header.maxval > 65535)
        return Refused(ImportRefusal::Damaged);
    if (const ImportRefusal refusal = CheckPictureSize(header.width, header.height, available);
        refusal != ImportRefusal::None)
        return SizeRefusal(refusal, header.width, header.height);
    const qint64 left = device.size() - device.pos();
    if (left < 0 || static_cast<std::uint64_t>(left) < LeastPnmDataBytes(header))
        return Refused(ImportRefusal::Damaged);

    const int width = static_cast<int>(header.width);
    const int height = static_cast<int>(header.height);
    const std::size_t rowSamples = static_cast<std::size_t>(width) * header.channels;
    const std::size_t sampleBytes = header.maxval > 255 ? 2 : 1;
    const std::size_t rowBytes =
        header.kind == '4' ? (static_cast<std::size_t>(width) + 7) / 8 : rowSamples * sampleBytes;
    ColorPicture picture(width, height);
    QByteArray rowData;
    std::vector<std::uint32_t> row(rowSamples);
    PnmScanner scanner(device);
    for (int y = 0; y < height; ++y) {  // top row first in the file
        if (header.binary) {
            rowData = device.read(static_cast<qint64>(rowBytes));
            if (static_cast<std::size_t>(rowData.size()) != rowBytes)
                return Refused(ImportRefusal::Damaged);
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(rowData.constData());
            for (std::size_t i = 0; i < rowSamples; ++i) {
                row[i] = header.kind == '4' ? bytes[i / 8] >> (7 - i % 8) & 1u
                         : sampleBytes == 2 ? std::uint32_t{bytes[2 * i]} << 8 | bytes[2 * i + 1]
                                            : bytes[i];
            }
        } else {
            for (std::uint32_t& sample : row) {
                if (!(header.kind == '1' ? scanner.Bit(sample) : scanner.Number(sample)))
                    return Refused(ImportRefusal::Damaged);
            }
        }
        std::uint8_t* pixel = picture.Pixel(height - 1 - y, 0);
        for (int x = 0; x < width; ++x, pixel += 3) {
            std::uint32_t* samples = &row[static_cast<std::size_t>(x) * header.channels];
            for (int c = 0; c < header.channels; ++c) {
                if (samples[c] > header.maxval)
                    return Refused(ImportRefusal::Damaged);
                if (IsBitmap(header))
                    samples[c] = 1 - samples[c];
            }
            const int last = header.channels - 1;  // gray: all three from the one sample
            pixel[0] = Scale(samples[last], header.maxval);
            pixel[1] = Scale(samples[last == 0 ? 0 : 1], header.maxval);
            pixel[2] = Scale(samples[0], header.maxval);
        }
    }
    return picture;
}

// --- Decoded pictures into the engine's form: bottom row first, blue, green, red.

bool IsWide(const QImage& image) {
    const QPixelFormat format = image.pixelFormat();
    return format.redSize() > 8 || format.typeInterpretation() == QPixelFormat::FloatingPoint;
}

// Alpha is ignored: the colour channels are taken as the reader hands them, without
// compositing and without undoing any premultiplication the file itself stores.
QImage InTakenForm(const QImage& image) {
    switch (image.format()) {
        case QImage::Format_Grayscale8:
        case QImage::Format_Grayscale16:
        case QImage::Format_Indexed8:
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
        case QImage::Format_ARGB32_Premultiplied:
        case QImage::Format_RGBX64:
        case QImage::Format_RGBA64:
        case QImage::Format_RGBA64_Premultiplied:
            return image;
        case QImage::Format_Mono:
        case QImage::Format_MonoLSB:
            return image.convertToFormat(QImage::Format_Indexed8);
        default:
            break;
    }
    const bool premultiplied = image.pixelFormat().premultiplied() == QPixelFormat::Premultiplied;
    if (IsWide(image)) {
        return image.convertToFormat(premultiplied             ? QImage::Format_RGBA64_Premultiplied
                                     : image.hasAlphaChannel() ? QImage::Format_RGBA64
                                                               : QImage::Format_RGBX64);
    }
    return image.convertToFormat(premultiplied             ? QImage::Format_ARGB32_Premultiplied
                                 : image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                           : QImage::Format_RGB32);
}

void SetPixel(std::uint8_t* pixel, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    pixel[0] = blue;
    pixel[1] = green;
    pixel[2] = red;
}

// False when the conversion ran out of memory.
bool CopyPicture(const QImage& decoded, ColorPicture& picture) {
    const QImage image = InTakenForm(decoded);
    if (image.isNull())
        return false;
    const int width = image.width();
    const int height = image.height();
    const QList<QRgb> table = image.colorTable();
    const QImage::Format format = image.format();
    for (int y = 0; y < height; ++y) {
        const uchar* line = image.constScanLine(y);
        std::uint8_t* pixel = picture.Pixel(height - 1 - y, 0);
        for (int x = 0; x < width; ++x, pixel += 3) {
            switch (format) {
                case QImage::Format_Grayscale8:
                    SetPixel(pixel, line[x], line[x], line[x]);
                    break;
                case QImage::Format_Grayscale16: {
                    const std::uint8_t g = Scale16(reinterpret_cast<const quint16*>(line)[x]);
                    SetPixel(pixel, g, g, g);
                    break;
                }
                case QImage::Format_Indexed8: {
                    const QRgb rgb = line[x] < table.size() ? table[line[x]] : 0;
                    SetPixel(pixel, qRed(rgb), qGreen(rgb), qBlue(rgb));
                    break;
                }
                case QImage::Format_RGBX64:
                case QImage::Format_RGBA64:
                case QImage::Format_RGBA64_Premultiplied: {
                    const QRgba64 rgb = reinterpret_cast<const QRgba64*>(line)[x];
                    SetPixel(pixel, Scale16(rgb.red()), Scale16(rgb.green()), Scale16(rgb.blue()));
                    break;
                }
                default: {
                    const QRgb rgb = reinterpret_cast<const QRgb*>(line)[x];
                    SetPixel(pixel, qRed(rgb), qGreen(rgb), qBlue(rgb));
                    break;
                }
            }
        }
    }
    return true;
}

ImportResult Decode(QIODevice& device, std::uint64_t available);

// A JPEG or PNG picture stored inside a BMP file goes through its own reader.
ImportResult ReadBmp(QIODevice& device, std::uint64_t available) {
    const BmpHeaders headers = ReadBmpHeaders(device);
    if (headers.verdict == BmpHeaderVerdict::Unsupported) {
        ImportError error = Refused(ImportRefusal::Unsupported);
        error.variant = headers.variant;
        return error;
    }
    if (headers.verdict != BmpHeaderVerdict::Readable)
        return Refused(ImportRefusal::Damaged);
    if (const ImportRefusal refusal = CheckPictureSize(headers.width, headers.height, available);
        refusal != ImportRefusal::None)
        return SizeRefusal(refusal, headers.width, headers.height);
    if (headers.coding == BmpCoding::Jpeg || headers.coding == BmpCoding::Png) {
        QByteArray payload = ReadBmpPayload(device, headers);
        if (headers.coding == BmpCoding::Png ? !IsPng(payload) : !payload.startsWith("\xFF\xD8"))
            return Refused(ImportRefusal::Damaged);
        QBuffer inner(&payload);
        inner.open(QIODevice::ReadOnly);
        ImportResult picture = Decode(inner, available);
        if (picture && (picture->width != headers.width || picture->height != headers.height))
            return Refused(ImportRefusal::Damaged);
        return picture;
    }
    std::optional<ColorPicture> picture = ReadBmpPixels(device, headers);
    if (!picture)
        return Refused(ImportRefusal::Damaged);
    return std::move(*picture);
}

ImportResult Decode(QIODevice& device, std::uint64_t available) {
    if (PnmHeader header; ReadPnmHeader(device, header))
        return ReadPnm(device, header, available);
    if (!device.seek(0))
        return Refused(ImportRefusal::Damaged);
    if (IsBmp(device.peek(2)))
        return ReadBmp(device, available);
    // The reader draws the colour a gray or colour PNG names transparent as black; alpha is
    // ignored, so the stored values are read without that chunk.
    QByteArray opaque;
    QBuffer opaqueDevice(&opaque);
    QIODevice* source = &device;
    if (IsPng(device.peek(8))) {
        const QByteArray data = device.readAll();
        if (!PngChunksFit(data) || !device.seek(0))
            return Refused(ImportRefusal::Damaged);
        opaque = WithoutTransparentColour(data);
        if (!opaque.isEmpty() && opaqueDevice.open(QIODevice::ReadOnly))
            source = &opaqueDevice;
    }

    // The JPEG and GIF readers hand back a picture cut short as whole, after allocating all of
    // it: their structure is walked first.
    if (const QByteArray start = device.peek(4);
        (start.startsWith("\xFF\xD8") && !(JpegReachesEnd(device.readAll()) && device.seek(0))) ||
        (start.startsWith("GIF8") && !(GifFirstFrameComplete(device.readAll()) && device.seek(0))))
        return Refused(ImportRefusal::Damaged);

    QImageReader reader(source);
    reader.setAutoTransform(false);  // the pixels as stored, as every other program shows them
    if (!reader.canRead()) {
        if (!LooksLikeTga(device.peek(18)))
            return Refused(ImportRefusal::UnknownFormat);
        ImportError error = Refused(ImportRefusal::UnsupportedFormat);
        error.variant = "TGA";
        return error;
    }
    const QSize declared = reader.size();
    std::uint64_t decodedBytes = kMostDecodedPixelBytes * kMaxPictureSide * kMaxPictureSide;
    if (declared.isValid()) {
        if (const ImportRefusal refusal =
                CheckPictureSize(declared.width(), declared.height(), available);
            refusal != ImportRefusal::None)
            return SizeRefusal(refusal, declared.width(), declared.height());
        decodedBytes = kMostDecodedPixelBytes * static_cast<std::uint64_t>(declared.width()) *
                       static_cast<std::uint64_t>(declared.height());
    } else if (available != 0) {
        // A reader that cannot tell the size in advance may decode as many pixels as the
        // pipeline would have room for.
        decodedBytes =
            std::min(decodedBytes, available / PipelineBytesFor(1, 1) * kMostDecodedPixelBytes);
    }
    // The readers' own limit is lower than the pictures the engine takes; the size has passed
    // the checks above, so the limit only has to let the decoded picture through.
    reader.setAllocationLimit(static_cast<int>(decodedBytes / kMegabyte + 1));

    QImage image;
    if (!reader.read(&image) || image.isNull() || reader.error() != QImageReader::UnknownError ||
        (declared.isValid() && image.size() != declared))
        return Refused(ImportRefusal::Damaged);
    if (const ImportRefusal refusal = CheckPictureSize(image.width(), image.height(), available);
        refusal != ImportRefusal::None)
        return SizeRefusal(refusal, image.width(), image.height());
    ColorPicture picture(image.width(), image.height());
    if (!CopyPicture(image, picture))
        return SizeRefusal(ImportRefusal::TooLarge, image.width(), image.height());
    return picture;
}

ImportError ReadFailure(int readError) {
    ImportError error;
    error.readError = readError;
    return error;
}

// --- The readers' own warnings (libpng's and libtiff's texts among them) reach the toolkit's
// message handler on the reading thread. During a read they are held for that thread instead
// of printed between the front end's messages; every other message goes where it went before.

std::atomic<QtMessageHandler> g_previousHandler{nullptr};
std::once_flag g_handlerInstalled;
thread_local std::vector<std::string>* t_held = nullptr;  // the read running on this thread
thread_local std::vector<std::string> t_lastReadWarnings;

void HoldReaderMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (t_held != nullptr && type != QtFatalMsg) {
        std::string text = message.toStdString();
        if (std::find(t_held->begin(), t_held->end(), text) == t_held->end())
            t_held->push_back(std::move(text));
        return;
    }
    if (const QtMessageHandler previous = g_previousHandler.load())
        previous(type, context, message);
    else  // what the toolkit's own handler prints
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

void InstallReaderMessageHandler() {
    std::call_once(g_handlerInstalled,
                   [] { g_previousHandler.store(qInstallMessageHandler(HoldReaderMessages)); });
}

// Holds the reader's messages for as long as it lives, for the last read's warnings.
class HeldReaderMessages {
  public:
    HeldReaderMessages() {
        InstallReaderMessageHandler();
        t_lastReadWarnings.clear();
        t_held = &t_lastReadWarnings;
    }
    ~HeldReaderMessages() { t_held = nullptr; }
    HeldReaderMessages(const HeldReaderMessages&) = delete;
    HeldReaderMessages& operator=(const HeldReaderMessages&) = delete;
};

}  // namespace

ImportRefusal CheckPictureSize(long long width, long long height, std::uint64_t availableBytes,
                               std::uint64_t maxPixels) {
    if (!IsValidPictureSize(width, height))
        return ImportRefusal::BadSize;
    if (maxPixels != 0 &&
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > maxPixels)
        return ImportRefusal::TooManyPixels;
    if (availableBytes != 0 &&
        PipelineBytesFor(static_cast<int>(width), static_cast<int>(height)) > availableBytes)
        return ImportRefusal::TooLarge;
    return ImportRefusal::None;
}

std::string TooLargeMessage(std::string_view fileName, long long width, long long height,
                            std::uint64_t neededBytes) {
    return TranslateMessage(
        ZANTREL_MESSAGE("Zantrel",
                        "无法读取 %1：图像为 %2×%3，需要约 %4 MB 内存，超出了可用内存。"),
        {std::string(fileName), std::to_string(width), std::to_string(height),
         std::to_string((neededBytes + kMegabyte - 1) / kMegabyte)});
}

std::optional<DeclaredSize> ReadDeclaredSize(const std::string& path) {
    const InputFile file(path);
    if (file.Error() != 0)
        return std::nullopt;
    QFile device;
    if (!device.open(file.Descriptor(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return std::nullopt;
    const QByteArray start = device.peek(static_cast<qint64>(kZtlHeaderBytes));
    ZtlSettings settings;
    const auto* startBytes = reinterpret_cast<const std::uint8_t*>(start.constData());
    const ZtlError ztl =
        ReadZtlHeader({startBytes, static_cast<std::size_t>(start.size())}, settings);
    if (ztl == ZtlError::None)
        return DeclaredSize{settings.width, settings.height, true};
    if (ztl != ZtlError::NotZtl)
        return std::nullopt;  // the reader refuses it with its own reason
    if (PnmHeader header; ReadPnmHeader(device, header))
        return DeclaredSize{header.width, header.height, false};
    if (!device.seek(0))
        return std::nullopt;
    // A BMP by the import's own header rules, which the toolkit's reader may not share.
    if (IsBmp(device.peek(2))) {
        const BmpHeaders headers = ReadBmpHeaders(device);
        if (headers.verdict != BmpHeaderVerdict::Readable)
            return std::nullopt;
        return DeclaredSize{headers.width, headers.height, false};
    }
    QImageReader reader(&device);
    reader.setAutoTransform(false);
    const QSize size = reader.canRead() ? reader.size() : QSize();
    if (!size.isValid())
        return std::nullopt;
    return DeclaredSize{size.width(), size.height(), false};
}

std::string TooManyPixelsMessage(std::string_view fileName, long long width, long long height,
                                 std::uint64_t maxPixels) {
    const std::uint64_t needed =
        IsValidPictureSize(width, height)
            ? PipelineBytesFor(static_cast<int>(width), static_cast<int>(height))
            : 0;
    return TranslateMessage(
        ZANTREL_MESSAGE("Zantrel",
                        "%1 声明的图像为 %2×%3，超过了 %4 像素的上限；读取它约需 %5 MB 内存。"),
        {std::string(fileName), std::to_string(width), std::to_string(height),
         std::to_string(maxPixels), std::to_string((needed + kMegabyte - 1) / kMegabyte)});
}

double PredictedRunSeconds(long long width, long long height) {
    // The slowest measured runs, on two cores: a noise picture at penalty 0 and minimum block
    // 1 (4.1 us a pixel at 4096 x 4096), a smooth one at a high penalty (3.2 us).
    constexpr double kSecondsPerPixel = 4.2e-6;
    return 0.05 + kSecondsPerPixel * static_cast<double>(width) * static_cast<double>(height);
}

std::string ImportRefusalMessage(const ImportError& error, std::string_view fileName) {
    const std::string name = std::filesystem::path(fileName).filename().string();
    switch (error.refusal) {
        case ImportRefusal::None:
            return {};
        case ImportRefusal::UnknownFormat:
            return TranslateMessage(
                ZANTREL_MESSAGE("Zantrel", "无法读取 %1：不是可识别的图像格式。"), {name});
        case ImportRefusal::Damaged:
            return TranslateMessage(
                ZANTREL_MESSAGE("Zantrel", "无法读取 %1：图像文件不完整或已损坏!"), {name});
        case ImportRefusal::BadSize:
            return TranslateMessage(
                ZANTREL_MESSAGE("Zantrel", "无法读取 %1：图像为 %2×%3，宽和高须在 1 到 %4 之间。"),
                {name, std::to_string(error.width), std::to_string(error.height),
                 std::to_string(kMaxPictureSide)});
        case ImportRefusal::TooLarge:
            return TooLargeMessage(name, error.width, error.height, error.neededBytes);
        case ImportRefusal::TooManyPixels:
            return TooManyPixelsMessage(name, error.width, error.height, error.maxPixels);
        case ImportRefusal::Unsupported:
            return TranslateMessage(
                ZANTREL_MESSAGE("Zantrel", "无法读取 %1：不支持这种 BMP 变体（%2）。"),
                {name, error.variant != nullptr ? TranslateMessage(error.variant) : ""});
        case ImportRefusal::UnsupportedFormat:
            return TranslateMessage(
                ZANTREL_MESSAGE("Zantrel",
                                "无法读取 %1：导入不读取 %2 格式（它读取 PNG、JPEG、TIFF、PGM/PPM、"
                                "WebP、GIF 和 BMP）。"),
                {name, error.variant != nullptr ? error.variant : ""});
    }
    return {};
}

ImportResult ReadPictureFile(const std::string& path) {
    const HeldReaderMessages held;
    const InputFile file(path);
    if (file.Error() != 0)
        return ReadFailure(file.Error());
    QFile device;
    if (!device.open(file.Descriptor(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return ReadFailure(EIO);
    return Decode(device, AvailableMemoryBytes());
}

ImportResult ReadPictureBytes(std::span<const std::uint8_t> bytes, std::uint64_t availableBytes) {
    const HeldReaderMessages held;
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer device(&data);
    device.open(QIODevice::ReadOnly);
    return Decode(device, availableBytes);
}

void SilenceReaderWarnings() {
    InstallReaderMessageHandler();
}

std::vector<std::string> ReaderWarnings() {
    return t_lastReadWarnings;
}

std::string ReaderWarningLines(std::string_view fileName) {
    const std::string name = std::filesystem::path(fileName).filename().string();
    std::string lines;
    for (const std::string& warning : t_lastReadWarnings)
        lines.append(name).append(": ").append(warning).append("\n");
    return lines;
}

}  // namespace zantrel
