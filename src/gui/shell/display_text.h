#pragma once
// Bytes from project and member files are shown as Windows-1252 text. The mapping is a lossless round
// trip (the five bytes Windows-1252 leaves undefined map to the C1 controls of the same number), so an
// entry selected on screen maps back to exactly the bytes it came from.

#include <QString>

#include <string>
#include <string_view>

namespace shell {

QString DisplayText(std::string_view bytes);
std::string BytesOfDisplayText(const QString& text);

} // namespace shell
