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

// `value` as indented JSON text whose lines after the first start with `indent` blanks: the text it has
// as part of a document dumped whole with two blanks a level.
std::string Nested(const nlohmann::ordered_json& value, std::size_t indent) {
    const std::string text = value.dump(2);
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        out.append(text, start, end + 1 - start);
        out.append(indent, ' ');
    }
    out.append(text, start);
    return out;
}

// The document {"projects": [...], ...} written a piece at a time, with the bytes that dumping it whole
// with two blanks a level gives (no string in it holds a line end, JSON escapes them).
class ProjectsDocument {
public:
    void add(const nlohmann::ordered_json& project) {
        std::string out = first_ ? "{\n  \"projects\": [\n    " : ",\n    ";
        first_ = false;
        out += Nested(project, 4);
        WriteAll(STDOUT_FILENO, out, std::string(kStandardOutputName));
    }
    // Closes the list of projects and writes the keys of `rest` after it.
    void finish(const nlohmann::ordered_json& rest) {
        std::string out = first_ ? "{\n  \"projects\": []" : "\n  ]";
        for (const auto& [key, value] : rest.items())
            out += ",\n  " + nlohmann::ordered_json(key).dump() + ": " + Nested(value, 2);
        out += "\n}\n";
        WriteAll(STDOUT_FILENO, out, std::string(kStandardOutputName));
    }

private:
    bool first_ = true;
};

} // namespace

nlohmann::ordered_json ProjectEntry(const std::string& projectPath, const nlohmann::ordered_json& document,
                                    const vb::CodePage& codePage) {
    nlohmann::ordered_json entry = {
        {"project", vb::ShownText(projectPath, vb::TextKindOf(projectPath), codePage)}};
    entry.update(document);
    return entry;
}

inventory::MemberReading MemberReadingOf(const Reading& reading, Output& output) {
    return {reading.codePage, reading.keepGoing, [&reading, &output](const vb::RuntimeError& error) {
                NoteMissingMember(output, reading, error);
            }};
}

std::string SharedText(const inventory::SharedMembers& shared, const vb::CodePage& page) {
    std::string out;
    for (const inventory::SharedFile& file : shared.shared()) {
        out += "Geteilt\t" + PlainField(file.file, vb::TextKindOf(file.file), page);
        for (const std::string& project : file.projects)
            out += "\t" + PlainField(project, vb::TextKindOf(project), page);
        out += "\n";
    }
    return out;
}

nlohmann::ordered_json SharedDocument(const inventory::SharedMembers& shared, const vb::CodePage& page) {
    auto records = nlohmann::ordered_json::array();
    for (const inventory::SharedFile& file : shared.shared()) {
        auto projects = nlohmann::ordered_json::array();
        for (const std::string& project : file.projects)
            projects.push_back(vb::ShownText(project, vb::TextKindOf(project), page));
        records.push_back({{"file", vb::ShownText(file.file, vb::TextKindOf(file.file), page)},
                           {"projects", std::move(projects)}});
    }
    return records;
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
    ProjectsDocument documents;
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
            nlohmann::ordered_json document;
            if (result.error)
                document =
                    ProjectEntry(path,
                                 {{"error",
                                   {{"number", result.error->number()},
                                    {"description", FailureDescription(*result.error, run.codePage)}}}},
                                 run.codePage);
            else
                document = ProjectEntry(path, result.output.document, run.codePage);
            if (run.jsonLines)
                WriteAll(STDOUT_FILENO, document.dump() + '\n', std::string(kStandardOutputName));
            else
                documents.add(document);
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
    nlohmann::ordered_json rest = nlohmann::ordered_json::object();
    std::string closing;
    if (run.finish)
        run.finish(closing, rest);
    if (run.jsonLines && !rest.empty())
        WriteAll(STDOUT_FILENO, rest.dump() + '\n', std::string(kStandardOutputName));
    else if (run.json && !run.jsonLines)
        documents.finish(rest);
    else if (!run.json)
        WriteAll(STDOUT_FILENO, closing, std::string(kStandardOutputName));
    return complete;
}

} // namespace cli
