#pragma once
// The commands of the main window as data: one table from command ID to texts, shortcut and
// handler, one table of enabling rules read from the view and the document, and the layouts
// of the menu bar and the toolbar. The frame builds its QActions from these tables and
// nothing else.

#include <QString>
#include <QtGlobal>
#include <span>

#include "view/DisplayMode.h"

namespace zantrel {

enum CommandId : int {
    ID_PICTURE_COLOR = 32771,
    ID_PICTURE_GRAY = 32775,
    ID_QUADTREE = 32779,
    ID_ZANTREL = 32780,
    ID_GRAY_GRID = 32781,
    ID_OPEN_PICTURE = 32782,
    ID_SAVE_PICTURE = 32783,
    ID_PSNR = 32784,
    ID_GRID_LINES = 32785,
    ID_BIT_RATE = 32786,
    ID_IMPORT_PICTURE = 32787,
    ID_SAVE_ZTL = 32788,
    ID_SAVE_SHOWN = 32790,
    ID_EDIT_COPY = 32791,
    ID_VIEW_ZOOM_IN = 32800,
    ID_VIEW_ZOOM_OUT = 32801,
    ID_VIEW_ACTUAL_SIZE = 32802,
    ID_VIEW_FIT = 32803,
    ID_VIEW_COMPARE = 32804,
    ID_VIEW_EXPLORE = 32805,
    ID_CANCEL_RUN = 32806,     // Esc and the status bar's button: stops the running command
    ID_VIEW_LANGUAGE = 32807,  // marks the place of the language submenu in the View menu
    ID_LANGUAGE_CHINESE = 32808,
    ID_LANGUAGE_ENGLISH = 32809,
    ID_FILE_NEW = 57600,
    ID_FILE_PRINT = 57607,
    ID_FILE_MRU_FILE1 = 57616,  // the recent files take 57616 … 57619
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

class ZantrelApp;
class ZantrelDoc;
class ZantrelView;
using CommandHandler = void (*)(ZantrelApp& app);

// The texts of the tables below are Chinese source texts, shown through CommandText.
struct CommandEntry {
    int id;
    const char* caption;   // menu text
    const char* prompt;    // status-bar prompt while the item or button is highlighted
    const char* tooltip;   // toolbar tooltip
    const char* shortcut;  // portable key text, or nullptr
    CommandHandler handler;
};

// What the enabling rules read.
struct PipelineState {
    DisplayMode displayMode;
    bool pictureLoaded;
    bool decoded;     // the document came from a .ztl file
    bool decomposed;  // the document holds a cut-line decomposition
    bool busy;        // a command or an explore run is computing
};
// The view's display mode, what the document holds and whether the worker is busy.
PipelineState CurrentPipelineState(const ZantrelView& view, const ZantrelDoc& doc, bool busy);

struct EnablingRule {
    int id;
    bool (*enabled)(const PipelineState& state);
};

// Whether `rule`'s command is on in `state`: by its rule, and not while the worker computes
// when it is one of the commands that process or save the pictures.
bool CommandEnabled(const EnablingRule& rule, const PipelineState& state);

inline constexpr int kSeparator = 0;

struct MenuDefinition {
    const char* title;
    std::span<const int> items;  // command IDs; kSeparator for a line; ID_FILE_MRU_FILE1
                                 // marks the place of the recent-file list
};

std::span<const CommandEntry> CommandTable();
std::span<const EnablingRule> EnablingRules();
std::span<const MenuDefinition> MenuBar();
std::span<const int> ToolBarButtons();
// The items of the language submenu.
std::span<const int> LanguageMenu();

// The entry of `id`, or nullptr.
const CommandEntry* FindCommand(int id);

// A text of these tables in the interface's language.
QString CommandText(const char* source);

// The prompt of the recent-file entries.
inline constexpr const char* kRecentFilePrompt = QT_TRANSLATE_NOOP("CommandTable", "打开该文档");
// The text of the recent-file place while the list is empty.
inline constexpr const char* kRecentFilePlaceholder = QT_TRANSLATE_NOOP("CommandTable", "最近文件");
// The language submenu's title, and its items' captions, each in its own language, so that
// they read the same whatever the interface shows.
inline constexpr const char* kLanguageMenuTitle = "语言 / Language";

}  // namespace zantrel
