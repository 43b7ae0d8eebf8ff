#include "merger/document_format.h"

#include "merger/document_runs.h"
#include "text/code_page.h"

#include <array>
#include <cstdio>
#include <utility>

namespace merger {

namespace {

// Each format with its name on the command line and the extension of the files it is written to.
struct FormatName {
    std::string_view name;
    DocumentFormat format;
    std::string_view extension;
};

constexpr std::array<FormatName, 4> kFormatNames = {{
    {"text", DocumentFormat::Text, ".txt"},
    {"markdown", DocumentFormat::Markdown, ".md"},
    {"xml", DocumentFormat::Xml, ".xml"},
    {"json", DocumentFormat::Json, ".json"},
}};

} // namespace

std::optional<DocumentFormat> DocumentFormatNamed(std::string_view name) {
    for (const FormatName& known : kFormatNames)
        if (known.name == name)
            return known.format;
    return std::nullopt;
}

std::string_view FileExtensionOf(DocumentFormat format) {
    for (const FormatName& known : kFormatNames)
        if (known.format == format)
            return known.extension;
    return ".txt";
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

std::uint64_t DocumentFormatter::lines(DocumentOut& out, std::string_view run, RunText text,
                                       std::uint64_t number) const {
    const std::uint64_t first = number;
    for (std::size_t at = 0; at < run.size();) {
        std::size_t end = 0;
        const std::size_t next = runs::LineAt(run, at, end);
        const std::string_view bytes = run.substr(at, end - at);
        line(out, text == RunText::Utf8 ? std::string(bytes) : vb::Utf8FromWindows1252(bytes), number++,
             false);
        at = next;
    }
    return number - first;
}

std::string LineNumberPrefix(std::uint64_t number) {
    char buffer[32];
    const int size =
        std::snprintf(buffer, sizeof buffer, "%6llu | ", static_cast<unsigned long long>(number));
    return std::string(buffer, static_cast<std::size_t>(size));
}

} // namespace merger
