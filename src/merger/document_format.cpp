#include "merger/document_format.h"

#include <array>
#include <cstdio>
#include <utility>

namespace merger {

namespace {

constexpr std::array<std::pair<std::string_view, DocumentFormat>, 4> kFormatNames = {{
    {"text", DocumentFormat::Text},
    {"markdown", DocumentFormat::Markdown},
    {"xml", DocumentFormat::Xml},
    {"json", DocumentFormat::Json},
}};

} // namespace

std::optional<DocumentFormat> DocumentFormatNamed(std::string_view name) {
    for (const auto& [known, format] : kFormatNames)
        if (known == name)
            return format;
    return std::nullopt;
}

std::unique_ptr<DocumentFormatter> FormatterOf(DocumentFormat format, bool lineNumbers) {
    switch (format) {
    case DocumentFormat::Markdown:
        return MarkdownFormatter(lineNumbers);
    case DocumentFormat::Xml:
        return XmlFormatter(lineNumbers);
    case DocumentFormat::Json:
        return JsonFormatter(lineNumbers);
    case DocumentFormat::Text:
        break;
    }
    throw vb::RuntimeError(vb::err::InvalidCall);
}

std::string LineNumberPrefix(std::uint64_t number) {
    char buffer[32];
    const int size =
        std::snprintf(buffer, sizeof buffer, "%6llu | ", static_cast<unsigned long long>(number));
    return std::string(buffer, static_cast<std::size_t>(size));
}

} // namespace merger
