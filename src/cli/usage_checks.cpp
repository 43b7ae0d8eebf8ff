#include "usage_checks.h"

#include "failures.h"
#include "operands.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

namespace {

constexpr std::string_view kEndOfOptions = "--";

bool IsFlag(const CLI::Option* option) {
    return option && option->get_expected_max() == 0;
}

// The option of that name in the program or any of its commands, if it is a flag.
bool NamesAFlag(const CLI::App& app, const std::string& name) {
    if (IsFlag(app.get_option_no_throw(name)))
        return true;
    const std::vector<const CLI::App*> commands = app.get_subcommands([](const CLI::App*) { return true; });
    return std::any_of(commands.begin(), commands.end(),
                       [&](const CLI::App* command) { return IsFlag(command->get_option_no_throw(name)); });
}

// The words no command or option took, without the "--" that ended the options: CLI11 keeps that mark
// among them although it is no word of the user's.
std::vector<std::string> LeftOverWords(const CLI::App& app) {
    std::vector<std::string> words = app.remaining(true);
    std::size_t marks = words.size() - app.remaining_size(true);
    for (auto word = words.begin(); marks > 0 && word != words.end();) {
        if (*word == kEndOfOptions) {
            word = words.erase(word);
            --marks;
        } else {
            ++word;
        }
    }
    return words;
}

// The program's commands as a German list: "members, objects, … oder types".
std::string CommandList(const CLI::App& app) {
    const std::vector<const CLI::App*> commands = app.get_subcommands([](const CLI::App*) { return true; });
    std::string list;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (i > 0)
            list += i + 1 == commands.size() ? " oder " : ", ";
        list += commands[i]->get_name();
    }
    return list;
}

} // namespace

std::string GermanParseError(const CLI::ParseError& error) {
    // CLI11 names the option first: "--jobs: 1 required N missing".
    const std::string text = error.what();
    const std::size_t colon = text.find(": ");
    const std::string name = colon == std::string::npos ? std::string() : text.substr(0, colon);
    if (!name.empty() && dynamic_cast<const CLI::ArgumentMismatch*>(&error))
        return "die Option " + name + " braucht einen Wert";
    // The checks of the program's own options say everything in German after the name.
    if (!name.empty() && dynamic_cast<const CLI::ValidationError*>(&error))
        return text.substr(colon + 2);
    if (!name.empty() && dynamic_cast<const CLI::ConversionError*>(&error))
        return "ungültiger Wert für " + name;
    return name.empty() ? "fehlerhafter Aufruf" : "fehlerhafter Aufruf (" + name + ")";
}

std::string OneWordTooMany(const CLI::App& command, const std::string& word) {
    return "überzähliges Argument für " + command.get_name() + ": " + word;
}

bool NamesOption(int argc, const char* const* argv, std::string_view name) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == kEndOfOptions)
            return false;
        if (word == name || (word.starts_with(name) && word.substr(name.size()).starts_with('=')))
            return true;
    }
    return false;
}

void RequireProjectOperands(const CLI::App& command, const std::vector<std::string>& operands) {
    for (std::size_t i = 1; i < operands.size(); ++i)
        if (!NamesProjects(operands.front()) || !NamesProjects(operands[i]))
            throw UsageError(OneWordTooMany(command, operands[i]));
}

void RejectFlagValues(const CLI::App& app, int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == kEndOfOptions)
            return;
        const std::size_t equals = word.find('=');
        if (!word.starts_with("--") || equals == std::string_view::npos)
            continue;
        const std::string name(word.substr(0, equals));
        if (NamesAFlag(app, name))
            throw UsageError("die Option " + name + " nimmt keinen Wert: " + std::string(word));
    }
}

void CheckCommandWords(const CLI::App& app) {
    const std::vector<CLI::App*> chosen = app.get_subcommands();
    const CLI::App* command = chosen.empty() ? nullptr : chosen.front();
    const std::vector<std::string> rest = LeftOverWords(app);
    if (!rest.empty()) {
        const std::string& word = rest.front();
        if (!command)
            throw UsageError("unbekannter Befehl: " + word);
        if (word.size() > 1 && word.front() == '-')
            throw UsageError("unbekannte Option für " + command->get_name() + ": " + word);
        throw UsageError(OneWordTooMany(*command, word));
    }
    if (!command)
        throw UsageError("kein Befehl angegeben (" + CommandList(app) + ")");
    if (chosen.size() > 1)
        throw UsageError("überzähliger Befehl für " + command->get_name() + ": " + chosen[1]->get_name());
}

void ReportMissingOperand(const CLI::App& command) {
    for (const CLI::Option* operand : command.get_options()) {
        if (operand->get_positional() && operand->get_required() && operand->count() == 0)
            throw UsageError(command.get_name() + ": " + operand->get_name() + " fehlt");
    }
}

void RequireOperand(const CLI::App& command, const char* name) {
    const CLI::Option* operand = command.get_option(name);
    if (operand->results().empty() || operand->results().front().empty())
        throw UsageError(command.get_name() + ": " + name + " fehlt");
}

} // namespace cli
