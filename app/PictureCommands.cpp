#include "app/PictureCommands.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <cmath>
#include <string>
#include <string_view>

#include "app/ExplorePanel.h"
#include "app/MainFrame.h"
#include "app/StageRuns.h"
#include "app/ZantrelDoc.h"
#include "app/ZtlFileStatus.h"
#include "import/MessageTranslation.h"
#include "measure/FigureText.h"
#include "measure/Stages.h"
#include "picture/MessageText.h"
#include "platform/Shell.h"
#include "quadtree/DecompositionParameters.h"
#include "view/DecompParamDlg.h"
#include "view/DialogHost.h"
#include "view/ZantrelView.h"

namespace zantrel {

namespace {

// The figure boxes' captions: the engine's texts, which zantrel-cli prints as they are,
// translated here where the desktop shows them.
constexpr const char* kPsnrBoxCaption = QT_TRANSLATE_NOOP("PictureCommands", "图像的PSNR为：");
constexpr const char* kBitRateBoxCaption = QT_TRANSLATE_NOOP("PictureCommands", "图像的BIT率为：");
static_assert(std::string_view(kPsnrBoxCaption) == kPsnrCaption);
static_assert(std::string_view(kBitRateBoxCaption) == kBitRateCaption);

// A run predicted to take longer than this asks first.
constexpr double kAskAboveSeconds = 30;

std::string Translated(const char* source) {
    return QCoreApplication::translate("PictureCommands", source).toStdString();
}

}  // namespace

void OnPictureColor(MainFrame& frame) {
    frame.View().ShowMode(DISPLAY_COLOR);
}

void OnPictureGray(MainFrame& frame) {
    frame.Doc().RunGray();
}

void OnQuadtree(MainFrame& frame) {
    DecompParamDlg dialog(frame.Host(), &frame);
    if (const std::optional<DecompositionParameters> used = frame.Explore().UsedValues()) {
        dialog.PenaltyEdit()->setText(QString::fromStdString(FormatPenalty(used->penalty)));
        dialog.MinBlockSizeEdit()->setText(
            QString::fromStdString(FormatMinBlockSize(used->minBlockSize)));
    }
    // The mode stays as last chosen, here or in the explore panel.
    dialog.SetMode(frame.Explore().Mode());
    if (frame.Host().Exec(dialog) != QDialog::Accepted)
        return;
    frame.Explore().SetMode(dialog.m_mode);
    // The dialog and the panel share one set of values.
    const DecompositionParameters values{dialog.m_penalty, dialog.m_minBlockSize};
    frame.Explore().SetValues(values);
    frame.Runs().Start({values, false, dialog.m_mode});
}

void OnGrayGrid(MainFrame& frame) {
    frame.Doc().RunGrayGrid();
}

void OnZantrel(MainFrame& frame) {
    // A decoded document holds the stage's result already.
    if (frame.Doc().Pictures().Decoded()) {
        frame.View().ShowMode(DISPLAY_ZANTREL);
        return;
    }
    // A search predicted to take long, in either mode, is announced first, and runs only when
    // the user agrees.
    const StageRequest request{std::nullopt, true, frame.Doc().Mode()};
    const double seconds =
        request.mode == RunMode::Exact
            ? PredictCutLineSeconds(frame.Doc().Pictures().Tree(), 0)
            : PredictOptimisedRunSeconds(frame.Doc().Inputs(), request, frame.Runs().Optimised());
    if (seconds > kAskAboveSeconds) {
        const QString text =
            QString::fromStdString(
                TranslateMessage(ZANTREL_MESSAGE("Zantrel", "预计切割线搜索约需 %1 秒。"),
                                 {std::to_string(std::lround(seconds))})) +
            QLatin1Char('\n') +
            QCoreApplication::translate("PictureCommands", "要开始吗？运行中可随时按 Esc 停止。");
        if (!frame.Host().Confirm(text, QString::fromUtf8(kAppName)))
            return;
    }
    frame.Runs().Start(request);
}

void OnGridLines(MainFrame& frame) {
    frame.View().ShowMode(DISPLAY_GRID_LINES);
}

void OnPsnr(MainFrame& frame) {
    // The figure as it always read, and the structural similarity on a line of its own below;
    // the unit under them.
    const ZantrelDoc& doc = frame.Doc();
    const std::string text =
        FormatFigure(doc.PsnrFigure()) + "\nSSIM " + FormatFigure(doc.SsimFigure());
    frame.Host().ShowMessage(
        QString::fromStdString(text), QCoreApplication::translate("PictureCommands", "单位：dB"),
        QString::fromStdString(Translated(kPsnrBoxCaption)), MessageIcon::Information);
}

void OnBitRate(MainFrame& frame) {
    // The figure as it always read; under it its unit and the file the result is saved as.
    const ZantrelDoc& doc = frame.Doc();
    QString below = QCoreApplication::translate("PictureCommands", "单位：比特/像素");
    if (const std::optional<RunFigures>& figures = doc.Figures()) {
        const GrayPicture& result = doc.Pictures().Result();
        below += QLatin1Char('\n') + ZtlFileText(ZtlFileEvent::Unsaved, figures->fileBytes,
                                                 result.width, result.height);
    }
    frame.Host().ShowMessage(QString::fromStdString(FormatFigure(doc.BitRateFigure())), below,
                             QString::fromStdString(Translated(kBitRateBoxCaption)),
                             MessageIcon::Information);
    if (StatusDisplay* bar = CurrentShell().StatusBar())
        bar->SetPaneText(Translated(QT_TRANSLATE_NOOP("PictureCommands", "BIT率计算完毕")));
}

}  // namespace zantrel
