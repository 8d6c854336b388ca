#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace vcm::euckr {

/// Encodes `text` for the wire. Returns nothing when a character has no EUC-KR form
/// (an emoji, a rare Hanja): such text must be refused, never stored as '?'.
std::optional<QByteArray> encode(const QString& text);

/// Decodes EUC-KR bytes from the server. Plain ASCII takes a fast path.
QString decode(const char* data, qsizetype size);

/// The first character of `text` that EUC-KR cannot hold, or a null QString.
QString firstUnencodable(const QString& text);

} // namespace vcm::euckr
