#include "app/CommandHandlers.h"

#include "app/FileCommands.h"
#include "app/Language.h"
#include "app/MainFrame.h"
#include "app/PictureCommands.h"
#include "app/ShownPictureCommands.h"
#include "app/StageRuns.h"
#include "view/PictureCanvas.h"
#include "view/ZantrelView.h"

namespace {

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
    {ID_FILE_NEW,         [](CMainFrame& frame) { frame.NewDocument(); }},
    {ID_FILE_PRINT,       [](CMainFrame& frame) { frame.View().OnFilePrint(); }},
    {ID_APP_EXIT,         [](CMainFrame& frame) { frame.close(); }},
    {ID_VIEW_TOOLBAR,     [](CMainFrame& frame) { frame.ToggleToolBar(); }},
    {ID_VIEW_STATUS_BAR,  [](CMainFrame& frame) { frame.ToggleStatusBar(); }},
    {ID_VIEW_ZOOM_IN,     [](CMainFrame& frame) { frame.ActiveCanvas().ZoomIn(); }},
    {ID_VIEW_ZOOM_OUT,    [](CMainFrame& frame) { frame.ActiveCanvas().ZoomOut(); }},
    {ID_VIEW_ACTUAL_SIZE, [](CMainFrame& frame) { frame.ActiveCanvas().ActualSize(); }},
    {ID_VIEW_FIT,         [](CMainFrame& frame) { frame.ActiveCanvas().FitToWindow(); }},
    {ID_VIEW_COMPARE,     [](CMainFrame& frame) { frame.ToggleCompareView(); }},
    {ID_VIEW_EXPLORE,     [](CMainFrame& frame) { frame.ToggleExplore(); }},
    {ID_CANCEL_RUN,       [](CMainFrame& frame) { frame.Runs().Stages().Cancel(); }},
    {ID_APP_ABOUT,        [](CMainFrame& frame) { frame.ShowAbout(); }},
    {ID_LANGUAGE_CHINESE, [](CMainFrame& frame) { frame.SetLanguage(Language::Chinese); }},
    {ID_LANGUAGE_ENGLISH, [](CMainFrame& frame) { frame.SetLanguage(Language::English); }},
};
// clang-format on

}  // namespace

std::span<const CommandBinding> CommandHandlers() {
    return kHandlers;
}
