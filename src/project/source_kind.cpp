#include "project/source_kind.h"

#include <cstddef>

namespace vb {

namespace {

// In kind order.
constexpr std::array<std::string_view, kSourceKinds.size()> kGroupCaptions = {
    "Formulare", "Module", "Klassenmodule", "Benutzersteuerelemente", "Eigenschaftenseiten"};

} // namespace

std::string_view GroupCaptionOf(SourceKind kind) {
    return kGroupCaptions[static_cast<std::size_t>(kind)];
}

std::string_view KindNameOf(SourceKind kind) {
    switch (kind) {
    case SourceKind::Form:
        return "Form";
    case SourceKind::Module:
        return "Module";
    case SourceKind::ClassModule:
        return "ClassModule";
    case SourceKind::UserControl:
        return "UserControl";
    case SourceKind::PropertyPage:
        break;
    }
    return "PropertyPage";
}

std::optional<SourceKind> KindOfGroupCaption(std::string_view caption) {
    for (const SourceKind kind : kSourceKinds)
        if (GroupCaptionOf(kind) == caption)
            return kind;
    return std::nullopt;
}

} // namespace vb
