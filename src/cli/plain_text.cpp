#include "plain_text.h"
#include "text/code_page.h"

#include "files/member_path.h"
#include "merger/merged_file.h"

#include <nlohmann/json.hpp>

namespace cli {

std::string PlainField(std::string_view bytes, vb::TextKind kind, const vb::CodePage& page) {
    return ControlPictures(vb::ShownText(bytes, kind, page));
}

std::string ErrorMessage(const vb::RuntimeError& error) {
    std::string message = "vbprojekt: " + vb::ErrorLine(error.number(), ControlPictures(error.path()));
    // Its folder took no new file, so the output was emptied and written where it stands.
    if (const auto* incomplete = dynamic_cast<const merger::OutputLeftIncomplete*>(&error))
        message += "\nvbprojekt: Die Ausgabedatei wurde an Ort und Stelle geschrieben (ihr Ordner nimmt "
                   "keine neue Datei auf) und ist unvollständig; ihr früherer Inhalt ist verloren: " +
                   ControlPictures(incomplete->output());
    return message;
}

nlohmann::ordered_json MissingRecord(const vb::RuntimeError& error, const vb::CodePage& page) {
    return {{"error", error.number()},
            {"description", error.description()},
            {"path", vb::ShownText(error.path(), vb::TextKindOf(error.path()), page)}};
}

void AppendRecord(std::string& out, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first)
            out += '\t';
        first = false;
        out += field;
    }
    out += '\n';
}

std::string JsonText(const nlohmann::ordered_json& document) {
    return document.dump(2) + '\n';
}

} // namespace cli
