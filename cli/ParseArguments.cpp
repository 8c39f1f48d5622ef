#include "cli/ParseArguments.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/ParserWords.h"
#include "import/MessageTranslation.h"
#include "picture/MessageText.h"

namespace zantrel {

namespace {

// The option of `app` that takes a value and is named exactly `word`, or nullptr.
const CLI::Option* ValueOption(const CLI::App& app, const char* word) {
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_expected_min() <= 0 || word[0] != '-')
            continue;
        if (word[1] == '-' ? option->check_lname(word + 2)
                           : word[1] != '\0' && word[2] == '\0' && option->check_sname(word + 1))
            return option;
    }
    return nullptr;
}

// The value's name as the option declares it, without the checks the library appends to it
// ("N:INT in [1 - 1024]" -> "N").
std::string ValueName(const CLI::Option* option) {
    const std::string name = option->get_type_name();
    return name.substr(0, name.find(':'));
}

// A word that reads as an option: "--name" or "-x"; a negative number ("-1", "-.5") is a value.
bool LooksLikeOption(const char* word) {
    return word[0] == '-' && word[1] != '\0' &&
           !(std::isdigit(static_cast<unsigned char>(word[1])) || word[1] == '.');
}

// The option's long name ("--output"), or its short one where it has none.
std::string LongName(const CLI::Option* option) {
    const auto& names = option->get_lnames();
    return names.empty() ? "-" + option->get_snames().front() : "--" + names.front();
}

std::string Translated(const char* pattern, std::initializer_list<std::string> arguments) {
    return TranslateMessage(pattern, std::vector<std::string>(arguments));
}

}  // namespace

std::string UsageText(const CLI::App& app) {
    std::string text = "usage: " + app.get_name();
    const std::string indent(text.size(), ' ');
    std::size_t lineStart = 0;
    auto add = [&](const std::string& item) {
        if (text.size() - lineStart + 1 + item.size() > 92) {
            text += "\n" + indent;
            lineStart = text.size() - indent.size();
        }
        text += " " + item;
    };
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_name() == "--help")
            continue;
        if (option->get_positional()) {
            add("[" + ValueName(option) + "]");
        } else if (option->get_expected_min() == 0) {
            add("[" + option->get_name() + "]");
        } else {
            add("[" + option->get_name() + " " + ValueName(option) + "]");
        }
    }
    return text + "\n";
}

int RefuseArguments(const CLI::App& app, const std::string& reason) {
    std::fprintf(stderr, "%s\n%s", reason.c_str(), UsageText(app).c_str());
    return 2;
}

int RefuseArgumentsInParserWords(const CLI::App& app, const std::string& reason) {
    return RefuseArguments(app, InParserWords(reason));
}

bool ParseArguments(CLI::App& app, int argc, char** argv,
                    std::initializer_list<const char*> pathOptions, int& exitCode) {
    // "--output --json" or "--grid -o" would write a file named --json or -o: a value that
    // looks like an option must be attached with "=" to the long option. "-o=x" would name
    // the file "=x".
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (const char* equals = std::strchr(argv[i], '=');
            equals && argv[i][0] == '-' && argv[i][1] != '-' && equals == argv[i] + 2) {
            const std::string shortName(argv[i], 2);
            if (const CLI::Option* option = ValueOption(app, shortName.c_str())) {
                exitCode = RefuseArguments(
                    app, Translated(ZANTREL_MESSAGE("Zantrel",
                                                    "%1 的值不能用“=”相连：请写 %1 %2 或 %3=%2。"),
                                    {shortName, equals + 1, LongName(option)}));
                return false;
            }
        }
        if (i + 1 < argc && ValueOption(app, argv[i]) && LooksLikeOption(argv[i + 1])) {
            exitCode = RefuseArguments(
                app, Translated(ZANTREL_MESSAGE("Zantrel",
                                                "%1 需要一个值，而不是选项 %2（以 - 开头的名字写作 "
                                                "%3=%2）。"),
                                {argv[i], argv[i + 1], LongName(ValueOption(app, argv[i]))}));
            return false;
        }
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::printf("%s", app.help().c_str());
        exitCode = 0;
        return false;
    } catch (const CLI::ParseError& error) {
        exitCode = RefuseArgumentsInParserWords(app, error.what());
        return false;
    }
    for (const char* name : pathOptions) {
        const CLI::Option* option = app.get_option(name);
        if (option->count() > 0 && option->as<std::string>().empty()) {
            exitCode = RefuseArgumentsInParserWords(
                app, std::string(option->get_positional() ? "INPUT" : name) +
                         ": a file name may not be empty");
            return false;
        }
    }
    return true;
}

}  // namespace zantrel
