#pragma once
// The translation of the texts below the desktop (refusals, file errors, the parameters'
// rules). Their Chinese source texts are the default; "en" installs the English catalogue
// built into the program. Both front ends call these, the desktop for its own message boxes.

#include <string>
#include <string_view>
#include <vector>

namespace zantrel {

// Installs the messages' translation for `language` into the running QCoreApplication (which
// must exist for "en"): "en" or "en_GB" installs English, anything else keeps Chinese. Returns
// whether a translation is installed.
bool InstallMessagesTranslation(std::string_view language);

// `pattern` (a source text marked with ZANTREL_MESSAGE("Zantrel", ...)) in the installed
// language, with %1, %2, ... replaced by `arguments`. Without a translation, or before any
// QCoreApplication exists, the Chinese text byte for byte.
std::string TranslateMessage(std::string_view pattern,
                             const std::vector<std::string>& arguments = {});

// A stage's status text as the engine reports it: the label translated, the count of size
// groups still to come that the search appends to it kept as it is.
std::string TranslateStageText(std::string_view text);

}  // namespace zantrel
