#include "common/db/EucKr.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace vcm::euckr {

namespace {

bool isAscii(const char* data, qsizetype size)
{
  for (qsizetype i = 0; i < size; ++i)
    if (static_cast<unsigned char>(data[i]) >= 0x80)
      return false;
  return true;
}

bool isAscii(const QString& text)
{
  for (QChar c : text)
    if (c.unicode() >= 0x80)
      return false;
  return true;
}

} // namespace

std::optional<QByteArray> encode(const QString& text)
{
  if (isAscii(text))
    return text.toLatin1();
  QStringEncoder encoder("EUC-KR", QStringConverter::Flag::Stateless);
  QByteArray bytes = encoder.encode(text);
  if (encoder.hasError())
    return std::nullopt;
  return bytes;
}

QString decode(const char* data, qsizetype size)
{
  if (isAscii(data, size))
    return QString::fromLatin1(data, size);
  QStringDecoder decoder("EUC-KR", QStringConverter::Flag::Stateless);
  return decoder.decode(QByteArrayView(data, size));
}

QString firstUnencodable(const QString& text)
{
  // Walk by code point so that a surrogate pair (an emoji) is reported whole.
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
    const QString one = text.mid(i, len);
    if (!encode(one))
      return one;
    i += len;
  }
  return {};
}

} // namespace vcm::euckr
