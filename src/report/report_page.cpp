#include "report_page.h"

#include "html_text.h"
#include "page_assets.h"
#include "report_figures.h"
#include "svg_charts.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace report {

namespace {

constexpr std::size_t kTypesInChart = 20;
constexpr std::size_t kProjectsInChart = 30;

struct Column {
    std::string head;
    bool number = false;
};

std::string NumberCell(std::int64_t n) {
    return "<td class=\"zahl\" data-wert=\"" + std::to_string(n) + "\">" + Number(n) + "</td>";
}

std::string TextCell(const std::string& text, const char* cls = "name") {
    return std::string("<td class=\"") + cls + "\">" + Html(text) + "</td>";
}

// A table of `rows` (each a row's cells), at most kTableRows of `total` shown, with a note when cut.
std::string Table(const std::string& id, const std::string& caption, const std::vector<Column>& columns,
                  const std::vector<std::string>& rows, bool sortable) {
    if (rows.empty())
        return "<p class=\"hinweis\">" + Html(caption) + " Keine Einträge.</p>";
    std::string out = "<div class=\"tabelle\"><table id=\"" + id + "\"" +
                      (sortable ? " class=\"sortierbar\"" : " class=\"mitglieder\"") +
                      "><caption class=\"leise\">" + Html(caption) + "</caption><thead><tr>";
    for (const Column& column : columns)
        out += std::string("<th scope=\"col\"") + (column.number ? " class=\"zahl\"" : "") + ">" +
               Html(column.head) + "</th>";
    out += "</tr></thead><tbody>";
    const std::size_t shown = std::min(rows.size(), kTableRows);
    for (std::size_t i = 0; i < shown; ++i)
        out += "<tr>" + rows[i] + "</tr>";
    out += "</tbody></table></div>";
    if (rows.size() > shown)
        out += "<p class=\"hinweis\">Die Tabelle zeigt die ersten " + Number(static_cast<long long>(shown)) +
               " von " + Number(static_cast<long long>(rows.size())) +
               " Zeilen; die eingebetteten Daten (vbprojekt-daten) enthalten alle.</p>";
    return out;
}

std::string SummaryItem(const std::string& id, const std::string& label, std::int64_t value) {
    return "<li><span>" + Html(label) + "</span> <strong id=\"summe-" + id + "\" data-wert=\"" +
           std::to_string(value) + "\">" + Number(value) + "</strong></li>";
}

std::string ProjectAnchor(std::size_t index) {
    return "projekt-" + std::to_string(index + 1);
}

std::string Summary(const EstateFigures& estate) {
    std::string out = "<section id=\"uebersicht\"><h2>Übersicht</h2><ul class=\"summe\">";
    out += SummaryItem("projekte", "Projekte", static_cast<std::int64_t>(estate.projects.size()));
    if (estate.failedProjects > 0)
        out += SummaryItem("nicht-lesbar", "Projekte nicht lesbar", estate.failedProjects);
    out += SummaryItem("mitglieder", "Mitgliedsdateien", estate.members);
    for (const vb::SourceKind kind : vb::kSourceKinds)
        out += SummaryItem(std::string(vb::KindNameOf(kind)), std::string(vb::GroupCaptionOf(kind)),
                           estate.membersByKind[static_cast<std::size_t>(kind)]);
    out += SummaryItem("fehlend", "Fehlende Mitglieder", estate.missing);
    out += SummaryItem("objekte", "Objekte", estate.objects);
    out += SummaryItem("zeilen", "Zeilen", estate.lines.lines);
    out += SummaryItem("code", "Codezeilen", estate.lines.code);
    out += SummaryItem("kommentare", "davon Kommentar", estate.lines.comments);
    out += SummaryItem("leer", "davon leer", estate.lines.blank);
    out += SummaryItem("beschreibung", "Objektbeschreibung", estate.lines.description);
    out += SummaryItem("attribute", "Attributzeilen", estate.lines.attributes);
    out += SummaryItem("befunde", "Befunde (check)", estate.findings);
    if (estate.procedures) {
        out += SummaryItem("prozeduren", "Prozeduren", *estate.procedures);
        out += SummaryItem("komplexitaet", "Größte Komplexität", estate.largestComplexity.value_or(0));
    }
    if (estate.components) {
        out += SummaryItem("komponenten", "Komponenten und Verweise",
                           static_cast<std::int64_t>(estate.components->size()));
        out += SummaryItem("nicht-zugeordnet", "Bibliotheken ohne Komponente",
                           std::count_if(estate.libraries.begin(), estate.libraries.end(),
                                         [](const LibraryFigures& library) { return !library.linked; }));
    }
    if (estate.apiLibraries) {
        out += SummaryItem("deklarationen", "API-Deklarationen", estate.declarations);
        out += SummaryItem("api-bibliotheken", "API-Bibliotheken",
                           static_cast<std::int64_t>(estate.apiLibraries->size()));
    }
    return out + "</ul><p class=\"leise\">Alle Zahlen sind die der Befehle (count, lines, types, components, "
                 "procedures, declares, check) über dieselben Projekte; Codezeilen schließen Leer- und "
                 "Kommentarzeilen "
                 "ein.</p></section>";
}

std::string Figure(const std::string& caption, const std::string& svg) {
    return "<figure><figcaption>" + Html(caption) + "</figcaption>" + svg + "</figure>";
}

std::string Charts(const EstateFigures& estate) {
    std::string out = "<section id=\"diagramme\"><h2>Diagramme</h2>";
    std::vector<Bar> types;
    for (std::size_t i = 0; i < estate.types.size() && i < kTypesInChart; ++i)
        types.push_back({estate.types[i].type, estate.types[i].objects, false});
    out += Figure(estate.types.size() > kTypesInChart
                      ? "Die " + std::to_string(kTypesInChart) + " meistbenutzten von " +
                            std::to_string(estate.types.size()) + " Objekttypen"
                      : "Die Objekttypen",
                  BarChart("diagramm-typen", "Objekte je Objekttyp", types, "Objekte"));

    std::vector<std::size_t> order(estate.projects.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return estate.projects[a].lines.lines > estate.projects[b].lines.lines;
    });
    if (order.size() > kProjectsInChart)
        order.resize(kProjectsInChart);
    std::vector<StackedBar> lines;
    for (const std::size_t i : order) {
        const LineFigures& figures = estate.projects[i].lines;
        lines.push_back({estate.projects[i].path,
                         {figures.statements(), figures.comments, figures.blank, figures.description,
                          figures.lines - figures.code - figures.description}});
    }
    out += Figure(
        estate.projects.size() > kProjectsInChart
            ? "Zeilen der " + std::to_string(kProjectsInChart) + " größten von " +
                  std::to_string(estate.projects.size()) + " Projekten"
            : "Zeilen je Projekt",
        StackedBarChart("diagramm-zeilen", "Zeilen je Projekt", lines,
                        {"Code", "Kommentar", "Leerzeilen", "Objektbeschreibung", "Kopf und Attribute"}));
    if (estate.components) {
        std::vector<Bar> bars;
        for (const ComponentFigures& component : *estate.components) {
            if (bars.size() == kTypesInChart)
                break;
            const bool unused = std::find(component.findings.begin(), component.findings.end(),
                                          "unbenutzt") != component.findings.end();
            bars.push_back(
                {component.file.empty() ? component.guid : component.file, component.projects, unused});
        }
        for (const LibraryFigures& library : estate.libraries)
            if (!library.linked)
                bars.push_back({library.library + " (nicht zugeordnet)", library.projects, true});
        out +=
            Figure("Komponenten nach der Zahl ihrer Projekte; rot: unbenutzt oder Bibliothek ohne Komponente",
                   BarChart("diagramm-komponenten", "Komponenten je Zahl der Projekte", bars, "Projekte",
                            "unbenutzt oder nicht zugeordnet"));
    }
    if (estate.topProcedures) {
        // Classes of complexity, as reviewers read them.
        const std::vector<std::pair<std::int64_t, std::string>> classes = {
            {5, "1–5"}, {10, "6–10"}, {20, "11–20"}, {50, "21–50"}, {INT64_MAX, "über 50"}};
        std::vector<Bar> columns;
        for (const auto& [upTo, label] : classes)
            columns.push_back({label, 0, false});
        for (const ProcedureFigures& procedure : *estate.topProcedures)
            for (std::size_t i = 0; i < classes.size(); ++i)
                if (procedure.complexity <= classes[i].first) {
                    ++columns[i].value;
                    break;
                }
        out +=
            Figure("Die " + std::to_string(estate.topProcedures->size()) +
                       " komplexesten Prozeduren nach ihrer Komplexität",
                   ColumnChart("diagramm-komplexitaet", "Prozeduren je Komplexität", columns, "Prozeduren"));
    }
    if (estate.apiLibraries) {
        std::vector<Bar> bars;
        for (std::size_t i = 0; i < estate.apiLibraries->size() && i < kTypesInChart; ++i)
            bars.push_back(
                {(*estate.apiLibraries)[i].library, (*estate.apiLibraries)[i].declarations, false});
        if (!bars.empty())
            out += Figure(
                "API-Deklarationen je Bibliothek",
                BarChart("diagramm-deklarationen", "Deklarationen je Bibliothek", bars, "Deklarationen"));
    }
    return out + "</section>";
}

