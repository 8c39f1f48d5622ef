#pragma once
// The language of zantrel-cli's messages on stderr: Chinese, as the desktop application's, or
// English. Standard output's figure names never change.

#include <string>

namespace zantrel {

struct LanguageChoice {
    std::string language;  // "zh" or "en"; empty when `error` says why the choice was refused
    std::string error;
};

// Takes every "--lang LANG" and "--lang=LANG" before a "--" out of argv (so that no command's
// parser sees it; the last one counts). Without one, the first entry of `languageVariable`
// (the LANGUAGE environment variable, a colon-separated list, may be null) picks English when it
// is "en" or starts with "en_", Chinese otherwise.
LanguageChoice TakeLanguageChoice(int& argc, char** argv, const char* languageVariable);

}  // namespace zantrel
