#include "usage_checks.h"

#include "failures.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

namespace {

// The words no command or option took.
std::vector<std::string> LeftOverWords(const CLI::App& app) {
    return app.remaining(true);
}

} // namespace

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
        throw UsageError("überzähliges Argument für " + command->get_name() + ": " + word);
    }
    if (!command)
        throw UsageError("kein Befehl angegeben (members, objects, count oder merge)");
}

void RequireOperand(const CLI::App& command, const char* name) {
    const CLI::Option* operand = command.get_option(name);
    if (operand->results().empty() || operand->results().front().empty())
        throw UsageError(command.get_name() + ": " + name + " fehlt");
}

} // namespace cli
