// vbprojekt: the results of the counter and the merger without a window, for scripts and nightly jobs.
// Exit status 0 on success, 1 on a runtime error or a refused merge, 2 on a usage error.

#include "commands.h"
#include "failures.h"
#include "plain_text.h"
#include "standard_streams.h"

#include "text/runtime_error.h"

#include <CLI/CLI.hpp>

#include <new>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSuccess = 0;
constexpr int kRuntimeFailure = 1;
constexpr int kUsageFailure = 2;

constexpr const char* kProgram = "vbprojekt";

constexpr const char* kDescription =
    "vbprojekt " VBPROJEKT_VERSION
    " - Visual-Basic-5/6-Projekte ohne Fenster: dieselben Zahlen wie voduvov,\n"
    "dieselbe zusammengefasste Datei wie vuzaraze.";

constexpr const char* kFooter =
    "Ausgabe: eine Zeile je Datensatz, Felder durch Tabulatoren getrennt (für cut, awk, sort).\n"
    "Einträge, Typen und Namen stehen im Projekt als Windows-1252 und werden als UTF-8 ausgegeben;\n"
    "Steuerzeichen darin (auch der Tabulator) erscheinen als ihre Symbolzeichen U+2400 bis U+241F und\n"
    "U+2421 (der Tabulator als U+2409), der Backslash bleibt wie geschrieben. --json gibt stattdessen ein\n"
    "JSON-Dokument aus, dessen Texte die Windows-1252-Zeichen als Unicode tragen.\n"
    "Mitgliedsdateien werden relativ zum Ordner der Projektdatei gesucht.\n"
    "Auf einem Terminal zeigen merge und count bei mehr als 5 Mitgliedsdateien einen Fortschrittsbalken\n"
    "auf der Standardfehlerausgabe.\n"
    "Exit-Status: 0 Erfolg, 1 Laufzeitfehler (\"vbprojekt: Laufzeitfehler 53: Datei nicht gefunden: PFAD\")\n"
    "oder verweigertes Überschreiben, 2 fehlerhafter Aufruf.";

struct Arguments {
    std::string project;
    std::string output;
    std::vector<std::string> entries;
    bool json = false;
    bool codeOnly = false;
};

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

void AddProject(CLI::App* command, Arguments& args) {
    command->add_option("PROJEKT", args.project, "Projektdatei (.vbp)")->type_name("");
}

void AddJson(CLI::App* command, Arguments& args) {
    command->add_flag("--json", args.json, "Gibt ein JSON-Dokument aus statt Textzeilen");
}

// A usage error for the words that no command or option took.
void CheckRemaining(const CLI::App& app, const CLI::App* command) {
    const std::vector<std::string> rest = app.remaining(true);
    if (rest.empty())
        return;
    const std::string& word = rest.front();
    if (!command)
        throw cli::UsageError("unbekannter Befehl: " + word);
    if (word.size() > 1 && word.front() == '-')
        throw cli::UsageError("unbekannte Option für " + command->get_name() + ": " + word);
    throw cli::UsageError("überzähliges Argument für " + command->get_name() + ": " + word);
}

void Require(const std::string& value, const char* name, const CLI::App* command) {
    if (value.empty())
        throw cli::UsageError(command->get_name() + ": " + name + " fehlt");
}

void WriteOut(const std::string& text) {
    cli::WriteAll(STDOUT_FILENO, text, std::string(cli::kStandardOutputName));
}

