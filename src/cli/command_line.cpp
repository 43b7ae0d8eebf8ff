#include "command_line.h"

#include "commands.h"
#include "estate.h"
#include "failures.h"
#include "merge_into_folder.h"
#include "operands.h"
#include "ordered_pool.h"
#include "shared_members.h"
#include "standard_streams.h"
#include "type_inventory.h"
#include "usage_checks.h"

#include "files/file_identity.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <mutex>

#include <charconv>
#include <string>
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
    "JSON-Dokument aus, dessen Texte dieselben Zeichen tragen.\n"
    "Mitgliedsdateien werden relativ zum Ordner der Projektdatei gesucht.\n"
    "PROJEKT: eine Projektdatei, eine Projektgruppe (.vbg) oder ein Ordner (darin jede .vbp, rekursiv,\n"
    "in Byte-Reihenfolge); mehrere lesen einen ganzen Bestand, jedes Projekt einmal, --jobs zugleich.\n"
    "Dann beginnt jede Zeile mit dem Pfad des Projekts; ein Projekt, das scheitert, steht als\n"
    "PFAD<TAB>Fehler<TAB>NUMMER<TAB>BESCHREIBUNG an seinem Platz (Exit-Status 1), im JSON unter "
    "\"projects\".\n"
    "Auf einem Terminal zeigen merge und count bei mehr als 5 Mitgliedsdateien einen Fortschrittsbalken\n"
    "auf der Standardfehlerausgabe.\n"
    "Exit-Status: 0 Erfolg, 1 Laufzeitfehler (\"vbprojekt: Laufzeitfehler 53: Datei nicht gefunden: "
    "PFAD\"),\n"
    "verweigertes Überschreiben oder eine fehlende Mitgliedsdatei (check, --keep-going),\n"
    "2 fehlerhafter Aufruf.";

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
    bool codeOnly = false;
    bool byProject = false;
    bool keepGoing = false;
    std::string encoding = "auto";
    std::string format = "text";
    bool lineNumbers = false;
    std::string split;
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
    if (!args.split.empty()) {
        const auto size = SplitSizeNamed(args.split);
        if (!size)
            throw UsageError("ungültige Größe \"" + args.split + "\" (--split: Bytes, z. B. 500k oder 2M)");
        if (how.format == merger::DocumentFormat::Text)
            throw UsageError("--split gibt es nur mit --format markdown, xml oder json");
        if (args.output == kStandardOutputPath)
            throw UsageError("--split braucht eine Ausgabedatei, nicht die Standardausgabe");
        how.splitSize = *size;
    }
    return how;
}

Reading ReadingOf(const Arguments& args) {
    return {CodePageOf(args), args.keepGoing};
}

// Writes a command's output and notes whether it is complete.
void WriteOut(const Output& output, Arguments& args);

// Runs a reading command over its operands: for exactly one project file its output as it always was,
// otherwise the output of every project the operands reach, with the project's path in front.
void ReadProjects(const std::vector<std::string>& operands, Arguments& args, const char* status,
                  const std::function<Output(const std::string& projectPath, bool oneProject)>& command,
                  const std::function<void(std::string&, nlohmann::ordered_json&)>& finish = {},
                  const std::function<void(std::size_t index, const std::string& projectPath)>& each = {});

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
}

void WriteOut(const std::string& text) {
    WriteAll(STDOUT_FILENO, text, std::string(kStandardOutputName));
}

void WriteOut(const Output& output, Arguments& args) {
    for (const std::string& note : output.notes)
        WriteToStandardError(note);
    WriteOut(output.text);
    if (output.membersMissing)
        args.complete = false;
}

