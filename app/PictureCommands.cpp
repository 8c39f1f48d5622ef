#include "app/PictureCommands.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <memory>
#include <string_view>

#include "app/ExplorePanel.h"
#include "app/MainFrame.h"
#include "app/ZantrelApp.h"
#include "app/ZantrelDoc.h"
#include "measure/FigureText.h"
#include "platform/Shell.h"
#include "quadtree/DecompositionParameters.h"
#include "view/DecompParamDlg.h"
#include "view/DialogHost.h"
#include "view/ZantrelView.h"

namespace {

CZantrelView& View(CZantrelApp& app) {
    return app.Frame().View();
}

// The figure boxes' captions: the engine's texts, which zantrel-cli prints as they are,
// translated here where the desktop shows them.
constexpr const char* kPsnrBoxCaption = QT_TRANSLATE_NOOP("PictureCommands", "图像的PSNR为：");
constexpr const char* kBitRateBoxCaption = QT_TRANSLATE_NOOP("PictureCommands", "图像的BIT率为：");
static_assert(std::string_view(kPsnrBoxCaption) == kPsnrCaption);
static_assert(std::string_view(kBitRateBoxCaption) == kBitRateCaption);

std::string Translated(const char* source) {
    return QCoreApplication::translate("PictureCommands", source).toStdString();
}

}  // namespace

void OnPictureColor(CZantrelApp& app) {
    View(app).ShowMode(DISPLAY_COLOR);
}

void OnPictureGray(CZantrelApp& app) {
    app.Doc().RunGray();
    View(app).ShowMode(DISPLAY_GRAY);
}

void OnQuadtree(CZantrelApp& app) {
    CDecompParamDlg dialog(app.Host(), &app.Frame());
    if (const std::optional<DecompositionParameters> used = app.Frame().Explore().UsedValues()) {
        dialog.PenaltyEdit()->setText(QString::fromStdString(FormatPenalty(used->penalty)));
        dialog.MinBlockSizeEdit()->setText(
            QString::fromStdString(FormatMinBlockSize(used->minBlockSize)));
    }
    if (app.Host().Exec(dialog) != QDialog::Accepted)
        return;
    const double penalty = dialog.m_penalty;
    const std::int32_t minBlockSize = dialog.m_minBlockSize;
    app.Runs().Start(
        [&app, penalty, minBlockSize](CProgress& progress) -> CBackgroundRun::Apply {
            auto stage =
                std::make_shared<QuadtreeStage>(app.Doc().MakeQuadtree(penalty, minBlockSize));
            if (progress.Cancelled())
                return {};
            return [&app, stage] {
                app.Doc().AdoptQuadtree(std::move(*stage));
                View(app).ShowMode(DISPLAY_QUADTREE);
            };
        },
        CurrentShell().StatusBar());
}

void OnGrayGrid(CZantrelApp& app) {
    app.Doc().RunGrayGrid();
    View(app).ShowMode(DISPLAY_GRAY_GRID);
}

void OnZantrel(CZantrelApp& app) {
    // A decoded document holds the stage's result already.
    if (app.Doc().Pictures().decoded) {
        View(app).ShowMode(DISPLAY_ZANTREL);
        return;
    }
    app.Runs().Start(
        [&app](CProgress& progress) -> CBackgroundRun::Apply {
            CZantrelDoc& doc = app.Doc();
            std::optional<CZantrelDoc::ZantrelResult> result =
                doc.MakeZantrel(doc.Pictures().quadtree, progress);
            if (!result)
                return {};
            auto shared = std::make_shared<CZantrelDoc::ZantrelResult>(std::move(*result));
            return [&app, shared] {
                app.Doc().AdoptZantrel(std::move(*shared));
                View(app).ShowMode(DISPLAY_ZANTREL);
            };
        },
        CurrentShell().StatusBar());
}

void OnGridLines(CZantrelApp& app) {
    View(app).ShowMode(DISPLAY_GRID_LINES);
}

void OnPsnr(CZantrelApp& app) {
    CurrentShell().ShowMessage(FormatFigure(app.Doc().PsnrFigure()), Translated(kPsnrBoxCaption),
                               MessageIcon::Information);
}

void OnBitRate(CZantrelApp& app) {
    CurrentShell().ShowMessage(FormatFigure(app.Doc().BitRateFigure()),
                               Translated(kBitRateBoxCaption), MessageIcon::Information);
    if (CStatusBar* bar = CurrentShell().StatusBar())
        bar->SetPaneText(Translated(QT_TRANSLATE_NOOP("PictureCommands", "BIT率计算完毕")));
}
