#include "cli/ParseArguments.h"

#include <cstdio>
#include <cstring>

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

bool ParseArguments(CLI::App& app, int argc, char** argv,
                    std::initializer_list<const char*> pathOptions, int& exitCode) {
    // "--output --json" would write a file named --json: a value that looks like an option
    // must be attached with "=".
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (ValueOption(app, argv[i]) && std::strncmp(argv[i + 1], "--", 2) == 0) {
            exitCode =
                RefuseArguments(app, std::string(argv[i]) + " needs a value, not the option " +
                                         argv[i + 1] + " (a name that starts with -- is written " +
                                         argv[i] + "=" + argv[i + 1] + ")");
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
        exitCode = RefuseArguments(app, error.what());
        return false;
    }
    for (const char* name : pathOptions) {
        const CLI::Option* option = app.get_option(name);
        if (option->count() > 0 && option->as<std::string>().empty()) {
            exitCode = RefuseArguments(app, std::string(option->get_positional() ? "INPUT" : name) +
                                                ": a file name may not be empty");
            return false;
        }
    }
    return true;
}

}  // namespace zantrel
