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

namespace zantrel {

namespace {

ZantrelView& View(ZantrelApp& app) {
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

void OnPictureColor(ZantrelApp& app) {
    View(app).ShowMode(DISPLAY_COLOR);
}

void OnPictureGray(ZantrelApp& app) {
    app.Doc().RunGray();
    View(app).ShowMode(DISPLAY_GRAY);
}

void OnQuadtree(ZantrelApp& app) {
    DecompParamDlg dialog(app.Host(), &app.Frame());
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
        [&app, penalty, minBlockSize](Progress& progress) -> BackgroundRun::Apply {
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

void OnGrayGrid(ZantrelApp& app) {
    app.Doc().RunGrayGrid();
    View(app).ShowMode(DISPLAY_GRAY_GRID);
}

void OnZantrel(ZantrelApp& app) {
    // A decoded document holds the stage's result already.
    if (app.Doc().Pictures().decoded) {
        View(app).ShowMode(DISPLAY_ZANTREL);
        return;
    }
    app.Runs().Start(
        [&app](Progress& progress) -> BackgroundRun::Apply {
            ZantrelDoc& doc = app.Doc();
            std::optional<ZantrelDoc::ZantrelResult> result =
                doc.MakeZantrel(doc.Pictures().quadtree, progress);
            if (!result)
                return {};
            auto shared = std::make_shared<ZantrelDoc::ZantrelResult>(std::move(*result));
            return [&app, shared] {
                app.Doc().AdoptZantrel(std::move(*shared));
                View(app).ShowMode(DISPLAY_ZANTREL);
            };
        },
        CurrentShell().StatusBar());
}

void OnGridLines(ZantrelApp& app) {
    View(app).ShowMode(DISPLAY_GRID_LINES);
}

void OnPsnr(ZantrelApp& app) {
    CurrentShell().ShowMessage(FormatFigure(app.Doc().PsnrFigure()), Translated(kPsnrBoxCaption),
                               MessageIcon::Information);
}

void OnBitRate(ZantrelApp& app) {
    CurrentShell().ShowMessage(FormatFigure(app.Doc().BitRateFigure()),
                               Translated(kBitRateBoxCaption), MessageIcon::Information);
    if (StatusDisplay* bar = CurrentShell().StatusBar())
        bar->SetPaneText(Translated(QT_TRANSLATE_NOOP("PictureCommands", "BIT率计算完毕")));
}

}  // namespace zantrel
