#pragma once
// Why a picture file did not load, as a value the front end shows: the loaders show nothing.

#include <string>
#include <variant>

#include "platform/Shell.h"

namespace zantrel {

// A file the reader would not take, with the message that says why.
struct Refusal {
    std::string message;
};

struct LoadError {
    std::string fileName;  // the path the user gave
    std::variant<Refusal, FileErrorCause> cause;

    bool IsRefusal() const { return std::holds_alternative<Refusal>(cause); }
};

// Shows `error` as every front end words it: a refusal in a message box captioned with the
// application's name, a file error through the shell's file-error report.
void ShowLoadError(Shell& shell, const LoadError& error);

}  // namespace zantrel
