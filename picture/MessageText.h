#pragma once
// Texts the user reads. Their Chinese source is written where they arise, marked with
// ZANTREL_MESSAGE so that the translation tools find it (they read the marker as
// QT_TRANSLATE_NOOP); the front ends translate a text where they show it
// (import/MessageTranslation.h), so the engine needs neither a toolkit nor a global.

#include <span>
#include <string>
#include <string_view>

namespace zantrel {

// `text` itself; `context` is the translation context, always "Zantrel".
#define ZANTREL_MESSAGE(context, text) text

// `pattern` with %1 .. %9 replaced by `arguments` in one pass (a replaced value is never read
// again, so a file name holding "%2" stays as it is); a placeholder without a value stays.
std::string FillPlaceholders(std::string_view pattern, std::span<const std::string> arguments);

}  // namespace zantrel