std::string ProjectsTable(const EstateFigures& estate) {
    std::vector<std::string> rows;
    rows.reserve(estate.projects.size());
    for (std::size_t i = 0; i < estate.projects.size(); ++i) {
        const ProjectFigures& project = estate.projects[i];
        std::string row =
            "<td class=\"name\"><a href=\"#" + ProjectAnchor(i) + "\">" + Html(project.path) + "</a>";
        if (!project.error.empty()) {
            row += " <span class=\"befund\">" + Html(project.error) + "</span></td>";
            const int numbers = 6 + (estate.components ? 1 : 0) + (estate.procedures ? 2 : 0);
            for (int k = 0; k < numbers; ++k)
                row += "<td class=\"zahl\" data-wert=\"-1\">–</td>";
            rows.push_back(std::move(row));
            continue;
        }
        row += "</td>" + NumberCell(static_cast<std::int64_t>(project.members.size())) +
               NumberCell(project.missing) + NumberCell(project.objects) + NumberCell(project.lines.lines) +
               NumberCell(project.lines.code) + NumberCell(project.findings);
        if (estate.components)
            row += NumberCell(static_cast<std::int64_t>(project.componentFindings.size()));
        if (estate.procedures)
            row += NumberCell(project.procedures.value_or(0)) +
                   NumberCell(project.largestComplexity.value_or(0));
        rows.push_back(std::move(row));
    }
    std::vector<Column> columns = {{"Projekt"},       {"Mitglieder", true}, {"Fehlend", true},
                                   {"Objekte", true}, {"Zeilen", true},     {"Codezeilen", true},
                                   {"Befunde", true}};
    if (estate.components)
        columns.push_back({"Befunde Komponenten", true});
    if (estate.procedures) {
        columns.push_back({"Prozeduren", true});
        columns.push_back({"Größte Komplexität", true});
    }
    return "<section id=\"projekte\"><h2>Projekte</h2>" +
           Table("tabelle-projekte",
                 "Projekte in der Reihenfolge des Laufs; ein Klick auf einen Spaltenkopf sortiert.", columns,
                 rows, true) +
           "</section>";
}