void ReadProjects(const std::vector<std::string>& operands, Arguments& args, const char* status,
                  const std::function<Output(const std::string& projectPath, bool oneProject)>& command,
                  const std::function<void(std::string&, nlohmann::ordered_json&)>& finish,
                  const std::function<void(std::size_t index, const std::string& projectPath)>& each) {
    if (IsOneProjectFile(operands)) {
        WriteOut(command(operands.front(), true), args);
        return;
    }
    const EstateRun run{args.json, args.jobs, CodePageOf(args), status, finish};
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
        ReadProjects(args.projects, args, "Lesen der Projekte", [&](const std::string& path, bool) {
            Output output;
            output.text = MembersOutput(path, args.json, page);
            return output;
        });
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
        const Reading reading = ReadingOf(args);
        ReadProjects(args.projects, args, "Zählen aller Voduvov", [&](const std::string& path, bool one) {
            Reading own = reading;
            own.alone = one;
            return CountOutput(path, args.json, own);
        });
    });
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
        const vb::CodePage page = CodePageOf(args);
        SharedMembers shared;
        ReadProjects(
            args.projects, args, "Prüfen der Projekte",
            [&](const std::string& path, bool) { return CheckOutput(path, args.json, page); },
            [&](std::string& text, nlohmann::ordered_json& document) {
                if (args.json)
                    document["shared"] = shared.json(page);
                else
                    text = shared.text(page);
            },
            [&](std::size_t index, const std::string& path) { shared.addProject(index, path); });
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
        const Reading reading = ReadingOf(args);
        std::mutex mutex;
        counter::LineTally all;
        ReadProjects(
            args.projects, args, "Zählen der Zeilen",
            [&](const std::string& path, bool one) {
                Reading own = reading;
                own.alone = one;
                counter::LineTally project;
                Output output = LinesOutput(path, args.json, own, &project);
                const std::lock_guard lock(mutex);
                all += project;
                return output;
            },
            [&](std::string& text, nlohmann::ordered_json& document) {
                if (args.json)
                    document["total"] = LineTallyRecord(all);
                else
                    text = LineTallyLine("Alle Projekte", all);
            });
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
        const Reading reading = ReadingOf(args);
        const bool together = !args.byProject && !IsOneProjectFile(args.projects);
        std::mutex mutex;
        TypeInventory all;
        SharedMembers shared;
        ReadProjects(
            args.projects, args, "Zählen der Objekttypen",
            [&](const std::string& path, bool one) {
                Reading own = reading;
                own.alone = one;
                TypeInventory project;
                Output output = TypesOutput(path, args.json, own, &project);
                if (together) { // the projects' own tables give way to the one of the run
                    output.text = args.json ? "{}" : "";
                    const std::lock_guard lock(mutex);
                    all.addProject(project);
                }
                return output;
            },
            [&](std::string& text, nlohmann::ordered_json& document) {
                if (args.json)
                    document["shared"] = shared.json(reading.codePage);
                if (!together)
                    return;
                if (args.json)
                    document.update(nlohmann::ordered_json::parse(all.json()));
                else
                    text = all.text();
            },
            [&](std::size_t index, const std::string& path) {
                if (args.json)
                    shared.addProject(index, path);
            });
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
        ->type_name("GRENZE");
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
            const EstateRun run{false, args.jobs, CodePageOf(args), "Datei wird generiert", {}};
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
        if (!Merge(args.project, args.output, args.codeOnly, args.keepGoing, DocumentMergeOf(args)))
            args.complete = false;
    });
}

} // namespace

bool RunCommandLine(int argc, char** argv) {
    CLI::App app(kDescription, kProgram);
    GermanLabels(app);
    app.option_defaults()->group("Optionen");
    app.set_help_flag("-h,--help", "Zeigt diese Hilfe und endet");
    app.set_version_flag("--version", std::string(kProgram) + " " + VBPROJEKT_VERSION,
                         "Zeigt die Version und endet");
    app.footer(kFooter);
    app.allow_extras();
    app.require_subcommand(1, 0); // one command; a second one is reported by CheckCommandWords

    Arguments args;
    AddMembers(app, args);
    AddObjects(app, args);
    AddCount(app, args);
    AddCheck(app, args);
    AddMerge(app, args);
    AddLines(app, args);
    AddTypes(app, args);
    // Runs once every word is parsed, before the command's own callback.
    app.parse_complete_callback([&app] { CheckCommandWords(app); });

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
        throw UsageError(std::string("fehlerhafter Aufruf (") + e.what() + ")");
    } catch (const CLI::ParseError& e) {
        throw UsageError(std::string("fehlerhafter Aufruf (") + e.what() + ")");
    }
    return args.complete;
}

} // namespace cli
