#include "app/EnablingRules.h"

#include <algorithm>
#include <iterator>

#include "app/CommandTable.h"

namespace zantrel {

namespace {

// clang-format off
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
    {ID_LANGUAGE_CHINESE, Always},
    {ID_LANGUAGE_ENGLISH, Always},
};
// clang-format on

// While the worker computes, the commands that process or save the pictures wait for it.
constexpr int kWaitForWorker[] = {ID_SAVE_PICTURE, ID_SAVE_ZTL,  ID_PICTURE_COLOR, ID_PICTURE_GRAY,
                                  ID_QUADTREE,     ID_GRAY_GRID, ID_ZANTREL,       ID_GRID_LINES,
                                  ID_PSNR,         ID_BIT_RATE};

}  // namespace

PipelineState CurrentPipelineState(const DocumentPictures& pictures, DisplayMode displayMode,
                                   bool busy) {
    return {displayMode, pictures.Loaded(), pictures.Decoded() != nullptr, pictures.Decomposed(),
            busy};
}

std::span<const EnablingRule> EnablingRules() {
    return kRules;
}

bool CommandEnabled(const EnablingRule& rule, const PipelineState& state) {
    if (state.busy && std::ranges::find(kWaitForWorker, rule.id) != std::end(kWaitForWorker))
        return false;
    return rule.enabled(state);
}

}  // namespace zantrel