std::string TypesTable(const EstateFigures& estate) {
    std::vector<std::string> rows;
    for (const TypeFigures& type : estate.types)
        rows.push_back(TextCell(type.type) + NumberCell(type.objects) + NumberCell(type.members) +
                       NumberCell(type.projects));
    return "<section id=\"typen\"><h2>Objekttypen</h2>" +
           Table("tabelle-typen", "Nach Objekten, absteigend, wie types sie ausgibt.",
                 {{"Typ"}, {"Objekte", true}, {"Mitgliedsdateien", true}, {"Projekte", true}}, rows, true) +
           "</section>";
}

std::string ComponentsTables(const EstateFigures& estate) {
    std::vector<std::string> rows;
    for (const ComponentFigures& component : *estate.components) {
        std::string findings;
        for (const std::string& finding : component.findings)
            findings += (findings.empty() ? "" : ", ") + finding;
        rows.push_back(TextCell(component.kind, "art") + TextCell(component.file) + TextCell(component.guid) +
                       TextCell(component.versions, "art") + TextCell(component.library, "art") +
                       NumberCell(component.projects) + NumberCell(component.members) +
                       NumberCell(component.objects) + TextCell(findings, "befund"));
    }
    std::vector<std::string> libraries;
    for (const LibraryFigures& library : estate.libraries)
        libraries.push_back(TextCell(library.library) +
                            TextCell(library.linked ? library.component : "nicht zugeordnet",
                                     library.linked ? "name" : "befund") +
                            NumberCell(library.objects) + NumberCell(library.members) +
                            NumberCell(library.projects));
    return "<section id=\"komponenten\"><h2>Komponenten und Verweise</h2>" +
           Table("tabelle-komponenten",
                 "Nach der Zahl der Projekte, wie components sie ausgibt; welche Komponente eine Bibliothek "
                 "liefert, ist über alle Projekte abgeleitet.",
                 {{"Art"},
                  {"Datei"},
                  {"GUID"},
                  {"Versionen"},
                  {"Bibliothek"},
                  {"Projekte", true},
                  {"Mitglieder", true},
                  {"Objekte", true},
                  {"Befunde"}},
                 rows, true) +
           Table(
               "tabelle-bibliotheken", "Bibliotheken der Objekttypen und ihre Komponente.",
               {{"Bibliothek"}, {"Komponente"}, {"Objekte", true}, {"Mitglieder", true}, {"Projekte", true}},
               libraries, true) +
           "</section>";
}

