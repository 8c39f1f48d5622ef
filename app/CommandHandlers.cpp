#include "app/CommandHandlers.h"

#include "app/FileCommands.h"
#include "app/Language.h"
#include "app/MainFrame.h"
#include "app/PictureCommands.h"
#include "app/ShownPictureCommands.h"
#include "app/StageRuns.h"
#include "app/ZantrelDoc.h"
#include "view/PictureCanvas.h"
#include "view/ZantrelView.h"

namespace zantrel {

namespace {

// Named after the file the caption names; an untitled document has none.
void OnFilePrint(MainFrame& frame) {
    const ZantrelDoc& doc = frame.Doc();
    frame.View().OnFilePrint(doc.TitleName().value_or(QString()).isEmpty() ? QString()
                                                                           : doc.Path());
}

// clang-format off
constexpr CommandBinding kHandlers[] = {
    {ID_OPEN_PICTURE,     OnOpenPicture},
    {ID_IMPORT_PICTURE,   OnImportPicture},
    {ID_SAVE_PICTURE,     OnSavePicture},
    {ID_SAVE_ZTL,         OnSaveZtl},
    {ID_SAVE_SHOWN,       OnSaveShownPicture},
    {ID_EDIT_COPY,        OnCopyShownPicture},
    {ID_PICTURE_COLOR,    OnPictureColor},
    {ID_PICTURE_GRAY,     OnPictureGray},
    {ID_QUADTREE,         OnQuadtree},
    {ID_GRAY_GRID,        OnGrayGrid},
    {ID_ZANTREL,          OnZantrel},
    {ID_GRID_LINES,       OnGridLines},
    {ID_PSNR,             OnPsnr},
    {ID_BIT_RATE,         OnBitRate},
    {ID_FILE_NEW,         [](MainFrame& frame) { frame.NewDocument(); }},
    {ID_FILE_PRINT,       OnFilePrint},
    {ID_APP_EXIT,         [](MainFrame& frame) { frame.close(); }},
    {ID_VIEW_TOOLBAR,     [](MainFrame& frame) { frame.ToggleToolBar(); }},
    {ID_VIEW_STATUS_BAR,  [](MainFrame& frame) { frame.ToggleStatusBar(); }},
    {ID_VIEW_ZOOM_IN,     [](MainFrame& frame) { frame.ActiveCanvas().ZoomIn(); }},
    {ID_VIEW_ZOOM_OUT,    [](MainFrame& frame) { frame.ActiveCanvas().ZoomOut(); }},
    {ID_VIEW_ACTUAL_SIZE, [](MainFrame& frame) { frame.ActiveCanvas().ActualSize(); }},
    {ID_VIEW_FIT,         [](MainFrame& frame) { frame.ActiveCanvas().FitToWindow(); }},
    {ID_VIEW_COMPARE,     [](MainFrame& frame) { frame.ToggleCompareView(); }},
    {ID_VIEW_EXPLORE,     [](MainFrame& frame) { frame.ToggleExplore(); }},
    {ID_CANCEL_RUN,       [](MainFrame& frame) { frame.Runs().Stages().Cancel(); }},
    {ID_APP_ABOUT,        [](MainFrame& frame) { frame.ShowAbout(); }},
    {ID_LANGUAGE_CHINESE, [](MainFrame& frame) { frame.SetLanguage(Language::Chinese); }},
    {ID_LANGUAGE_ENGLISH, [](MainFrame& frame) { frame.SetLanguage(Language::English); }},
};
// clang-format on

}  // namespace

std::span<const CommandBinding> CommandHandlers() {
    return kHandlers;
}

}  // namespace zantrel
