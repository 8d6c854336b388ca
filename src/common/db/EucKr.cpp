#include "common/db/EucKr.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <memory>

namespace vcm::euckr {

namespace {

// The codec sits under every cell of every record set, so it must not pay for a
// converter per call. Two tables, filled lazily through the platform's converter and then
// kept for the process: double-byte sequence -> character, and character -> bytes.
// (One UI thread uses the database layer; the tables need no lock.)

constexpr char16_t kUnknown = 0;      // not looked up yet
constexpr char16_t kInvalid = 0xFFFF; // looked up: no mapping

struct Tables {
  // Lead byte 0x81..0xFE, trail byte 0x41..0xFE.
  std::array<char16_t, 126 * 190> toUnicode{};
  // Per BMP character: the two bytes (lead << 8 | trail), 1 for "cannot encode", 0 unknown.
  std::array<quint16, 65536> fromUnicode{};
};

Tables& tables()
{
  static const std::unique_ptr<Tables> t = std::make_unique<Tables>();
  return *t;
}

bool isAscii(const char* data, qsizetype size)
{
  for (qsizetype i = 0; i < size; ++i)
    if (static_cast<unsigned char>(data[i]) >= 0x80)
      return false;
  return true;
}

char16_t lookupPair(unsigned char lead, unsigned char trail)
{
  if (lead < 0x81 || lead > 0xFE || trail < 0x41 || trail > 0xFE)
    return kInvalid;
  char16_t& slot = tables().toUnicode[static_cast<size_t>((lead - 0x81) * 190 + (trail - 0x41))];
  if (slot == kUnknown) {
    const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    QStringDecoder decoder("EUC-KR", QStringConverter::Flag::Stateless);
    const QString one = decoder.decode(QByteArrayView(bytes, 2));
    slot = (!decoder.hasError() && one.size() == 1 && one.at(0) != QChar::ReplacementCharacter)
               ? one.at(0).unicode()
               : kInvalid;
  }
  return slot;
}

/// Bytes of one BMP character, or 1 when EUC-KR has no form for it.
quint16 lookupChar(char16_t c)
{
  quint16& slot = tables().fromUnicode[c];
  if (slot == 0) {
    QStringEncoder encoder("EUC-KR", QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(QStringView(&c, 1));
    if (encoder.hasError() || bytes.size() != 2)
      slot = 1;
    else
      slot = static_cast<quint16>((static_cast<unsigned char>(bytes[0]) << 8) |
                                  static_cast<unsigned char>(bytes[1]));
  }
  return slot;
}

QString decodeSlow(const char* data, qsizetype size)
{
  QStringDecoder decoder("EUC-KR", QStringConverter::Flag::Stateless);
  return decoder.decode(QByteArrayView(data, size));
}

} // namespace

std::optional<QByteArray> encode(const QString& text)
{
  const qsizetype n = text.size();
  QByteArray out(n * 2, Qt::Uninitialized);
  char* p = out.data();
  const char16_t* s = reinterpret_cast<const char16_t*>(text.constData());
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = s[i];
    if (c < 0x80) {
      *p++ = static_cast<char>(c);
      continue;
    }
    if (QChar::isSurrogate(c))
      return std::nullopt; // outside the BMP: never in EUC-KR
    const quint16 bytes = lookupChar(c);
    if (bytes == 1)
      return std::nullopt;
    *p++ = static_cast<char>(bytes >> 8);
    *p++ = static_cast<char>(bytes & 0xFF);
  }
  out.truncate(p - out.constData());
  return out;
}

QString decode(const char* data, qsizetype size)
{
  if (isAscii(data, size))
    return QString::fromLatin1(data, size);
  QString out(size, Qt::Uninitialized);
  char16_t* p = reinterpret_cast<char16_t*>(out.data());
  const char16_t* start = p;
  for (qsizetype i = 0; i < size; ++i) {
    const unsigned char b = static_cast<unsigned char>(data[i]);
    if (b < 0x80) {
      *p++ = b;
      continue;
    }
    const char16_t c = i + 1 < size ? lookupPair(b, static_cast<unsigned char>(data[i + 1])) : kInvalid;
    if (c == kInvalid)
      return decodeSlow(data, size); // let the platform converter decide what to show
    *p++ = c;
    ++i;
  }
  out.truncate(p - start);
  return out;
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