std::string ProceduresTable(const EstateFigures& estate) {
    std::vector<std::string> rows;
    for (const ProcedureFigures& procedure : *estate.topProcedures)
        rows.push_back(TextCell(procedure.project) + TextCell(procedure.entry) +
                       TextCell(procedure.kind, "art") + TextCell(procedure.name) +
                       NumberCell(procedure.line) + NumberCell(procedure.lines) + NumberCell(procedure.code) +
                       NumberCell(procedure.complexity));
    return "<section id=\"prozeduren\"><h2>Die komplexesten Prozeduren</h2>" +
           Table("tabelle-prozeduren", "Nach Komplexität, wie procedures --top 50 sie ausgibt.",
                 {{"Projekt"},
                  {"Eintrag"},
                  {"Art"},
                  {"Name"},
                  {"Zeile", true},
                  {"Zeilen", true},
                  {"Codezeilen", true},
                  {"Komplexität", true}},
                 rows, true) +
           "</section>";
}

std::string ApiLibrariesTable(const EstateFigures& estate) {
    std::vector<std::string> rows;
    for (const ApiLibraryFigures& library : *estate.apiLibraries)
        rows.push_back(TextCell(library.library) + NumberCell(library.declarations) +
                       NumberCell(library.functions) + NumberCell(library.members) +
                       NumberCell(library.projects));
    return "<section id=\"api\"><h2>API-Bibliotheken</h2>" +
           Table("tabelle-api", "Nach Deklarationen, wie declares --by-library sie ausgibt.",
                 {{"Bibliothek"},
                  {"Deklarationen", true},
                  {"Funktionen", true},
                  {"Mitgliedsdateien", true},
                  {"Projekte", true}},
                 rows, true) +
           "</section>";
}

