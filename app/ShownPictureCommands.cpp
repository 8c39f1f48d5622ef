#include "app/ShownPictureCommands.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <cstring>

#include "app/MainFrame.h"
#include "app/ZantrelApp.h"
#include "app/ZantrelDoc.h"
#include "platform/PictureFiles.h"
#include "view/DialogHost.h"
#include "view/DisplayPicture.h"
#include "view/ZantrelView.h"

namespace zantrel {

namespace {

QImage Shown(ZantrelApp& app) {
    return ShownPicture(app.Doc().Pictures(), app.Frame().View().Mode());
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

void OnSaveShownPicture(ZantrelApp& app) {
    const QImage shown = Shown(app);
    if (shown.isNull())
        return;
    FileDialogRequest request;
    request.forSaving = true;
    request.filter =
        QCoreApplication::translate("ShownPictureCommands", "BMP 图像(*.bmp);;PNG 图像(*.png)");
    request.defaultSuffix = QStringLiteral("bmp");
    const std::optional<QString> path = app.Doc().ChooseSaveTarget(request);
    if (!path)
        return;
    const std::string file = QFile::encodeName(*path).toStdString();
    const bool png =
        QFileInfo(*path).suffix().compare(QStringLiteral("png"), Qt::CaseInsensitive) == 0;
    if (shown.format() == QImage::Format_Grayscale8) {
        const GrayPicture gray = GrayOf(shown);
        if (png)
            SaveGrayPngPicture(file, gray);
        else
            SaveGrayBmpPicture(file, gray, nullptr);
    } else {
        const ColorPicture color = ColorOf(shown);
        if (png)
            SavePngPicture(file, color);
        else
            SaveBmpPicture(file, color, nullptr);
    }
}

void OnCopyShownPicture(ZantrelApp& app) {
    const QImage shown = Shown(app);
    if (!shown.isNull())
        QGuiApplication::clipboard()->setImage(shown);
}

}  // namespace zantrel
