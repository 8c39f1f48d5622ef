#include "app/ShownPictureCommands.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <cstring>

#include "app/FileCommands.h"
#include "app/MainFrame.h"
#include "app/ZantrelDoc.h"
#include "platform/PictureFiles.h"
#include "view/DialogHost.h"
#include "view/DisplayPicture.h"
#include "view/ZantrelView.h"

namespace zantrel {

namespace {

QImage Shown(const MainFrame& frame) {
    return ShownPicture(frame.Doc().Pictures(), frame.View().Mode());
}

// The image keeps the top row first; the pictures keep the bottom row first.
GrayPicture GrayOf(const QImage& image) {
    GrayPicture picture(image.width(), image.height());
    for (int r = 0; r < picture.height; ++r) {
        std::memcpy(&picture.samples[picture.Index(r, 0)],
                    image.constScanLine(picture.height - 1 - r),
                    static_cast<std::size_t>(picture.width));
    }
    return picture;
}

ColorPicture ColorOf(const QImage& image) {
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    ColorPicture picture(bgr.width(), bgr.height());
    for (int r = 0; r < picture.height; ++r) {
        std::memcpy(picture.Pixel(r, 0), bgr.constScanLine(picture.height - 1 - r),
                    static_cast<std::size_t>(picture.width) * 3);
    }
    return picture;
}

}  // namespace

void OnSaveShownPicture(MainFrame& frame) {
    const QImage shown = Shown(frame);
    if (shown.isNull())
        return;
    FileDialogRequest request;
    request.forSaving = true;
    request.filter =
        QCoreApplication::translate("ShownPictureCommands", "BMP 图像(*.bmp);;PNG 图像(*.png)");
    request.defaultSuffix = QStringLiteral("bmp");
    const std::optional<QString> path = ChooseSaveTarget(frame.Host(), request);
    if (!path)
        return;
    const std::string file = QFile::encodeName(*path).toStdString();
    const bool png =
        QFileInfo(*path).suffix().compare(QStringLiteral("png"), Qt::CaseInsensitive) == 0;
    std::optional<FileError> error;
    if (shown.format() == QImage::Format_Grayscale8) {
        const GrayPicture gray = GrayOf(shown);
        error = png ? SaveGrayPngPicture(file, gray) : SaveGrayBmpPicture(file, gray, nullptr);
    } else {
        const ColorPicture color = ColorOf(shown);
        error = png ? SavePngPicture(file, color) : SaveBmpPicture(file, color, nullptr);
    }
    if (error)
        ShowFileError(CurrentShell(), *error);
    else
        ShowSavedStatus(*path);
}

void OnCopyShownPicture(MainFrame& frame) {
    const QImage shown = Shown(frame);
    if (!shown.isNull())
        QGuiApplication::clipboard()->setImage(shown);
}

}  // namespace zantrel
