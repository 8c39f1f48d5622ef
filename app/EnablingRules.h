#pragma once
// When each command is offered: one table of enabling rules over what the document holds, what
// the view shows and whether the worker computes. The main window applies them to its QActions;
// the state they read comes from CurrentPipelineState alone.

#include <span>

#include "view/DisplayMode.h"
#include "view/DocumentPictures.h"

namespace zantrel {

// What the enabling rules read.
struct PipelineState {
    DisplayMode displayMode;  // what the view shows
    bool pictureLoaded;       // a picture or a Zantrel file was opened
    bool decoded;             // the document is a decoded Zantrel file
    bool decomposed;          // the document holds a cut-line decomposition
    bool busy;                // a command or an explore run is computing
};
// The state of a document holding `pictures` whose view shows `displayMode`.
PipelineState CurrentPipelineState(const DocumentPictures& pictures, DisplayMode displayMode,
                                   bool busy);

struct EnablingRule {
    int id;
    bool (*enabled)(const PipelineState& state);
};

// The rule of every command of the command table.
std::span<const EnablingRule> EnablingRules();

// Whether `rule`'s command is on in `state`: by its rule, and not while the worker computes
// when it is one of the commands that process or save the pictures.
bool CommandEnabled(const EnablingRule& rule, const PipelineState& state);

}  // namespace zantrel
