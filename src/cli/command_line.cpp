#include "command_line.h"

#include "commands.h"
#include "components.h"
#include "estate.h"
#include "failures.h"
#include "merge_into_folder.h"
#include "operands.h"
#include "ordered_pool.h"
#include "plain_text.h"
#include "standard_streams.h"
#include "usage_checks.h"

#include "files/file_identity.h"
#include "merger/merged_file.h"
#include "report/report_figures.h"
#include "report/report_file.h"
#include "report/report_page.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <mutex>

#include <charconv>
#include <filesystem>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace cli {

namespace {

constexpr const char* kDescription =
    "vbprojekt " VBPROJEKT_VERSION
    " - Visual-Basic-5/6-Projekte ohne Fenster: dieselben Zahlen wie voduvov,\n"
    "dieselbe zusammengefasste Datei wie vuzaraze.";

constexpr const char* kFooter =
    "Ausgabe: eine Zeile je Datensatz, Felder durch Tabulatoren getrennt (für cut, awk, sort).\n"
    "Einträge, Typen und Namen werden als UTF-8 ausgegeben: aus einer Datei, die gültiges UTF-8 mit\n"
    "Zeichen über ASCII ist, wie sie stehen, aus jeder anderen als Windows-1252 (oder --encoding).\n"
    "Steuerzeichen darin (auch der Tabulator) erscheinen als ihre Symbolzeichen U+2400 bis U+241F und\n"
    "U+2421 (der Tabulator als U+2409), der Backslash bleibt wie geschrieben. --json gibt stattdessen ein\n"
    "JSON-Dokument aus, dessen Texte dieselben Zeichen tragen; seine Form beschreibt\n"
    "/usr/share/vbprojekt/schema/BEFEHL.schema.json (JSON Schema).\n"
    "Mitgliedsdateien werden relativ zum Ordner der Projektdatei gesucht.\n"
    "PROJEKT: eine Projektdatei, eine Projektgruppe (.vbg) oder ein Ordner (darin jede .vbp, rekursiv,\n"
    "in Byte-Reihenfolge); mehrere lesen einen ganzen Bestand, jedes Projekt einmal, --jobs zugleich.\n"
    "Dann beginnt jede Zeile mit dem Pfad des Projekts; ein Projekt, das scheitert, steht als\n"
    "PFAD<TAB>Fehler<TAB>NUMMER<TAB>BESCHREIBUNG an seinem Platz (Exit-Status 1), im JSON unter "
    "\"projects\".\n"
    "Auf einem Terminal zeigen merge und count bei mehr als 5 Mitgliedsdateien einen Fortschrittsbalken\n"
    "auf der Standardfehlerausgabe, so breit wie das Terminal (nicht mit --quiet oder TERM=dumb).\n"
    "Exit-Status: 0 Erfolg, 1 Laufzeitfehler (\"vbprojekt: Laufzeitfehler 53: Datei nicht gefunden: "
    "PFAD\"),\n"
    "verweigertes Überschreiben oder eine fehlende Mitgliedsdatei (check, components,\n"
    "--keep-going), 2 fehlerhafter Aufruf.";

constexpr const char* kProject = "PROJEKT";
constexpr const char* kOutput = "AUSGABE";
constexpr const char* kMoreProjects = "WEITERE";

struct Arguments {
    std::vector<std::string> projects;
    std::string project; // objects and merge: the first project
    std::string output;
    std::string outputDir;
    std::vector<std::string> entries;
    int jobs = DefaultJobs();
    bool json = false;
    bool jsonLines = false; // implies json
    bool quiet = false;
    bool codeOnly = false;
    bool byProject = false;
    bool byLibrary = false;
    std::size_t top = 0; // procedures: 0 lists them all
    bool keepGoing = false;
    std::string encoding = "auto";
    std::string format = "text";
    bool lineNumbers = false;
    std::string split;
    bool splitGiven = false; // also with an empty size, which is no size
    std::string title;
    // The run gathers the commands' documents for the report instead of writing them; `notesWritten`
    // leaves their message lines out (another section of the report has written them).
    nlohmann::ordered_json* collected = nullptr;
    bool notesWritten = false;
    // False once a command went on past a member file that could not be opened.
    bool complete = true;
};

// The code page named by --encoding; UsageError for a name iconv does not know, or one that does not keep
// ASCII as ASCII (the project's keys, line ends and paths would not read as themselves).
vb::CodePage CodePageOf(const Arguments& args) {
    if (auto page = vb::CodePage::Named(args.encoding)) {
        if (!page->keepsAscii())
            throw UsageError("Zeichenkodierung \"" + args.encoding +
                             "\" lässt ASCII nicht unverändert (wie UTF-16 oder UCS-4); --encoding nimmt nur "
                             "Codepages, in denen jedes ASCII-Zeichen es selbst bleibt");
        return *page;
    }
    throw UsageError("unbekannte Zeichenkodierung \"" + args.encoding + "\" (--encoding)");
}

// True when `output` names something other than a plain file or a name for one: a device, a named pipe,
// a socket, or a name among the devices or the process's descriptors (/dev/stdout, /dev/fd/1, /proc/...).
bool IsNoFileForParts(const std::string& output) {
    struct stat st {};
    if (::stat(output.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return true;
    std::error_code ignored;
    const std::filesystem::path folder =
        std::filesystem::weakly_canonical(std::filesystem::absolute(output, ignored).parent_path(), ignored);
    const auto top = folder.begin() == folder.end() ? folder.end() : std::next(folder.begin());
    return folder == "/dev" || (top != folder.end() && folder.root_path() == "/" && *top == "proc");
}

// The merge's document form; UsageError for a format, split size or combination it does not take.
merger::DocumentMerge DocumentMergeOf(const Arguments& args) {
    merger::DocumentMerge how;
    const auto format = merger::DocumentFormatNamed(args.format);
    if (!format)
        throw UsageError("unbekanntes Format \"" + args.format + "\" (--format: text, markdown, xml, json)");
    how.format = *format;
    how.lineNumbers = args.lineNumbers;
    how.codePage = CodePageOf(args);
    // The text format keeps every byte as it is, so a code page would change nothing there.
    if (how.format == merger::DocumentFormat::Text && args.encoding != "auto")
        throw UsageError("--encoding gibt es bei merge nur mit --format markdown, xml oder json");
    if (args.splitGiven) {
        const auto size = SplitSizeNamed(args.split);
        if (!size)
            throw UsageError("ungültige Größe \"" + args.split + "\" (--split: Bytes, z. B. 500k oder 2M)");
        if (how.format == merger::DocumentFormat::Text)
            throw UsageError("--split gibt es nur mit --format markdown, xml oder json");
        if (args.output == kStandardOutputPath)
            throw UsageError("--split braucht eine Ausgabedatei, nicht die Standardausgabe");
        // The parts are made beside the name given: beside a device or a descriptor they would be plain
        // files where none belong (/dev/null.1, /dev/stdout.1).
        if (!args.output.empty() && IsNoFileForParts(args.output))
            throw UsageError("--split braucht eine Ausgabedatei, nicht ein Gerät, eine benannte Pipe oder "
                             "die Standardausgabe: " +
                             args.output);
        how.splitSize = *size;
    }
    return how;
}

Reading ReadingOf(const Arguments& args) {
    Reading reading{CodePageOf(args), args.keepGoing};
    reading.quiet = args.quiet;
    return reading;
}

// Writes a command's output and notes whether it is complete.
void WriteOut(const Output& output, Arguments& args);

// The output of the run's one project: written, or its document kept in `args.collected`.
void Deliver(const std::string& projectPath, Output output, Arguments& args);
// Runs a reading command over its operands: for exactly one project file its output as it always was,
// otherwise the output of every project the operands reach, with the project's path in front.
// With `args.collected` the document goes there instead.
void ReadProjects(const std::vector<std::string>& operands, Arguments& args, const char* status,
                  const std::function<Output(const std::string& projectPath, bool oneProject)>& command,
                  const std::function<void(std::string&, nlohmann::ordered_json&)>& finish = {},
                  const std::function<void(std::size_t index, const std::string& projectPath)>& each = {});

// The reading of one project among the command's: alone (its own progress bar and message lines at once)
// only when it is the run's one project and the run writes its output itself.
Reading ReadingOfProject(Reading reading, const Arguments& args, bool oneProject) {
    reading.alone = oneProject && !args.collected;
    return reading;
}

void GermanLabels(CLI::App& app) {
    const auto formatter = app.get_formatter();
    formatter->label("Usage", "Aufruf");
    formatter->label("OPTIONS", "OPTIONEN");
    formatter->label("SUBCOMMAND", "BEFEHL");
    formatter->label("SUBCOMMANDS", "BEFEHLE");
    formatter->label("Positionals", "Argumente");
    formatter->label("REQUIRED", "ERFORDERLICH");
    formatter->column_width(24);
}

CLI::App* AddCommand(CLI::App& app, const char* name, const char* description, const char* footer) {
    CLI::App* command = app.add_subcommand(name, description);
    command->group("Befehle");
    command->footer(footer);
    command->allow_extras(); // unknown words are reported by the program itself, in German
    command->fallthrough();  // the program's own options (--quiet) may follow the command
    command->get_help_ptr()->group("Optionen");
    return command;
}

constexpr const char* kProjectHelp =
    "Projektdatei (.vbp), Projektgruppe (.vbg) oder Ordner\n(darin alle .vbp, rekursiv)";

void AddProject(CLI::App* command, Arguments& args) {
    command->add_option(kProject, args.project, kProjectHelp)->type_name("")->required();
}

void AddProjects(CLI::App* command, Arguments& args) {
    command->add_option(kProject, args.projects, kProjectHelp)->type_name("")->required();
}

void AddJobs(CLI::App* command, Arguments& args) {
    command
        ->add_option("-j,--jobs", args.jobs,
                     "Liest so viele Projekte zugleich (Vorgabe: die Zahl der Kerne;\n1: der Reihe nach)")
        ->type_name("N")
        ->check([](const std::string& value) {
            int n = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
            return error == std::errc() && end == value.data() + value.size() && n >= 1
                       ? std::string()
                       : "--jobs braucht eine ganze Zahl ab 1: " + value;
        });
}

void AddJson(CLI::App* command, Arguments& args) {
    command->add_flag("--json", args.json, "Gibt ein JSON-Dokument aus statt Textzeilen");
    command->add_flag("--json-lines", args.jsonLines,
                      "Mehrere Projekte: je Projekt sein JSON-Dokument in einer Zeile, sobald es an der\n"
                      "Reihe ist; was den Lauf zusammenfasst, zuletzt in einer eigenen Zeile");
}

void WriteOut(const std::string& text) {
    WriteAll(STDOUT_FILENO, text, std::string(kStandardOutputName));
}

void WriteOut(const Output& output, Arguments& args) {
    for (const std::string& note : output.notes)
        WriteToStandardError(note);
    WriteOut(!args.json       ? output.text
             : args.jsonLines ? output.document.dump() + '\n'
                              : JsonText(output.document));
    if (output.membersMissing)
        args.complete = false;
}

// How a run over several projects reads and writes, from the command's arguments.
EstateRun EstateRunOf(const Arguments& args, const char* status,
                      const std::function<void(std::string&, nlohmann::ordered_json&)>& finish = {}) {
    EstateRun run{args.json, args.jobs, CodePageOf(args), status, finish};
    run.jsonLines = args.jsonLines;
    run.quiet = args.quiet;
    run.collected = args.collected;
    run.notesWritten = args.notesWritten;
    return run;
}

void Deliver(const std::string& projectPath, Output output, Arguments& args) {
    if (!args.collected) {
        // With --json-lines the one project's document is its line, as among several.
        if (args.jsonLines)
            output.document = ProjectEntry(projectPath, output.document, CodePageOf(args));
        WriteOut(output, args);
        return;
    }
    if (!args.notesWritten)
        for (const std::string& note : output.notes)
            WriteToStandardError(note);
    if (output.membersMissing)
        args.complete = false;
    *args.collected = std::move(output.document);
}

void ReadProjects(const std::vector<std::string>& operands, Arguments& args, const char* status,
                  const std::function<Output(const std::string& projectPath, bool oneProject)>& command,
                  const std::function<void(std::string&, nlohmann::ordered_json&)>& finish,
                  const std::function<void(std::size_t index, const std::string& projectPath)>& each) {
    if (IsOneProjectFile(operands)) {
        Deliver(operands.front(), command(operands.front(), true), args);
        return;
    }
    const EstateRun run = EstateRunOf(args, status, finish);
    if (!RunOverProjects(ProjectsOfOperands(operands, args.jobs), run,
                         [&](const std::string& projectPath, std::size_t index) {
                             if (each)
                                 each(index, projectPath);
                             return command(projectPath, false);
                         }))
        args.complete = false;
}

void AddEncoding(CLI::App* command, Arguments& args) {
    command
        ->add_option("--encoding", args.encoding,
                     "Codepage der Dateien, die nicht UTF-8 sind (iconv-Name wie CP1250, CP1251, GBK;\n"
                     "auto: Windows-1252)")
        ->type_name("NAME");
}

void AddKeepGoing(CLI::App* command, Arguments& args) {
    command->add_flag("-k,--keep-going", args.keepGoing,
                      "Macht nach einer Mitgliedsdatei weiter, die sich nicht öffnen lässt (Exit-Status 1)");
}

void AddMembers(CLI::App& app, Arguments& args) {
    CLI::App* members = AddCommand(
        app, "members", "Arten der Mitglieder mit Anzahl und Einträgen",
        "Zeilen: GRUPPE<TAB>ANZAHL je Art (Formulare, Module, Klassenmodule,\n"
        "Benutzersteuerelemente, Eigenschaftenseiten), darauf GRUPPE<TAB>NR<TAB>EINTRAG je Eintrag,\n"
        "in der Reihenfolge der Projektdatei; Einträge wie geschrieben.");
    AddProjects(members, args);
    AddJson(members, args);
    AddEncoding(members, args);
    AddJobs(members, args);
    members->callback([members, &args] {
        RequireOperand(*members, kProject);
        RequireProjectOperands(*members, args.projects);
        const vb::CodePage page = CodePageOf(args);
        ReadProjects(args.projects, args, "Lesen der Projekte",
                     [&](const std::string& path, bool) { return MembersOutput(path, args.json, page); });
    });
}

void AddObjects(CLI::App& app, Arguments& args) {
    CLI::App* objects =
        AddCommand(app, "objects", "Objekttypen und Objektnamen je Formular, Steuerelement, Seite",
                   "Ohne EINTRAG: jedes Formular, Benutzersteuerelement und jede Eigenschaftenseite.\n"
                   "EINTRAG: ein Mitglied genau wie im Projekt geschrieben (z. B. Formulare\\Main.frm);\n"
                   "ein Name, der kein Eintrag des Projekts ist, ist ein Aufruffehler (Exit-Status 2).\n"
                   "Zeilen: GRUPPE<TAB>EINTRAG<TAB>TYP<TAB>NAME, eine je Objekt, Typen in der Reihenfolge\n"
                   "ihres ersten Auftretens, Namen in der Reihenfolge ihrer Deklaration; ein Mitglied ohne\n"
                   "Objekte gibt keine Zeile (im JSON steht es mit leerer Typenliste).\n"
                   "Weitere Projektdateien (.vbp), Projektgruppen (.vbg) und Ordner nach PROJEKT werden\n"
                   "ebenso gelesen; EINTRAG nur mit genau einer Projektdatei.");
    AddProject(objects, args);
    objects->add_option("EINTRAG", args.entries, "Nur diese Mitglieder, in dieser Reihenfolge")
        ->type_name("");
    AddJson(objects, args);
    AddKeepGoing(objects, args);
    AddEncoding(objects, args);
    AddJobs(objects, args);
    objects->callback([objects, &args] {
        RequireOperand(*objects, kProject);
        // Words after the project that name projects are operands too; the others are entries.
        std::vector<std::string> operands = {args.project};
        std::vector<std::string> entries;
        for (const std::string& word : args.entries)
            (NamesProjects(args.project) && NamesProjects(word) ? operands : entries).push_back(word);
        if (!entries.empty() && !IsOneProjectFile(operands))
            throw UsageError("objects: EINTRAG nur mit genau einer Projektdatei");
        const Reading reading = ReadingOf(args);
        ReadProjects(operands, args, "Lesen der Objekte", [&](const std::string& path, bool one) {
            Reading own = reading;
            own.alone = one;
            return ObjectsOutput(path, entries, args.json, own);
        });
    });
}

void RunCount(Arguments& args) {
    const Reading reading = ReadingOf(args);
    ReadProjects(args.projects, args, "Zählen aller Voduvov", [&](const std::string& path, bool one) {
        return CountOutput(path, args.json, ReadingOfProject(reading, args, one));
    });
}

void AddCount(CLI::App& app, Arguments& args) {
    CLI::App* count =
        AddCommand(app, "count", "Anzahl aller Objekte (die Zahl von \"Alle Voduvov:\")",
                   "Zeilen: ANZAHL<TAB>GRUPPE<TAB>EINTRAG je gezähltem Formular,\n"
                   "Benutzersteuerelement und jeder Eigenschaftenseite, zuletzt ANZAHL<TAB>Gesamt.");
    AddProjects(count, args);
    AddJson(count, args);
    AddKeepGoing(count, args);
    AddEncoding(count, args);
    AddJobs(count, args);
    count->callback([count, &args] {
        RequireOperand(*count, kProject);
        RequireProjectOperands(*count, args.projects);
        RunCount(args);
    });
}

void RunCheck(Arguments& args) {
    const vb::CodePage page = CodePageOf(args);
    inventory::SharedMembers shared;
    ReadProjects(
        args.projects, args, "Prüfen der Projekte",
        [&](const std::string& path, bool) { return CheckOutput(path, args.json, page); },
        [&](std::string& text, nlohmann::ordered_json& document) {
            if (args.json)
                document["shared"] = SharedDocument(shared, page);
            else
                text = SharedText(shared, page);
        },
        [&](std::size_t index, const std::string& path) { shared.addProject(index, path); });
}

void AddCheck(CLI::App& app, Arguments& args) {
    CLI::App* check =
        AddCommand(app, "check", "Prüft, wie die Mitglieder gefunden werden und woraus ihre Dateien bestehen",
                   "Zeilen (erstes Feld die Art des Befunds, Felder im README):\n"
                   "Projekt, Gefunden/Fehlt je Eintrag und Suche (Zählen, Zusammenführen, wo es abweicht),\n"
                   "Außerhalb, Datei (Zeilenenden, Text, Kopf), Undefiniert, Nicht gelesen, zuletzt Summe.\n"
                   "Exit-Status 1, wenn sich eine Mitgliedsdatei nicht öffnen lässt.");
    AddProjects(check, args);
    AddJson(check, args);
    AddEncoding(check, args);
    AddJobs(check, args);
    check->callback([check, &args] {
        RequireOperand(*check, kProject);
        RequireProjectOperands(*check, args.projects);
        RunCheck(args);
    });
}

void RunLines(Arguments& args) {
    const Reading reading = ReadingOf(args);
    inventory::LineSums all;
    ReadProjects(
        args.projects, args, "Zählen der Zeilen",
        [&](const std::string& path, bool one) {
            counter::LineTally project;
            Output output = LinesOutput(path, args.json, ReadingOfProject(reading, args, one), &project);
            all.add(project);
            return output;
        },
        [&](std::string& text, nlohmann::ordered_json& document) {
            if (args.json)
                document["total"] = LineTallyRecord(all.total());
            else
                text = LineTallyLine("Alle Projekte", all.total());
        });
}

void AddLines(CLI::App& app, Arguments& args) {
    CLI::App* lines = AddCommand(
        app, "lines", "Zeilen je Mitglied: Objektbeschreibung, Attribute, Code, Leer- und Kommentarzeilen",
        "Zeilen: Mitglied<TAB>GRUPPE<TAB>EINTRAG<TAB>ZAHLEN je Mitglied in der Reihenfolge der\n"
        "Projektdatei, Art<TAB>GRUPPE<TAB>ZAHLEN je Art, Gesamt<TAB>ZAHLEN; ZAHLEN: alle Zeilen,\n"
        "Objektbeschreibung, Attributzeilen, Codezeilen, davon leer, davon Kommentar (im README).\n"
        "Mehrere Projekte: zuletzt Alle Projekte<TAB>ZAHLEN.");
    AddProjects(lines, args);
    AddJson(lines, args);
    AddKeepGoing(lines, args);
    AddEncoding(lines, args);
    AddJobs(lines, args);
    lines->callback([lines, &args] {
        RequireOperand(*lines, kProject);
        RequireProjectOperands(*lines, args.projects);
        RunLines(args);
    });
}

void RunTypes(Arguments& args) {
    const Reading reading = ReadingOf(args);
    const bool together = !args.byProject && !IsOneProjectFile(args.projects);
    std::mutex mutex;
    inventory::TypeInventory all;
    inventory::SharedMembers shared;
    ReadProjects(
        args.projects, args, "Zählen der Objekttypen",
        [&](const std::string& path, bool one) {
            inventory::TypeInventory project;
            Output output = TypesOutput(path, args.json, ReadingOfProject(reading, args, one), &project);
            if (together) { // the projects' own tables give way to the one of the run
                output.text.clear();
                output.document = nlohmann::ordered_json::object();
                const std::lock_guard lock(mutex);
                all.addProject(project);
            }
            return output;
        },
        [&](std::string& text, nlohmann::ordered_json& document) {
            if (args.json)
                document["shared"] = SharedDocument(shared, reading.codePage);
            if (!together)
                return;
            if (args.json)
                document.update(TypesDocument(all));
            else
                text = TypesText(all);
        },
        [&](std::size_t index, const std::string& path) {
            if (args.json)
                shared.addProject(index, path);
        });
}

void RunProcedures(Arguments& args) {
    const Reading reading = ReadingOf(args);
    const bool several = !IsOneProjectFile(args.projects);
    std::mutex mutex;
    inventory::ProcedureSums all;
    inventory::TopProcedures top(args.top);
    ReadProjects(
        args.projects, args, "Lesen der Prozeduren",
        [&](const std::string& path, bool one) {
            const Reading own = ReadingOfProject(reading, args, one);
            Output output;
            const inventory::ProjectCode code = ReadProjectCode(path, own, output);
            if (args.top == 0) {
                ProceduresListing(code, args.json, reading.codePage, output);
                const std::lock_guard lock(mutex);
                all += inventory::SumsOf(code);
            } else if (one) { // the run is this project
                inventory::TopProcedures ofProject(args.top);
                ofProject.addProject(path, code);
                if (args.json) {
                    output.document = TopDocument(ofProject.sorted(), reading.codePage);
                    output.document["total"] = ProcedureSumsRecord(inventory::SumsOf(code));
                } else {
                    output.text = TopText(ofProject.sorted(), reading.codePage);
                }
            } else {
                // The JSON keeps each project's sums beside the run's list, so that a reader of the
                // list alone still knows how many procedures there are and how complex the largest is.
                if (args.json)
                    output.document = {{"total", ProcedureSumsRecord(inventory::SumsOf(code))}};
                top.addProject(path, code);
                const std::lock_guard lock(mutex);
                all += inventory::SumsOf(code);
            }
            return output;
        },
        [&](std::string& text, nlohmann::ordered_json& document) {
            if (!several)
                return;
            if (args.top > 0) {
                if (args.json) {
                    document.update(TopDocument(top.sorted(), reading.codePage));
                    document["total"] = ProcedureSumsRecord(all);
                } else {
                    text = TopText(top.sorted(), reading.codePage);
                }
            } else if (args.json) {
                document["total"] = ProcedureSumsRecord(all);
            } else {
                text = ProcedureSumsLine("Alle Projekte", all);
            }
        });
}

void AddProcedures(CLI::App& app, Arguments& args) {
    CLI::App* procedures = AddCommand(
        app, "procedures", "Prozeduren je Mitglied mit Zeilen, Codezeilen und Komplexität",
        "Zeilen: GRUPPE<TAB>EINTRAG<TAB>ART<TAB>NAME<TAB>GÜLTIGKEIT<TAB>ZEILE<TAB>ZEILEN<TAB>CODE<TAB>\n"
        "KOMPLEXITÄT je Prozedur in der Reihenfolge der Datei (offen dahinter, wenn ihr Ende fehlt),\n"
        "GRUPPE<TAB>EINTRAG<TAB>Event<TAB>NAME<TAB>GÜLTIGKEIT<TAB>ZEILE je Ereignis,\n"
        "Mitglied<TAB>GRUPPE<TAB>EINTRAG<TAB>PROZEDUREN<TAB>CODE<TAB>GRÖSSTE KOMPLEXITÄT je Mitglied,\n"
        "Gesamt<TAB>... je Projekt; mehrere Projekte: zuletzt Alle Projekte<TAB>...\n"
        "--top N: nur die N komplexesten Prozeduren des ganzen Laufs, mit dem Projekt vorn.\n"
        "Die Leseregeln (Fortsetzungszeilen, Kommentare, #If) stehen im README.");
    AddProjects(procedures, args);
    AddJson(procedures, args);
    procedures
        ->add_option("--top", args.top, "Nur die N Prozeduren mit der höchsten Komplexität (im ganzen Lauf)")
        ->type_name("N")
        ->check([](const std::string& value) {
            std::size_t n = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
            return error == std::errc() && end == value.data() + value.size() && n >= 1
                       ? std::string()
                       : "--top braucht eine ganze Zahl ab 1: " + value;
        });
    AddKeepGoing(procedures, args);
    AddEncoding(procedures, args);
    AddJobs(procedures, args);
    procedures->callback([procedures, &args] {
        RequireOperand(*procedures, kProject);
        RequireProjectOperands(*procedures, args.projects);
        RunProcedures(args);
    });
}

void RunDeclares(Arguments& args) {
    const Reading reading = ReadingOf(args);
    const bool several = !IsOneProjectFile(args.projects);
    inventory::LibraryInventory all;
    ReadProjects(
        args.projects, args, "Lesen der Deklarationen",
        [&](const std::string& path, bool one) {
            const Reading own = ReadingOfProject(reading, args, one);
            Output output;
            const inventory::ProjectCode code = ReadProjectCode(path, own, output);
            if (!args.byLibrary) {
                DeclaresListing(code, args.json, reading.codePage, output);
            } else if (one) { // the run is this project
                inventory::LibraryInventory libraries;
                libraries.addProject(code);
                if (args.json)
                    output.document = LibrariesDocument(libraries);
                else
                    output.text = LibrariesText(libraries);
            } else {
                all.addProject(code);
            }
            return output;
        },
        [&](std::string& text, nlohmann::ordered_json& document) {
            if (!several || !args.byLibrary)
                return;
            if (args.json)
                document.update(LibrariesDocument(all));
            else
                text = LibrariesText(all);
        });
}

void AddDeclares(CLI::App& app, Arguments& args) {
    CLI::App* declares = AddCommand(
        app, "declares", "API-Deklarationen (Declare ... Lib) je Mitglied oder je Bibliothek",
        "Zeilen: EINTRAG<TAB>NAME<TAB>BIBLIOTHEK<TAB>FUNKTION<TAB>GÜLTIGKEIT<TAB>ZEILE je Declare in\n"
        "der Reihenfolge der Dateien; BIBLIOTHEK klein geschrieben ohne .dll, FUNKTION der Alias oder\n"
        "der Name. --by-library: BIBLIOTHEK<TAB>DEKLARATIONEN<TAB>FUNKTIONEN<TAB>MITGLIEDER<TAB>\n"
        "PROJEKTE über alle Projekte zusammen, nach Deklarationen (absteigend), dann nach Bibliothek.");
    AddProjects(declares, args);
    declares->add_flag("--by-library", args.byLibrary, "Eine Zeile je Bibliothek statt je Deklaration");
    AddJson(declares, args);
    AddKeepGoing(declares, args);
    AddEncoding(declares, args);
    AddJobs(declares, args);
    declares->callback([declares, &args] {
        RequireOperand(*declares, kProject);
        RequireProjectOperands(*declares, args.projects);
        RunDeclares(args);
    });
}

void AddTypes(CLI::App& app, Arguments& args) {
    CLI::App* types = AddCommand(
        app, "types", "Objekttypen mit der Zahl ihrer Objekte, Mitgliedsdateien und Projekte",
        "Zeilen: TYP<TAB>OBJEKTE<TAB>MITGLIEDER<TAB>PROJEKTE je Objekttyp, nach Objekten (absteigend),\n"
        "dann nach Typ; über alle Projekte zusammen, mit --by-project je Projekt. Die Objekte\n"
        "ergeben zusammen die Zahl von count.");
    AddProjects(types, args);
    types->add_flag("--by-project", args.byProject, "Eine Tabelle je Projekt statt einer für alle");
    AddJson(types, args);
    AddKeepGoing(types, args);
    AddEncoding(types, args);
    AddJobs(types, args);
    types->callback([types, &args] {
        RequireOperand(*types, kProject);
        RequireProjectOperands(*types, args.projects);
        RunTypes(args);
    });
}

void RunComponents(Arguments& args) {
    const vb::CodePage page = CodePageOf(args);
    if (IsOneProjectFile(args.projects)) {
        // A member file that does not open is a finding: the reading always goes on past it.
        Output read;
        const Reading reading{page, true, !args.collected};
        std::vector<std::optional<inventory::ProjectComponents>> projects;
        projects.push_back(
            inventory::ComponentsOfProject(args.projects.front(), MemberReadingOf(reading, read)));
        const inventory::ComponentEstate estate(std::move(projects));
        Output output = ComponentsOutput(estate, 0, args.json, page, true);
        output.membersMissing = read.membersMissing;
        output.notes = std::move(read.notes);
        Deliver(args.projects.front(), std::move(output), args);
        return;
    }
    const EstateRun run = EstateRunOf(args, "Lesen der Komponenten");
    if (!ComponentsOverProjects(ProjectsOfOperands(args.projects, args.jobs), run, args.byProject))
        args.complete = false;
}

void AddComponents(CLI::App& app, Arguments& args) {
    CLI::App* components = AddCommand(
        app, "components", "Komponenten und Verweise: was jedes Projekt von außen braucht",
        "Zeilen (erstes Feld die Art, Felder im README): Komponente, Verweis oder Projekt\n"
        "<TAB>GUID<TAB>VERSIONEN<TAB>DATEI<TAB>BESCHREIBUNG<TAB>BIBLIOTHEK<TAB>PROJEKTE<TAB>MITGLIEDER\n"
        "<TAB>OBJEKTE<TAB>BEFUNDE je Komponente, nach Projekten (absteigend), dann Datei;\n"
        "Bibliothek<TAB>NAME<TAB>KOMPONENTE<TAB>Projekt|abgeleitet|nicht zugeordnet<TAB>OBJEKTE\n"
        "<TAB>MITGLIEDER<TAB>PROJEKTE je Bibliothek; dann die Befunde je Projekt: unbenutzt, nicht im\n"
        "Projekt, Versionen, nicht zugeordnet, fehlt. Welche Komponente eine Bibliothek liefert, wird\n"
        "über alle Projekte des Aufrufs abgeleitet. Mehrere Projekte: die Befunde je Projekt, zuletzt\n"
        "eine Tabelle für alle; mit --by-project die Tabelle je Projekt.\n"
        "Eine fehlende Mitgliedsdatei ist ein Befund (Exit-Status 1); gelesen wird weiter.");
    AddProjects(components, args);
    components->add_flag("--by-project", args.byProject, "Eine Tabelle je Projekt statt einer für alle");
    AddJson(components, args);
    AddEncoding(components, args);
    AddJobs(components, args);
    components->callback([components, &args] {
        RequireOperand(*components, kProject);
        RequireProjectOperands(*components, args.projects);
        RunComponents(args);
    });
}

void AddMerge(CLI::App& app, Arguments& args) {
    CLI::App* merge = AddCommand(
        app, "merge", "Schreibt das ganze Projekt in eine Textdatei",
        "Schreibt dieselben Bytes wie vuzaraze mit angekreuztem \"Voduvov der Formulare als Text\n"
        "mit speichern\" (mit --code-only: nicht angekreuzt). AUSGABE \"-\" schreibt auf die\n"
        "Standardausgabe (eine Datei namens - heißt ./-); eine bestehende Datei wird ersetzt.\n"
        "Ist AUSGABE die Projektdatei oder eine ihrer Mitgliedsdateien, wird nichts geschrieben\n"
        "(Exit-Status 1).\n"
        "--format markdown, xml, json: dieselben Zeilen, als UTF-8 mit LF; jede Mitgliedsdatei aus\n"
        "ihrer eigenen Codepage (UTF-8 wie sie ist, sonst Windows-1252 oder --encoding).\n"
        "Mehrere Projekte: merge --output-dir ORDNER PROJEKT... (Projektdateien, -gruppen, Ordner)\n"
        "schreibt je Projekt ORDNER/N-NAME.txt (.md, .xml, .json), N seine Stelle in der Reihe der Projekte "
        "(ab 1),\n"
        "NAME der Name seiner Projektdatei ohne Endung; zwei Projekte schreiben nie dieselbe Datei.\n"
        "Ist eine dieser Dateien eine Datei eines der Projekte, wird nichts geschrieben.");
    AddProject(merge, args);
    merge->add_option(kOutput, args.output, "Ausgabedatei, \"-\" für die Standardausgabe")
        ->type_name("")
        ->required();
    merge->add_option("--output-dir", args.outputDir, "Schreibt jedes Projekt in eine eigene Datei dort")
        ->type_name("ORDNER");
    merge->add_flag("--code-only", args.codeOnly,
                    "Ohne die Objektbeschreibungen, im Wesentlichen nur der Code");
    AddKeepGoing(merge, args);
    merge
        ->add_option("--format", args.format,
                     "text (wie vuzaraze), markdown, xml oder json: UTF-8 mit LF, jede Datei aus ihrer\n"
                     "Codepage")
        ->type_name("FORMAT");
    merge->add_flag("--line-numbers", args.lineNumbers,
                    "Jede Zeile mit ihrer Nummer in der Mitgliedsdatei davor");
    merge
        ->add_option("--split", args.split,
                     "Teile NAME.1.EXT, NAME.2.EXT, ... von höchstens GRENZE Bytes (500k, 2M)")
        ->type_name("GRENZE")
        ->each([&args](const std::string&) { args.splitGiven = true; });
    AddEncoding(merge, args);
    AddJobs(merge, args);
    merge->callback([merge, &args] {
        RequireOperand(*merge, kProject);
        if (!args.outputDir.empty()) {
            std::vector<std::string> operands = {args.project};
            if (!args.output.empty())
                operands.push_back(args.output);
            operands.insert(operands.end(), args.projects.begin(), args.projects.end());
            RequireProjectOperands(*merge, operands);
            EstateRun run{false, args.jobs, CodePageOf(args), "Datei wird generiert", {}};
            run.quiet = args.quiet;
            if (!MergeIntoFolder(ProjectsOfOperands(operands, args.jobs), args.outputDir, args.codeOnly,
                                 args.keepGoing, DocumentMergeOf(args), run))
                args.complete = false;
            return;
        }
        RequireOperand(*merge, kOutput);
        // Another project's file or group as AUSGABE means several projects, not a file to replace.
        const auto target = vb::IdentityOfPath(args.output);
        if (args.output != kStandardOutputPath && NamesProjects(args.output) && !IsFolderPath(args.output) &&
            target && target != vb::IdentityOfPath(args.project))
            throw UsageError("merge: AUSGABE " + args.output +
                             " nennt Projekte; mehrere Projekte nur mit --output-dir ORDNER");
        if (!Merge(args.project, args.output, args.codeOnly, args.keepGoing, DocumentMergeOf(args), nullptr,
                   args.quiet))
            args.complete = false;
    });
}

// The paths of the projects the operands reach, for the report's output guard.
std::vector<std::string> ProjectPathsOf(const Arguments& args) {
    std::vector<std::string> paths;
    for (const ProjectOperand& project : ProjectsOfOperands(args.projects, args.jobs))
        paths.push_back(project.path);
    return paths;
}

// Reads the projects as count, lines, types, components, procedures --top 50, declares --by-library and
// check do with --json and --keep-going, and writes the page over their documents.
void WriteReport(Arguments& args) {
    const bool toFile = args.output != kStandardOutputPath;
    try {
        // Refused before anything is read, and again as the file is written.
        if (toFile)
            report::RefuseProjectFile(args.output, ProjectPathsOf(args));
        args.json = true;
        args.keepGoing = true;
        nlohmann::ordered_json data = nlohmann::ordered_json::object();
        // A missing member file is named once, by the first section.
        bool notesWritten = false;
        const auto section = [&](const char* key, void (*run)(Arguments&)) {
            nlohmann::ordered_json document = nlohmann::ordered_json::object();
            args.collected = &document;
            args.notesWritten = notesWritten;
            run(args);
            notesWritten = true;
            data[key] = std::move(document);
        };
        section(report::kCountKey, RunCount);
        section(report::kLinesKey, RunLines);
        section(report::kTypesKey, RunTypes);
        section(report::kComponentsKey, RunComponents);
        args.top = report::kTopProcedures;
        section(report::kProceduresKey, RunProcedures);
        args.byLibrary = true;
        section(report::kDeclaresKey, RunDeclares);
        section(report::kCheckKey, RunCheck);
        args.collected = nullptr;
        const std::string title = args.title.empty() ? "Bericht über die Visual-Basic-Projekte" : args.title;
        const std::string page =
            report::ReportPage(data, {title, std::string(kProgram) + " " + VBPROJEKT_VERSION});
        if (toFile)
            report::WriteReportFile(args.output, page, ProjectPathsOf(args));
        else
            WriteOut(page);
    } catch (const merger::MergeReadsItsOutput& e) {
        throw Refusal(kOwnFileRefusal + ControlPictures(e.path()));
    }
}

void AddReport(CLI::App& app, Arguments& args) {
    CLI::App* report = AddCommand(
        app, "report", "Ein Bericht als HTML-Seite mit Diagrammen, für Leser ohne Kommandozeile",
        "Liest die Projekte wie count, lines, types, components, procedures --top 50, declares\n"
        "--by-library und check mit --json und --keep-going und schreibt\n"
        "eine HTML-Seite, die alles in sich trägt (lädt nichts nach, druckt auf A4): Übersicht,\n"
        "Diagramme, sortierbare Tabellen, ein Abschnitt je Projekt. Ihre Zahlen sind die der Befehle;\n"
        "deren JSON-Dokumente stehen in <script type=\"application/json\" id=\"vbprojekt-daten\">\n"
        "unter dem Namen des Befehls (\"count\", \"lines\", ...). Eine bestehende Datei wird ersetzt;\n"
        "ist sie eine Datei eines der Projekte, wird nichts geschrieben (Exit-Status 1). Exit-Status 1\n"
        "auch, wenn eine Mitgliedsdatei fehlt oder ein Projekt nicht lesbar ist (der Bericht wird\n"
        "trotzdem geschrieben und nennt es).");
    AddProjects(report, args);
    report->add_option("-o,--output", args.output, "Die HTML-Datei; \"-\" für die Standardausgabe")
        ->type_name("DATEI");
    report->add_option("--title", args.title, "Die Überschrift der Seite")->type_name("TEXT");
    AddEncoding(report, args);
    AddJobs(report, args);
    report->callback([report, &args] {
        RequireOperand(*report, kProject);
        RequireProjectOperands(*report, args.projects);
        if (args.output.empty())
            throw UsageError("report: --output DATEI fehlt");
        WriteReport(args);
    });
}

} // namespace

bool RunCommandLine(int argc, char** argv) {
    CLI::App app(kDescription, kProgram);
    Arguments args;
    GermanLabels(app);
    app.option_defaults()->group("Optionen");
    app.set_help_flag("-h,--help", "Zeigt diese Hilfe und endet");
    app.set_version_flag("-V,--version", std::string(kProgram) + " " + VBPROJEKT_VERSION,
                         "Zeigt die Version und endet");
    app.add_flag("-q,--quiet", args.quiet, "Zeigt keinen Fortschrittsbalken (ebenso bei TERM=dumb)");
    app.footer(kFooter);
    app.allow_extras();
    app.require_subcommand(1, 0); // one command; a second one is reported by CheckCommandWords

    AddMembers(app, args);
    AddObjects(app, args);
    AddCount(app, args);
    AddCheck(app, args);
    AddMerge(app, args);
    AddLines(app, args);
    AddTypes(app, args);
    AddComponents(app, args);
    AddReport(app, args);
    AddProcedures(app, args);
    AddDeclares(app, args);
    // Runs once every word is parsed, before the command's own callback.
    app.parse_complete_callback([&app, &args] {
        CheckCommandWords(app);
        args.json = args.json || args.jsonLines;
    });

    RejectFlagValues(app, argc, argv);
    // A merge into a folder takes projects only: PROJEKT and AUSGABE are filled first, AUSGABE (if given
    // at all) is one more project, and the words after it the rest.
    if (NamesOption(argc, argv, "--output-dir")) {
        CLI::App* merge = app.get_subcommand("merge");
        merge->get_option(kOutput)->required(false);
        merge->add_option(kMoreProjects, args.projects)->group("");
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        const std::vector<CLI::App*> chosen = app.get_subcommands();
        WriteOut(chosen.empty() ? app.help() : chosen.front()->help(kProgram));
    } catch (const CLI::CallForVersion& e) {
        WriteOut(std::string(e.what()) + "\n");
    } catch (const CLI::RequiredError& e) {
        CheckCommandWords(app);
        ReportMissingOperand(*app.get_subcommands().front());
        throw UsageError(GermanParseError(e));
    } catch (const CLI::ParseError& e) {
        throw UsageError(GermanParseError(e));
    }
    return args.complete;
}

} // namespace cli
