#pragma once
// What every command of the command table does: one table from command ID to its handler,
// which runs in the main window it is given.

#include <span>

#include "app/CommandTable.h"

namespace zantrel {

std::span<const CommandBinding> CommandHandlers();

}  // namespace zantrel
