#include "cli/MessageLanguage.h"

#include <cstring>
#include <string_view>

namespace zantrel {

namespace {

bool IsEnglish(std::string_view entry) {
    return entry.starts_with("en") && (entry.size() == 2 || std::strchr("_-.@", entry[2]));
}

}  // namespace

LanguageChoice TakeLanguageChoice(int& argc, char** argv, const char* languageVariable) {
    std::string_view language = "zh";
    if (languageVariable) {
        const std::string_view list(languageVariable);
        if (IsEnglish(list.substr(0, list.find(':'))))
            language = "en";
    }
    int kept = 1;
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        const std::string_view word(argv[i]);
        if (word != "--lang" && !word.starts_with("--lang=")) {
            argv[kept++] = argv[i];
            continue;
        }
        std::string_view value;
        if (word != "--lang") {
            value = word.substr(std::strlen("--lang="));
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            return {{}, "--lang needs a value: en or zh"};
        }
        if (value != "en" && value != "zh") {
            return {{},
                    "--lang: unknown language \"" + std::string(value) +
                        "\"; the languages are en and zh"};
        }
        language = value;
    }
    for (; i < argc; ++i)
        argv[kept++] = argv[i];
    argc = kept;
    argv[argc] = nullptr;
    return {std::string(language), {}};
}

}  // namespace zantrel
