#include "app/CommandTable.h"

#include <QCoreApplication>
#include <algorithm>

namespace zantrel {

namespace {

// clang-format off
constexpr CommandEntry kCommands[] = {
    {ID_OPEN_PICTURE, QT_TRANSLATE_NOOP("CommandTable", "打开图像"), QT_TRANSLATE_NOOP("CommandTable", "打开图像文件"), QT_TRANSLATE_NOOP("CommandTable", "打开图像文件"), "Ctrl+O"},
    {ID_IMPORT_PICTURE, QT_TRANSLATE_NOOP("CommandTable", "导入图像…"), QT_TRANSLATE_NOOP("CommandTable", "导入其他格式或尺寸的图像"), QT_TRANSLATE_NOOP("CommandTable", "导入其他格式或尺寸的图像"), "Ctrl+I"},
    {ID_SAVE_PICTURE, QT_TRANSLATE_NOOP("CommandTable", "保存图像"), QT_TRANSLATE_NOOP("CommandTable", "保存图像文件"), QT_TRANSLATE_NOOP("CommandTable", "保存图像文件"), "Ctrl+S"},
    {ID_SAVE_ZTL, QT_TRANSLATE_NOOP("CommandTable", "保存为 Zantrel 文件…"), QT_TRANSLATE_NOOP("CommandTable", "把切割线分解编码保存为 Zantrel 文件"), QT_TRANSLATE_NOOP("CommandTable", "保存为 Zantrel 文件"), "Ctrl+Shift+S"},
    {ID_SAVE_SHOWN, QT_TRANSLATE_NOOP("CommandTable", "另存当前画面…"), QT_TRANSLATE_NOOP("CommandTable", "把当前显示的画面保存为 BMP 或 PNG 文件"), QT_TRANSLATE_NOOP("CommandTable", "另存当前画面"), nullptr},
    {ID_EDIT_COPY, QT_TRANSLATE_NOOP("CommandTable", "复制"), QT_TRANSLATE_NOOP("CommandTable", "把当前显示的画面复制到剪贴板"), QT_TRANSLATE_NOOP("CommandTable", "复制"), "Ctrl+C"},
    {ID_PICTURE_COLOR, QT_TRANSLATE_NOOP("CommandTable", "原彩色图像"), QT_TRANSLATE_NOOP("CommandTable", "原彩色图像"), QT_TRANSLATE_NOOP("CommandTable", "原彩色图像"), "Ctrl+1"},
    {ID_PICTURE_GRAY, QT_TRANSLATE_NOOP("CommandTable", "图像灰度化"), QT_TRANSLATE_NOOP("CommandTable", "图像灰度化"), QT_TRANSLATE_NOOP("CommandTable", "图像灰度化"), "Ctrl+2"},
    {ID_QUADTREE, QT_TRANSLATE_NOOP("CommandTable", "四叉树分解"), QT_TRANSLATE_NOOP("CommandTable", "四叉树分解"), QT_TRANSLATE_NOOP("CommandTable", "四叉树分解"), "Ctrl+3"},
    {ID_GRAY_GRID, QT_TRANSLATE_NOOP("CommandTable", "灰度网格图"), QT_TRANSLATE_NOOP("CommandTable", "灰度网格图"), QT_TRANSLATE_NOOP("CommandTable", "灰度网格图"), "Ctrl+4"},
    {ID_ZANTREL, QT_TRANSLATE_NOOP("CommandTable", "Zantrel分解图"), QT_TRANSLATE_NOOP("CommandTable", "Zantrel分解图"), QT_TRANSLATE_NOOP("CommandTable", "Zantrel分解图"), "Ctrl+5"},
    {ID_GRID_LINES, QT_TRANSLATE_NOOP("CommandTable", "网格Zantrel线"), QT_TRANSLATE_NOOP("CommandTable", "网格Zantrel线"), QT_TRANSLATE_NOOP("CommandTable", "网格Zantrel线"), "Ctrl+6"},
    {ID_PSNR, QT_TRANSLATE_NOOP("CommandTable", "图像误差"), QT_TRANSLATE_NOOP("CommandTable", "图像误差"), QT_TRANSLATE_NOOP("CommandTable", "图像误差"), "Ctrl+7"},
    {ID_BIT_RATE, QT_TRANSLATE_NOOP("CommandTable", "图像比特率"), QT_TRANSLATE_NOOP("CommandTable", "比特率"), QT_TRANSLATE_NOOP("CommandTable", "比特率"), "Ctrl+8"},
    {ID_FILE_NEW, QT_TRANSLATE_NOOP("CommandTable", "新建"), QT_TRANSLATE_NOOP("CommandTable", "建立新文档"), QT_TRANSLATE_NOOP("CommandTable", "新建"), "Ctrl+N"},
    {ID_FILE_PRINT, QT_TRANSLATE_NOOP("CommandTable", "打印"), QT_TRANSLATE_NOOP("CommandTable", "打印活动文档"), QT_TRANSLATE_NOOP("CommandTable", "打印"), "Ctrl+P"},
    {ID_APP_EXIT, QT_TRANSLATE_NOOP("CommandTable", "退出(&X)"), QT_TRANSLATE_NOOP("CommandTable", "退出应用程序；提示保存文档"), QT_TRANSLATE_NOOP("CommandTable", "退出"), nullptr},
    {ID_VIEW_TOOLBAR, QT_TRANSLATE_NOOP("CommandTable", "工具栏(&T)"), QT_TRANSLATE_NOOP("CommandTable", "显示或隐藏工具栏"), QT_TRANSLATE_NOOP("CommandTable", "显隐工具栏"), nullptr},
    {ID_VIEW_STATUS_BAR, QT_TRANSLATE_NOOP("CommandTable", "状态栏(&S)"), QT_TRANSLATE_NOOP("CommandTable", "显示或隐藏状态栏"), QT_TRANSLATE_NOOP("CommandTable", "显隐状态栏"), nullptr},
    {ID_VIEW_ZOOM_IN, QT_TRANSLATE_NOOP("CommandTable", "放大"), QT_TRANSLATE_NOOP("CommandTable", "放大画面"), QT_TRANSLATE_NOOP("CommandTable", "放大"), "Ctrl+="},
    {ID_VIEW_ZOOM_OUT, QT_TRANSLATE_NOOP("CommandTable", "缩小"), QT_TRANSLATE_NOOP("CommandTable", "缩小画面"), QT_TRANSLATE_NOOP("CommandTable", "缩小"), "Ctrl+-"},
    {ID_VIEW_ACTUAL_SIZE, QT_TRANSLATE_NOOP("CommandTable", "实际大小"), QT_TRANSLATE_NOOP("CommandTable", "按图像的实际大小显示"), QT_TRANSLATE_NOOP("CommandTable", "实际大小"), "Ctrl+0"},
    {ID_VIEW_FIT, QT_TRANSLATE_NOOP("CommandTable", "适合窗口"), QT_TRANSLATE_NOOP("CommandTable", "缩放图像以适合窗口"), QT_TRANSLATE_NOOP("CommandTable", "适合窗口"), "Ctrl+9"},
    {ID_VIEW_COMPARE, QT_TRANSLATE_NOOP("CommandTable", "对比"), QT_TRANSLATE_NOOP("CommandTable", "并排对比两幅图像"), QT_TRANSLATE_NOOP("CommandTable", "对比"), "Ctrl+T"},
    {ID_VIEW_EXPLORE, QT_TRANSLATE_NOOP("CommandTable", "探索"), QT_TRANSLATE_NOOP("CommandTable", "显示或隐藏探索面板：拖动惩罚因子即时重算"), QT_TRANSLATE_NOOP("CommandTable", "显隐探索面板"), "Ctrl+Shift+E"},
    {ID_CANCEL_RUN, QT_TRANSLATE_NOOP("CommandTable", "取消"), QT_TRANSLATE_NOOP("CommandTable", "停止正在进行的计算"), QT_TRANSLATE_NOOP("CommandTable", "停止计算 (Esc)"), "Esc"},
    {ID_APP_ABOUT, QT_TRANSLATE_NOOP("CommandTable", "关于 Zantrel(&A)..."), QT_TRANSLATE_NOOP("CommandTable", "显示程序信息、版本号和版权"), QT_TRANSLATE_NOOP("CommandTable", "关于"), nullptr},
    {ID_LANGUAGE_CHINESE, "中文", QT_TRANSLATE_NOOP("CommandTable", "用中文显示界面"), "中文", nullptr},
    {ID_LANGUAGE_ENGLISH, "English", QT_TRANSLATE_NOOP("CommandTable", "用英文显示界面"), "English", nullptr},
};

constexpr int kFileMenu[] = {ID_OPEN_PICTURE, ID_IMPORT_PICTURE, kSeparator,
                             ID_SAVE_PICTURE, ID_SAVE_ZTL, ID_SAVE_SHOWN, kSeparator,
                             ID_FILE_PRINT, kSeparator,
                             ID_FILE_MRU_FILE1, kSeparator, ID_APP_EXIT};
constexpr int kEditMenu[] = {ID_EDIT_COPY};
constexpr int kPictureMenu[] = {ID_PICTURE_COLOR, ID_PICTURE_GRAY, kSeparator,
                                ID_QUADTREE, ID_GRAY_GRID, kSeparator,
                                ID_ZANTREL, ID_GRID_LINES, kSeparator,
                                ID_PSNR, ID_BIT_RATE};
constexpr int kViewMenu[] = {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_EXPLORE, kSeparator,
                             ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, ID_VIEW_ACTUAL_SIZE, ID_VIEW_FIT,
                             kSeparator, ID_VIEW_COMPARE, ID_VIEW_LANGUAGE};
constexpr int kLanguageMenu[] = {ID_LANGUAGE_CHINESE, ID_LANGUAGE_ENGLISH};
constexpr int kHelpMenu[] = {ID_APP_ABOUT};

constexpr MenuDefinition kMenuBar[] = {
    {QT_TRANSLATE_NOOP("CommandTable", "文件(&F)"), kFileMenu},
    {QT_TRANSLATE_NOOP("CommandTable", "编辑(&E)"), kEditMenu},
    {QT_TRANSLATE_NOOP("CommandTable", "图象处理(&P)"), kPictureMenu},
    {QT_TRANSLATE_NOOP("CommandTable", "查看(&V)"), kViewMenu},
    {QT_TRANSLATE_NOOP("CommandTable", "帮助(&H)"), kHelpMenu},
};

constexpr int kToolBar[] = {ID_OPEN_PICTURE, kSeparator, ID_SAVE_PICTURE, kSeparator,
                            ID_PICTURE_COLOR, ID_PICTURE_GRAY, kSeparator,
                            ID_QUADTREE, ID_GRAY_GRID, kSeparator,
                            ID_ZANTREL, ID_GRID_LINES, kSeparator,
                            ID_PSNR, ID_BIT_RATE};
// clang-format on

}  // namespace

std::span<const CommandEntry> CommandTable() {
    return kCommands;
}

std::span<const MenuDefinition> MenuBar() {
    return kMenuBar;
}

std::span<const int> ToolBarButtons() {
    return kToolBar;
}

std::span<const int> LanguageMenu() {
    return kLanguageMenu;
}

QString CommandText(const char* source) {
    return QCoreApplication::translate("CommandTable", source);
}

const CommandEntry* FindCommand(int id) {
    const auto it = std::ranges::find(kCommands, id, &CommandEntry::id);
    return it == std::end(kCommands) ? nullptr : &*it;
}

}  // namespace zantrel
