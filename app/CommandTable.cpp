#include "app/CommandTable.h"

#include <algorithm>

#include "app/MainFrame.h"
#include "app/PictureCommands.h"
#include "app/ShownPictureCommands.h"
#include "app/ZantrelApp.h"
#include "app/ZantrelDoc.h"
#include "view/PictureCanvas.h"
#include "view/ZantrelView.h"

namespace {

// clang-format off
constexpr CommandEntry kCommands[] = {
    {ID_OPEN_PICTURE, "打开图像", "打开图像文件", "打开图像文件", "Ctrl+O",
     [](CZantrelApp& app) { app.Doc().OnOpenPicture(); }},
    {ID_IMPORT_PICTURE, "导入图像…", "导入其他格式或尺寸的图像",
     "导入其他格式或尺寸的图像", "Ctrl+I",
     [](CZantrelApp& app) { app.Doc().OnImportPicture(); }},
    {ID_SAVE_PICTURE, "保存图像", "保存图像文件", "保存图像文件", "Ctrl+S",
     [](CZantrelApp& app) { app.Doc().OnSavePicture(); }},
    {ID_SAVE_ZTL, "保存为 Zantrel 文件…", "把切割线分解编码保存为 Zantrel 文件",
     "保存为 Zantrel 文件", "Ctrl+Shift+S",
     [](CZantrelApp& app) { app.Doc().OnSaveZtl(); }},
    {ID_SAVE_SHOWN, "另存当前画面…", "把当前显示的画面保存为 BMP 或 PNG 文件",
     "另存当前画面", nullptr, OnSaveShownPicture},
    {ID_EDIT_COPY, "复制", "把当前显示的画面复制到剪贴板", "复制", "Ctrl+C",
     OnCopyShownPicture},
    {ID_PICTURE_COLOR, "原彩色图像", "原彩色图像", "原彩色图像", nullptr, OnPictureColor},
    {ID_PICTURE_GRAY, "图像灰度化", "图像灰度化", "图像灰度化", nullptr, OnPictureGray},
    {ID_QUADTREE, "四叉树分解", "四叉树分解", "四叉树分解", nullptr, OnQuadtree},
    {ID_GRAY_GRID, "灰度网格图", "灰度网格图", "灰度网格图", nullptr, OnGrayGrid},
    {ID_ZANTREL, "Zantrel分解图", "Zantrel分解图", "Zantrel分解图", nullptr, OnZantrel},
    {ID_GRID_LINES, "网格Zantrel线", "网格Zantrel线", "网格Zantrel线", nullptr, OnGridLines},
    {ID_PSNR, "图像误差", "图像误差", "图像误差", nullptr, OnPsnr},
    {ID_BIT_RATE, "图像比特率", "比特率", "比特率", nullptr, OnBitRate},
    {ID_FILE_NEW, "新建", "建立新文档", "新建", "Ctrl+N",
     [](CZantrelApp& app) { app.Doc().OnNewDocument(); }},
    {ID_FILE_PRINT, "打印", "打印活动文档", "打印", "Ctrl+P",
     [](CZantrelApp& app) { app.Frame().View().OnFilePrint(); }},
    {ID_APP_EXIT, "退出(&X)", "退出应用程序；提示保存文档", "退出", nullptr,
     [](CZantrelApp& app) { app.Frame().close(); }},
    {ID_VIEW_TOOLBAR, "工具栏(&T)", "显示或隐藏工具栏", "显隐工具栏", nullptr,
     [](CZantrelApp& app) { app.Frame().ToggleToolBar(); }},
    {ID_VIEW_STATUS_BAR, "状态栏(&S)", "显示或隐藏状态栏", "显隐状态栏", nullptr,
     [](CZantrelApp& app) { app.Frame().ToggleStatusBar(); }},
    {ID_VIEW_ZOOM_IN, "放大", "放大画面", "放大", "Ctrl+=",
     [](CZantrelApp& app) { app.Frame().ActiveCanvas().ZoomIn(); }},
    {ID_VIEW_ZOOM_OUT, "缩小", "缩小画面", "缩小", "Ctrl+-",
     [](CZantrelApp& app) { app.Frame().ActiveCanvas().ZoomOut(); }},
    {ID_VIEW_ACTUAL_SIZE, "实际大小", "按图像的实际大小显示", "实际大小", "Ctrl+0",
     [](CZantrelApp& app) { app.Frame().ActiveCanvas().ActualSize(); }},
    {ID_VIEW_FIT, "适合窗口", "缩放图像以适合窗口", "适合窗口", "Ctrl+9",
     [](CZantrelApp& app) { app.Frame().ActiveCanvas().FitToWindow(); }},
    {ID_VIEW_COMPARE, "对比", "并排对比两幅图像", "对比", "Ctrl+T",
     [](CZantrelApp& app) { app.Frame().ToggleCompareView(); }},
    {ID_VIEW_EXPLORE, "探索", "显示或隐藏探索面板：拖动惩罚因子即时重算", "显隐探索面板", nullptr,
     [](CZantrelApp& app) { app.Frame().ToggleExplore(); }},
    {ID_CANCEL_RUN, "取消", "停止正在进行的计算", "停止计算 (Esc)", "Esc",
     [](CZantrelApp& app) { app.Runs().Cancel(); }},
    {ID_APP_ABOUT, "关于 Zantrel(&A)...", "显示程序信息、版本号和版权", "关于", nullptr,
     [](CZantrelApp& app) { app.OnAppAbout(); }},
};

bool Always(const PipelineState&) { return true; }
bool Loaded(const PipelineState& s) { return s.pictureLoaded; }
bool InMode(const PipelineState& s, DisplayMode a) { return s.displayMode == a; }
bool InMode(const PipelineState& s, DisplayMode a, DisplayMode b) {
    return s.displayMode == a || s.displayMode == b;
}
// Every mode but none shows a picture once one was loaded, a decoded document's included.
bool PictureShown(const PipelineState& s) {
    return s.pictureLoaded && s.displayMode != DISPLAY_NONE;
}
// A decoded document has no colour or gray picture: the stages up to the quadtree and the
// figures measured against the gray picture are never offered. Its three pictures (the
// result, the gray grid and the cut lines) are all there at once, so each is offered from any
// mode. The bit-rate estimate needs the search's size groups, which the file does not hold.
bool Picture(const PipelineState& s) { return s.pictureLoaded && !s.decoded; }
bool PictureIn(const PipelineState& s, DisplayMode a) { return !s.decoded && InMode(s, a); }
bool PictureIn(const PipelineState& s, DisplayMode a, DisplayMode b) {
    return !s.decoded && InMode(s, a, b);
}

// The pipeline order is enforced here: each stage is offered only after the one before it.
constexpr EnablingRule kRules[] = {
    {ID_OPEN_PICTURE,    Always},
    {ID_IMPORT_PICTURE,  Always},
    {ID_SAVE_PICTURE,    [](const PipelineState& s) { return InMode(s, DISPLAY_QUADTREE, DISPLAY_ZANTREL); }},
    {ID_SAVE_ZTL,        [](const PipelineState& s) { return s.decoded || (s.decomposed && InMode(s, DISPLAY_ZANTREL, DISPLAY_GRID_LINES)); }},
    {ID_SAVE_SHOWN,      PictureShown},
    {ID_EDIT_COPY,       PictureShown},
    {ID_PICTURE_COLOR,   Picture},
    {ID_PICTURE_GRAY,    [](const PipelineState& s) { return PictureIn(s, DISPLAY_COLOR); }},
    {ID_QUADTREE,        [](const PipelineState& s) { return PictureIn(s, DISPLAY_GRAY); }},
    {ID_GRAY_GRID,       [](const PipelineState& s) { return s.decoded || InMode(s, DISPLAY_QUADTREE); }},
    {ID_ZANTREL,         [](const PipelineState& s) { return s.decoded || InMode(s, DISPLAY_QUADTREE, DISPLAY_GRAY_GRID); }},
    {ID_GRID_LINES,      [](const PipelineState& s) { return s.decoded || InMode(s, DISPLAY_ZANTREL); }},
    {ID_PSNR,            [](const PipelineState& s) { return PictureIn(s, DISPLAY_QUADTREE, DISPLAY_ZANTREL); }},
    {ID_BIT_RATE,        [](const PipelineState& s) { return PictureIn(s, DISPLAY_ZANTREL, DISPLAY_GRID_LINES); }},
    {ID_CANCEL_RUN,      [](const PipelineState& s) { return s.busy; }},
    {ID_VIEW_EXPLORE,    Always},
    {ID_FILE_NEW,        Always},
    {ID_FILE_PRINT,      Always},
    {ID_APP_EXIT,        Always},
    {ID_VIEW_TOOLBAR,    Always},
    {ID_VIEW_STATUS_BAR, Always},
    {ID_VIEW_ZOOM_IN,    Loaded},
    {ID_VIEW_ZOOM_OUT,   Loaded},
    {ID_VIEW_ACTUAL_SIZE, Loaded},
    {ID_VIEW_FIT,        Loaded},
    {ID_VIEW_COMPARE,    Loaded},
    {ID_APP_ABOUT,       Always},
};

// While the worker computes, the commands that process or save the pictures wait for it.
constexpr int kWaitForWorker[] = {ID_SAVE_PICTURE, ID_SAVE_ZTL,  ID_PICTURE_COLOR, ID_PICTURE_GRAY,
                                  ID_QUADTREE,     ID_GRAY_GRID, ID_ZANTREL,       ID_GRID_LINES,
                                  ID_PSNR,         ID_BIT_RATE};

constexpr int kFileMenu[] = {ID_OPEN_PICTURE, ID_IMPORT_PICTURE, kSeparator,
                             ID_SAVE_PICTURE, ID_SAVE_ZTL, ID_SAVE_SHOWN, kSeparator,
                             ID_FILE_MRU_FILE1, kSeparator, ID_APP_EXIT};
constexpr int kEditMenu[] = {ID_EDIT_COPY};
constexpr int kPictureMenu[] = {ID_PICTURE_COLOR, ID_PICTURE_GRAY, kSeparator,
                                ID_QUADTREE, ID_GRAY_GRID, kSeparator,
                                ID_ZANTREL, ID_GRID_LINES, kSeparator,
                                ID_PSNR, ID_BIT_RATE};
constexpr int kViewMenu[] = {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_EXPLORE, kSeparator,
                             ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, ID_VIEW_ACTUAL_SIZE, ID_VIEW_FIT,
                             kSeparator, ID_VIEW_COMPARE};
constexpr int kHelpMenu[] = {ID_APP_ABOUT};

constexpr MenuDefinition kMenuBar[] = {
    {"文件(&F)", kFileMenu},
    {"编辑(&E)", kEditMenu},
    {"图象处理", kPictureMenu},
    {"查看(&V)", kViewMenu},
    {"帮助(&H)", kHelpMenu},
};

constexpr int kToolBar[] = {ID_OPEN_PICTURE, kSeparator, ID_SAVE_PICTURE, kSeparator,
                            ID_PICTURE_COLOR, ID_PICTURE_GRAY, kSeparator,
                            ID_QUADTREE, ID_GRAY_GRID, kSeparator,
                            ID_ZANTREL, ID_GRID_LINES, kSeparator,
                            ID_PSNR, ID_BIT_RATE};
// clang-format on

}  // namespace

PipelineState CurrentPipelineState(const CZantrelView& view, const CZantrelDoc& doc, bool busy) {
    const DocumentPictures& pictures = doc.Pictures();
    return {view.Mode(), pictures.loaded, pictures.decoded, !pictures.decomposition.blocks.empty(),
            busy};
}

bool CommandEnabled(const EnablingRule& rule, const PipelineState& state) {
    if (state.busy && std::ranges::find(kWaitForWorker, rule.id) != std::end(kWaitForWorker))
        return false;
    return rule.enabled(state);
}

std::span<const CommandEntry> CommandTable() {
    return kCommands;
}

std::span<const EnablingRule> EnablingRules() {
    return kRules;
}

std::span<const MenuDefinition> MenuBar() {
    return kMenuBar;
}

std::span<const int> ToolBarButtons() {
    return kToolBar;
}

const CommandEntry* FindCommand(int id) {
    const auto it = std::ranges::find(kCommands, id, &CommandEntry::id);
    return it == std::end(kCommands) ? nullptr : &*it;
}