int Run(int argc, char** argv) {
    CLI::App app(kDescription, kProgram);
    GermanLabels(app);
    app.option_defaults()->group("Optionen");
    app.set_help_flag("-h,--help", "Zeigt diese Hilfe und endet");
    app.set_version_flag("--version", std::string(kProgram) + " " + VBPROJEKT_VERSION,
                         "Zeigt die Version und endet");
    app.footer(kFooter);
    app.allow_extras();

    Arguments args;
    CLI::App* members = AddCommand(
        app, "members", "Arten der Mitglieder mit Anzahl und Einträgen",
        "Zeilen: GRUPPE<TAB>ANZAHL je Art (Formulare, Module, Klassenmodule,\n"
        "Benutzersteuerelemente, Eigenschaftenseiten), darauf GRUPPE<TAB>NR<TAB>EINTRAG je Eintrag,\n"
        "in der Reihenfolge der Projektdatei; Einträge wie geschrieben.");
    AddProject(members, args);
    AddJson(members, args);

    CLI::App* objects =
        AddCommand(app, "objects", "Objekttypen und Objektnamen je Formular, Steuerelement, Seite",
                   "Ohne EINTRAG: jedes Formular, Benutzersteuerelement und jede Eigenschaftenseite.\n"
                   "EINTRAG: ein Mitglied genau wie im Projekt geschrieben (z. B. Formulare\\Main.frm);\n"
                   "ein Name, der kein Eintrag des Projekts ist, ist ein Aufruffehler (Exit-Status 2).\n"
                   "Zeilen: GRUPPE<TAB>EINTRAG<TAB>TYP<TAB>NAME, eine je Objekt, Typen in der Reihenfolge\n"
                   "ihres ersten Auftretens, Namen in der Reihenfolge ihrer Deklaration; ein Mitglied ohne\n"
                   "Objekte gibt keine Zeile (im JSON steht es mit leerer Typenliste).");
    AddProject(objects, args);
    objects->add_option("EINTRAG", args.entries, "Nur diese Mitglieder, in dieser Reihenfolge")
        ->type_name("");
    AddJson(objects, args);

    CLI::App* count =
        AddCommand(app, "count", "Anzahl aller Objekte (die Zahl von \"Alle Voduvov:\")",
                   "Zeilen: ANZAHL<TAB>GRUPPE<TAB>EINTRAG je gezähltem Formular,\n"
                   "Benutzersteuerelement und jeder Eigenschaftenseite, zuletzt ANZAHL<TAB>Gesamt.");
    AddProject(count, args);
    AddJson(count, args);

    CLI::App* merge =
        AddCommand(app, "merge", "Schreibt das ganze Projekt in eine Textdatei",
                   "Schreibt dieselben Bytes wie vuzaraze mit angekreuztem \"Voduvov der Formulare als Text\n"
                   "mit speichern\" (mit --code-only: nicht angekreuzt). AUSGABE \"-\" schreibt auf die\n"
                   "Standardausgabe (eine Datei namens - heißt ./-); eine bestehende Datei wird ersetzt.\n"
                   "Ist AUSGABE die Projektdatei oder eine ihrer Mitgliedsdateien, wird nichts geschrieben\n"
                   "(Exit-Status 1).");
    AddProject(merge, args);
    merge->add_option("AUSGABE", args.output, "Ausgabedatei, \"-\" für die Standardausgabe")->type_name("");
    merge->add_flag("--code-only", args.codeOnly,
                    "Ohne die Objektbeschreibungen, im Wesentlichen nur der Code");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        if (app.get_subcommands().empty())
            WriteOut(app.help());
        else
            WriteOut(app.get_subcommands().front()->help(kProgram));
        return kSuccess;
    } catch (const CLI::CallForVersion& e) {
        WriteOut(std::string(e.what()) + "\n");
        return kSuccess;
    } catch (const CLI::ParseError& e) {
        throw cli::UsageError(std::string("fehlerhafter Aufruf (") + e.what() + ")");
    }

    const std::vector<CLI::App*> chosen = app.get_subcommands();
    const CLI::App* command = chosen.empty() ? nullptr : chosen.front();
    CheckRemaining(app, command);
    if (!command)
        throw cli::UsageError("kein Befehl angegeben (members, objects, count oder merge)");
    Require(args.project, "PROJEKT", command);

    if (command == merge) {
        Require(args.output, "AUSGABE", command);
        cli::Merge(args.project, args.output, args.codeOnly);
    } else if (command == members) {
        WriteOut(cli::MembersOutput(args.project, args.json));
    } else if (command == objects) {
        WriteOut(cli::ObjectsOutput(args.project, args.entries, args.json));
    } else {
        WriteOut(cli::CountOutput(args.project, args.json));
    }
    return kSuccess;
}

// The message of a runtime error. The path is built from the caller's project path and the project's
// entries: a NUL byte in it would cut the message short at a file that was never meant, and an escape or a
// line end would reach the terminal or break the log line, so its control characters are shown as pictures.
std::string MessageOf(const vb::RuntimeError& e) {
    std::string text = "Laufzeitfehler " + std::to_string(e.number()) + ": " + e.description();
    if (!e.path().empty())
        text += ": " + cli::ControlPictures(e.path());
    return text;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const cli::UsageError& e) {
        cli::WriteToStandardError(std::string(kProgram) + ": " + e.what());
        cli::WriteToStandardError("Hilfe: vbprojekt --help");
        return kUsageFailure;
    } catch (const cli::Refusal& e) {
        cli::WriteToStandardError(std::string(kProgram) + ": " + e.what());
    } catch (const vb::RuntimeError& e) {
        cli::WriteToStandardError(std::string(kProgram) + ": " + MessageOf(e));
    } catch (const std::bad_alloc&) {
        cli::WriteToStandardError(std::string(kProgram) + ": " +
                                  vb::RuntimeError(vb::err::OutOfMemory).what());
    } catch (const std::exception& e) {
        cli::WriteToStandardError(std::string(kProgram) + ": " + e.what());
    }
    return kRuntimeFailure;
}
