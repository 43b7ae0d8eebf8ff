#include "estate.h"

#include "ordered_pool.h"
#include "plain_text.h"
#include "progress_bar.h"
#include "standard_streams.h"

#include "text/text_facts.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <unistd.h>

namespace cli {

namespace {

// What one project gave: its output, or the runtime error that stands in its place.
struct ProjectResult {
    Output output;
    std::optional<vb::RuntimeError> error;
};

ProjectResult
ReadOne(const ProjectOperand& project, std::size_t index,
        const std::function<Output(const std::string& projectPath, std::size_t index)>& command) {
    if (project.error)
        return {{}, project.error};
    try {
        return {command(project.path, index), std::nullopt};
    } catch (const vb::RuntimeError& e) {
        return {{}, e};
    }
}

// Every line of `text` with `prefix` in front.
void AppendPrefixed(std::string& out, const std::string& prefix, std::string_view text) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end == std::string_view::npos ? text.size() : end + 1);
        out += prefix;
        out += line;
        text.remove_prefix(line.size());
    }
}

nlohmann::ordered_json ProjectDocument(const std::string& path, const vb::CodePage& codePage) {
    return {{"project", vb::ShownText(path, vb::TextKindOf(path), codePage)}};
}

} // namespace

std::string ProjectJsonLine(const std::string& projectPath, const std::string& document,
                            const vb::CodePage& codePage) {
    nlohmann::ordered_json line = ProjectDocument(projectPath, codePage);
    line.update(nlohmann::ordered_json::parse(document));
    return line.dump() + '\n';
}

void NoteMissingMember(Output& output, const Reading& reading, const vb::RuntimeError& error,
                       const ProgressBar* bar) {
    output.membersMissing = true;
    if (!reading.alone)
        output.notes.push_back(ErrorMessage(error));
    else if (bar)
        bar->note(ErrorMessage(error));
    else
        WriteToStandardError(ErrorMessage(error));
}

std::string FailureDescription(const vb::RuntimeError& error, const vb::CodePage& page) {
    if (error.path().empty())
        return error.description();
    return error.description() + ": " + PlainField(error.path(), vb::TextKindOf(error.path()), page);
}

bool RunOverProjects(
    const std::vector<ProjectOperand>& projects, const EstateRun& run,
    const std::function<Output(const std::string& projectPath, std::size_t index)>& command) {
    bool complete = true;
    std::int64_t members = 0;
    auto documents = nlohmann::ordered_json::array();
    ProgressBar bar(run.status, static_cast<int>(projects.size()), !run.quiet);
    const std::function<ProjectResult(std::size_t)> work = [&](std::size_t i) {
        return ReadOne(projects[i], i, command);
    };
    const std::function<void(std::size_t, ProjectResult &&)> done = [&](std::size_t i,
                                                                        ProjectResult&& result) {
        const std::string& path = projects[i].path;
        for (const std::string& note : result.output.notes)
            bar.note(note);
        if (result.error || result.output.membersMissing)
            complete = false;
        if (run.json) {
            nlohmann::ordered_json document = ProjectDocument(path, run.codePage);
            if (result.error)
                document["error"] = {{"number", result.error->number()},
                                     {"description", FailureDescription(*result.error, run.codePage)}};
            else
                document.update(nlohmann::ordered_json::parse(result.output.text));
            if (run.jsonLines)
                WriteAll(STDOUT_FILENO, document.dump() + '\n', std::string(kStandardOutputName));
            else
                documents.push_back(std::move(document));
        } else {
            const std::string field = PlainField(path, vb::TextKindOf(path), run.codePage);
            std::string out;
            if (result.error)
                AppendRecord(out, {field, "Fehler", std::to_string(result.error->number()),
                                   FailureDescription(*result.error, run.codePage)});
            else
                AppendPrefixed(out, field + "\t", result.output.text);
            WriteAll(STDOUT_FILENO, out, std::string(kStandardOutputName));
        }
        members += result.output.membersRead;
        bar.step(members > 0 ? "Projekte, " + std::to_string(members) + " Mitglieder" : "Projekte");
    };
    RunInOrder(projects.size(), run.jobs, work, done);
    nlohmann::ordered_json top = {{"projects", std::move(documents)}};
    std::string closing;
    if (run.finish)
        run.finish(closing, top);
    if (run.jsonLines) {
        top.erase("projects");
        closing = top.empty() ? std::string() : top.dump() + '\n';
    } else if (run.json) {
        closing = JsonText(top);
    }
    WriteAll(STDOUT_FILENO, closing, std::string(kStandardOutputName));
    return complete;
}

} // namespace cli