std::string ProjectSection(const ProjectFigures& project, std::size_t index) {
    std::string out =
        "<section class=\"projekt\" id=\"" + ProjectAnchor(index) + "\"><h3>" + Html(project.path) + "</h3>";
    if (!project.error.empty())
        return out + "<p class=\"befund\">" + Html(project.error) + "</p></section>";
    if (!project.projectFindings.empty() || !project.componentFindings.empty()) {
        out += "<ul class=\"befunde\">";
        for (const std::string& finding : project.projectFindings)
            out += "<li class=\"befund\">" + Html(finding) + "</li>";
        for (const std::string& finding : project.componentFindings)
            out += "<li class=\"befund\">Komponenten: " + Html(finding) + "</li>";
        out += "</ul>";
    }
    // Plain cells, aligned by the style sheet: an estate has many members.
    std::vector<std::string> rows;
    for (const MemberFigures& member : project.members) {
        std::string row = "<td>" + std::string(vb::GroupCaptionOf(member.kind)) + "</td><td>" +
                          Html(member.entry) + "</td><td>" + (member.objects ? Number(*member.objects) : "") +
                          "</td>";
        row += member.lines
                   ? "<td>" + Number(member.lines->lines) + "</td><td>" + Number(member.lines->code) + "</td>"
                   : "<td></td><td></td>";
        std::string findings;
        for (const std::string& finding : member.findings)
            findings += (findings.empty() ? "" : "; ") + finding;
        row += "<td>" + Html(findings) + "</td>";
        rows.push_back(std::move(row));
    }
    out +=
        Table(ProjectAnchor(index) + "-mitglieder", "Mitglieder in der Reihenfolge der Projektdatei.",
              {{"Art"}, {"Eintrag"}, {"Objekte", true}, {"Zeilen", true}, {"Codezeilen", true}, {"Befunde"}},
              rows, false);
    return out + "<p><a href=\"#projekte\">zur Projekttabelle</a></p></section>";
}

} // namespace

std::string ReportPage(const nlohmann::ordered_json& data, const PageOptions& options) {
    const EstateFigures estate = FiguresOf(data);
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"de\"><head><meta charset=\"utf-8\">"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
        // The page needs nothing from outside itself, and may fetch nothing.
        "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
        "style-src 'unsafe-inline'; script-src 'unsafe-inline'; img-src data:\">"
        "<meta name=\"generator\" content=\"" +
        Html(options.producer) + "\"><title>" + Html(options.title) + "</title><style>" + kPageStyle +
        "</style></head>\n<body><header><h1>" + Html(options.title) + "</h1><p class=\"leise\">" +
        Html(options.producer) + " über " + Number(static_cast<long long>(estate.projects.size())) +
        (estate.projects.size() == 1 ? " Projekt" : " Projekte") +
        "</p></header><nav><ul><li><a href=\"#uebersicht\">Übersicht</a></li>"
        "<li><a href=\"#diagramme\">Diagramme</a></li><li><a href=\"#projekte\">Projekte</a></li>"
        "<li><a href=\"#typen\">Objekttypen</a></li>" +
        (estate.components ? "<li><a href=\"#komponenten\">Komponenten</a></li>" : "") +
        (estate.topProcedures ? "<li><a href=\"#prozeduren\">Prozeduren</a></li>" : "") +
        (estate.apiLibraries ? "<li><a href=\"#api\">API-Bibliotheken</a></li>" : "") +
        "<li><a href=\"#einzeln\">Die Projekte einzeln</a></li></ul></nav><main>\n";
    page += Summary(estate) + "\n";
    page += Charts(estate) + "\n";
    page += ProjectsTable(estate) + "\n";
    page += TypesTable(estate) + "\n";
    if (estate.components)
        page += ComponentsTables(estate) + "\n";
    if (estate.topProcedures)
        page += ProceduresTable(estate) + "\n";
    if (estate.apiLibraries)
        page += ApiLibrariesTable(estate) + "\n";
    page += "<section id=\"einzeln\"><h2>Die Projekte einzeln</h2>";
    for (std::size_t i = 0; i < estate.projects.size(); ++i)
        page += ProjectSection(estate.projects[i], i) + "\n";
    page += "</section></main>\n<script type=\"application/json\" id=\"vbprojekt-daten\">" +
            ScriptJson(data) + "</script>\n<script>" + kPageScript + "</script>\n</body></html>\n";
    return page;
}

} // namespace report
