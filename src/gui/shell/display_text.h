#pragma once
// Bytes from project and member files as the windows show them: a file whose text is UTF-8 (valid UTF-8
// with a byte above 0x7F) as UTF-8, every other file as Windows-1252. Both readings are lossless round
// trips (the five bytes Windows-1252 leaves undefined map to the C1 controls of the same number), so an
// entry selected on screen maps back to exactly the bytes it came from, given the text of its file.

#include "text/text_facts.h"

#include <QString>

#include <string>
#include <string_view>

namespace shell {

QString DisplayText(std::string_view bytes, vb::TextKind fileText = vb::TextKind::Ascii);
std::string BytesOfDisplayText(const QString& text, vb::TextKind fileText = vb::TextKind::Ascii);

} // namespace shell
