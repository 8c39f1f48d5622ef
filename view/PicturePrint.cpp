#include "view/PicturePrint.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "platform/Shell.h"
#include "view/AppTexts.h"
#include "view/DialogHost.h"

namespace zantrel {

namespace {

// The largest rectangle of the picture's proportions that is centred on `page` and lies
// within its `printable` area.
QRectF PrintedRect(QSize picture, const QRect& page, const QRect& printable) {
    const QPointF centre(page.x() + page.width() / 2.0, page.y() + page.height() / 2.0);
    const qreal halfWidth =
        std::min(centre.x() - printable.x(), printable.x() + printable.width() - centre.x());
    const qreal halfHeight =
        std::min(centre.y() - printable.y(), printable.y() + printable.height() - centre.y());
    const qreal scale =
        std::min(2 * halfWidth / picture.width(), 2 * halfHeight / picture.height());
    const QSizeF size(picture.width() * scale, picture.height() * scale);
    return {centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(),
            size.height()};
}

}  // namespace

void PrintPicture(DialogHost& host, const QImage& picture, const QString& path) {
    // The printer's own resolution: the picture is scaled to the page, not drawn at the size
    // of screen pixels.
    QPrinter printer(QPrinter::HighResolution);
    QString pdfName;
    if (!path.isEmpty()) {
        const QFileInfo document(path);
        printer.setDocName(document.fileName());
        pdfName = document.dir().filePath(document.completeBaseName() + QStringLiteral(".pdf"));
    }
    if (!host.SetUpPrinter(printer, pdfName))
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        CurrentShell().ShowMessage(AppText(kCommandFailedText).toStdString(), kAppName,
                                   MessageIcon::Exclamation);
        return;
    }
    if (picture.isNull())
        return;
    const int dpi = printer.resolution();
    const QPageLayout layout = printer.pageLayout();
    const QRect printable = layout.paintRectPixels(dpi);
    // Unsmoothed and without the lossy compression a PDF would otherwise get, so every pixel,
    // a cut line's included, stays a sharp square of its own colour. The painter's origin is
    // the top-left corner of the printable area.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.drawImage(PrintedRect(picture.size(), layout.fullRectPixels(dpi), printable)
                          .translated(-printable.topLeft()),
                      picture);
    // A file is written only when the page ends: then it can be named.
    if (!painter.end() || printer.outputFileName().isEmpty())
        return;
    if (StatusDisplay* bar = CurrentShell().StatusBar())
        bar->SetPaneText(QCoreApplication::translate("PicturePrint", "已打印到 %1")
                             .arg(QDir::toNativeSeparators(printer.outputFileName()))
                             .toStdString());
}

}  // namespace zantrel
