#pragma once
// The five kinds of project member, always handled in this order, and the caption of each kind's group.

#include <array>
#include <optional>
#include <string_view>

namespace vb {

enum class SourceKind { Form, Module, ClassModule, UserControl, PropertyPage };

inline constexpr std::array<SourceKind, 5> kSourceKinds = {SourceKind::Form, SourceKind::Module,
                                                           SourceKind::ClassModule, SourceKind::UserControl,
                                                           SourceKind::PropertyPage};

// The caption of a kind's group, as the counter lists the groups and the command line prints them:
// "Formulare", "Module", "Klassenmodule", "Benutzersteuerelemente", "Eigenschaftenseiten".
std::string_view GroupCaptionOf(SourceKind kind);

// The kind's name for machines: "Form", "Module", "ClassModule", "UserControl", "PropertyPage".
std::string_view KindNameOf(SourceKind kind);

// The kind whose group caption is `caption` (exact, case-sensitive), if any.
std::optional<SourceKind> KindOfGroupCaption(std::string_view caption);

} // namespace vb
