#include "app/PixelClaim.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cmath>

#include "import/ImageImport.h"
#include "picture/Picture.h"
#include "platform/Shell.h"
#include "view/DialogHost.h"

namespace zantrel {

PixelClaimAnswer AskAboutPixelClaim(DialogHost& host, const QString& path, long long width,
                                    long long height, std::uint64_t availableBytes) {
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) <= kDefaultMaxPixels)
        return PixelClaimAnswer::Read;
    const std::string fileName = QFileInfo(path).fileName().toStdString();
    // The import refuses such a picture after the yes with this very message: say it now.
    if (IsValidPictureSize(width, height) && availableBytes != 0) {
        const std::uint64_t needed =
            PipelineBytesFor(static_cast<int>(width), static_cast<int>(height));
        if (needed > availableBytes) {
            host.ShowMessage(
                QString::fromStdString(TooLargeMessage(fileName, width, height, needed)),
                QString::fromUtf8(kAppName), MessageIcon::Exclamation);
            return PixelClaimAnswer::CannotFit;
        }
    }
    const QString claim =
        QString::fromStdString(TooManyPixelsMessage(fileName, width, height, kDefaultMaxPixels));
    const QString question =
        QCoreApplication::translate("PixelClaim", "读取并处理它约需 %1 秒。仍要打开它吗？")
            .arg(std::lround(PredictedRunSeconds(width, height)));
    return host.Confirm(claim + QLatin1Char('\n') + question, QString::fromUtf8(kAppName))
               ? PixelClaimAnswer::Read
               : PixelClaimAnswer::Declined;
}

}  // namespace zantrel
