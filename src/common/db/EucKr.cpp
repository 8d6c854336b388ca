#include "common/db/EucKr.h"

#include <array>
#include <memory>

namespace vcm::euckr {

namespace {

// The server's euckr is the Korean Windows code page (949): the basic Korean standard set
// plus the other 8,822 Hangul syllables and a few later symbols (€ A2E6, ® A2E7). The
// platform's EUC-KR converter knows only the basic set, so the code page is compiled in
// (EucKrTable.inc, made by make_euckr_table.py) and expanded once into two flat tables:
// the codec sits under every cell of every record set.

constexpr int kFirstLead = 0x81;
constexpr int kFirstTrail = 0x41;
constexpr int kTrails = 0xFF - kFirstTrail;            // 0x41..0xFE
constexpr int kPairs = (0xFF - kFirstLead) * kTrails;  // 0x81..0xFE
constexpr char16_t kNone = 0;                          // no character, no bytes

constexpr char16_t kRows[] =
#include "common/db/EucKrTable.inc"
    ;
static_assert(std::size(kRows) == kPairs + 1, "one character per pair and the final NUL");

struct Tables {
  std::array<char16_t, kPairs> toUnicode{};   // pair index -> character, kNone when empty
  std::array<quint16, 65536> fromUnicode{};   // character -> lead << 8 | trail, 0 when none

  Tables()
  {
    for (int i = 0; i < kPairs; ++i) {
      const char16_t c = kRows[i] == u'.' ? kNone : kRows[i];
      toUnicode[static_cast<size_t>(i)] = c;
      if (c != kNone)
        fromUnicode[c] = static_cast<quint16>(((kFirstLead + i / kTrails) << 8) | (kFirstTrail + i % kTrails));
    }
  }
};

const Tables& tables()
{
  static const std::unique_ptr<const Tables> t = std::make_unique<const Tables>();
  return *t;
}

bool isAscii(const char* data, qsizetype size)
{
  for (qsizetype i = 0; i < size; ++i)
    if (static_cast<unsigned char>(data[i]) >= 0x80)
      return false;
  return true;
}

char16_t lookupPair(const Tables& t, unsigned char lead, unsigned char trail)
{
  if (lead < kFirstLead || lead > 0xFE || trail < kFirstTrail || trail > 0xFE)
    return kNone;
  return t.toUnicode[static_cast<size_t>((lead - kFirstLead) * kTrails + (trail - kFirstTrail))];
}

} // namespace

std::optional<QByteArray> encode(const QString& text)
{
  const Tables& t = tables();
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
    const quint16 bytes = t.fromUnicode[c]; // surrogates have no entry: an emoji is refused
    if (bytes == 0)
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
  const Tables& t = tables();
  QString out(size, Qt::Uninitialized);
  char16_t* p = reinterpret_cast<char16_t*>(out.data());
  const char16_t* start = p;
  for (qsizetype i = 0; i < size; ++i) {
    const unsigned char b = static_cast<unsigned char>(data[i]);
    if (b < 0x80) {
      *p++ = b;
      continue;
    }
    const unsigned char trail = i + 1 < size ? static_cast<unsigned char>(data[i + 1]) : 0;
    const char16_t c = lookupPair(t, b, trail);
    if (c != kNone) {
      *p++ = c;
      ++i;
      continue;
    }
    // Bytes the code page does not hold (cut text, another client's garbage) show as one
    // replacement mark; an ASCII byte after the bad lead byte is kept as itself.
    *p++ = QChar::ReplacementCharacter;
    if (b >= kFirstLead && b <= 0xFE && trail >= 0x80)
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
