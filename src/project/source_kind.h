#pragma once
// The five kinds of project member, always handled in this order.

#include <array>

namespace vb {

enum class SourceKind { Form, Module, ClassModule, UserControl, PropertyPage };

inline constexpr std::array<SourceKind, 5> kSourceKinds = {SourceKind::Form, SourceKind::Module,
                                                           SourceKind::ClassModule, SourceKind::UserControl,
                                                           SourceKind::PropertyPage};

} // namespace vb
