#include "common/TransportSecurity.h"

#include <cctype>

namespace vcm {

bool parseTlsMode(const QString& text, TlsMode* mode)
{
  const QString t = text.trimmed().toLower();
  if (t == QLatin1String("off"))
    *mode = TlsMode::Off;
  else if (t == QLatin1String("preferred"))
    *mode = TlsMode::Preferred;
  else if (t == QLatin1String("required"))
    *mode = TlsMode::Required;
  else
    return false;
  return true;
}

bool parseSha256Pin(const QString& text, QByteArray* pin)
{
  QString t = text.trimmed();
  for (const char* prefix : {"sha256//", "sha256:"})
    if (t.startsWith(QLatin1String(prefix), Qt::CaseInsensitive)) {
      t = t.mid(qstrlen(prefix));
      break;
    }
  t.remove(QLatin1Char(':'));
  if (t.size() != 64)
    return false;
  for (QChar c : t)
    if (!isxdigit(c.toLatin1()))
      return false;
  *pin = QByteArray::fromHex(t.toLatin1());
  return true;
}

QByteArray pinText(const QByteArray& pin)
{
  return pin.toHex(':').toUpper();
}

} // namespace vcm
