#include "common/Deployment.h"

#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cstring>

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <aclapi.h>
#endif

namespace vcm {

namespace {

#ifdef Q_OS_WIN
bool trustedReader(PSID sid, PSID owner)
{
  return (owner && EqualSid(sid, owner)) || IsWellKnownSid(sid, WinLocalSystemSid) ||
         IsWellKnownSid(sid, WinBuiltinAdministratorsSid);
}

/// True when the file's access list lets anyone but its owner, SYSTEM and the
/// Administrators read it, or when that cannot be told.
bool readableByOthers(const QFileInfo& info)
{
  const std::wstring path = QDir::toNativeSeparators(info.absoluteFilePath()).toStdWString();
  PSID owner = nullptr;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT,
                            OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr,
                            &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
    return true;
  bool open = dacl == nullptr;  // no access list at all lets everyone in
  constexpr DWORD readRights = FILE_READ_DATA | GENERIC_READ | GENERIC_ALL;
  for (DWORD i = 0; !open && i < dacl->AceCount; ++i) {
    void* entry = nullptr;
    if (!GetAce(dacl, i, &entry)) {
      open = true;
      break;
    }
    const auto* header = static_cast<const ACE_HEADER*>(entry);
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
      continue;
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
    if ((allowed->Mask & readRights) && !trustedReader(&allowed->SidStart, owner))
      open = true;
  }
  LocalFree(descriptor);
  return open;
}
#else
bool readableByOthers(const QFileInfo& info)
{
  return info.permissions() &
         (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther);
}
#endif

const QSet<QString> kRecipeKeys = {
    QStringLiteral("server_address"), QStringLiteral("db_user"),   QStringLiteral("ftp_user"),
    QStringLiteral("db_password"),    QStringLiteral("db_name"),   QStringLiteral("crypt_key"),
    QStringLiteral("info_crypt_key"), QStringLiteral("server_list_host"),
    QStringLiteral("manual_host"),    QStringLiteral("maindb"),    QStringLiteral("db")};

const QSet<QString> kTlsModeKeys = {QStringLiteral("db_tls"), QStringLiteral("ftp_tls"),
                                    QStringLiteral("http_tls")};

const QSet<QString> kNumberKeys = {QStringLiteral("db_port"), QStringLiteral("ftp_port"),
                                   QStringLiteral("http_port"), QStringLiteral("https_port")};

bool pick(const QString& token, QChar* out)
{
  if (token == QLatin1String(".") || token == QLatin1String(":")) {
    *out = token.at(0);
    return true;
  }
  if (token.size() < 2)
    return false;
  bool ok = false;
  const int n = token.mid(1).toInt(&ok);
  if (!ok || n < 0)
    return false;
  switch (token.at(0).unicode()) {
  case 'd':
    if (n > 9)
      return false;
    *out = QLatin1Char(Deployment::kDigits[n]);
    return true;
  case 'l':
  case 'u':
    if (n > 25)
      return false;
    *out = QLatin1Char(Deployment::kLetters[n]);
    if (token.at(0) == QLatin1Char('u'))
      *out = out->toUpper();
    return true;
  case 's':
    if (n >= static_cast<int>(qstrlen(Deployment::kSpecials)))
      return false;
    *out = QLatin1Char(Deployment::kSpecials[n]);
    return true;
  default:
    return false;
  }
}

/// tls_ca: a fingerprint to pin, or the name of a readable CA file in the deployment
/// file's folder (a bare file name; a path elsewhere is refused so the file travels with
/// the installation).
bool parseTrust(const QString& value, const QDir& folder, TransportSecurity* tls)
{
  if (parseSha256Pin(value, &tls->pinnedSha256))
    return true;
  if (value.isEmpty() || value.contains(QLatin1Char('/')) || value.contains(QLatin1Char('\\')))
    return false;
  const QFileInfo ca(folder.filePath(value));
  if (!ca.isFile() || !ca.isReadable())
    return false;
  tls->caFile = ca.absoluteFilePath();
  return true;
}

} // namespace

QString Deployment::defaultPath()
{
  const QByteArray overridden = qgetenv("VETRA_CARE_DEPLOY");
  if (!overridden.isEmpty())
    return QString::fromLocal8Bit(overridden);
  return paths::inProgramDir(QStringLiteral("deploy.ini"));
}

bool Deployment::assembleRecipe(const QString& recipe, QString* out)
{
  QString value;
  for (const QString& token : recipe.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    QChar c;
    if (!pick(token, &c))
      return false;
    value += c;
  }
  *out = value;
  return true;
}

QString Deployment::recipeFor(const QString& value)
{
  QStringList tokens;
  for (QChar c : value) {
    const char a = c.toLatin1();
    if (c == QLatin1Char('.') || c == QLatin1Char(':'))
      tokens << QString(c);
    else if (a >= '0' && a <= '9')
      tokens << QStringLiteral("d%1").arg(a - '0');
    else if (a >= 'a' && a <= 'z')
      tokens << QStringLiteral("l%1").arg(a - 'a');
    else if (a >= 'A' && a <= 'Z')
      tokens << QStringLiteral("u%1").arg(a - 'A');
    else if (const char* p = a ? std::strchr(kSpecials, a) : nullptr)
      tokens << QStringLiteral("s%1").arg(p - kSpecials);
    else
      return QString(); // not representable
  }
  return tokens.join(QLatin1Char(' '));
}

namespace {
/// Largest deployment file read: the real one holds a few hundred bytes.
constexpr qint64 kMaxFileBytes = 16 * 1024;
} // namespace

bool Deployment::load(const QString& path, QString* error)
{
  m_recipes.clear();
  m_numbers.clear();
  m_tls = TransportSecurity();
  const auto fail = [&](const QString& why) {
    if (error)
      *error = why;
    m_recipes.clear();
    m_numbers.clear();
    m_tls = TransportSecurity();
    return false;
  };
  const QFileInfo info(path);
  if (!info.exists())
    return fail(QStringLiteral("설치 설정 파일(deploy.ini)이 없습니다. 프로그램을 다시 설치해 주세요."));
  // A pipe or a device would be read without end; a real file is a few hundred bytes.
  if (!info.isFile())
    return fail(QStringLiteral("설치 설정 파일(deploy.ini)이 일반 파일이 아닙니다. 프로그램을 다시 설치해 주세요."));
  const QString tooBig = QStringLiteral("설치 설정 파일(deploy.ini)이 너무 큽니다(%1바이트 초과). 프로그램을 다시 설치해 주세요.")
                             .arg(kMaxFileBytes);
  if (info.size() > kMaxFileBytes)
    return fail(tooBig);
  if (readableByOthers(info))
    return fail(QStringLiteral("설치 설정 파일(deploy.ini)을 다른 사용자가 읽을 수 있습니다. "
                               "파일 권한을 소유자 전용(600)으로 바꾼 뒤 다시 실행하세요."));
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
    return fail(QStringLiteral("설치 설정 파일(deploy.ini)을 읽을 수 없습니다."));
  // Read no further than the limit even if the file grew since it was measured.
  const QByteArray bytes = file.read(kMaxFileBytes + 1);
  if (bytes.size() > kMaxFileBytes)
    return fail(tooBig);
  const QString content = QString::fromUtf8(bytes);
  int lineNo = 0;
  for (const QString& raw : content.split(QLatin1Char('\n'))) {
    ++lineNo;
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')) ||
        line.startsWith(QLatin1Char('[')))
      continue;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    const QString key = eq > 0 ? line.left(eq).trimmed() : QString();
    const QString value = eq > 0 ? line.mid(eq + 1).trimmed() : QString();
    const QString where = QStringLiteral("설치 설정 파일(deploy.ini) %1번째 줄이 올바르지 않습니다.").arg(lineNo);
    if (kNumberKeys.contains(key)) {
      bool ok = false;
      const int n = value.toInt(&ok);
      if (!ok || n <= 0 || n > 65535)
        return fail(where);
      m_numbers.insert(key, n);
    } else if (kTlsModeKeys.contains(key)) {
      TlsMode mode;
      if (!parseTlsMode(value, &mode))
        return fail(where);
      (key == QLatin1String("db_tls") ? m_tls.db : key == QLatin1String("ftp_tls") ? m_tls.ftp : m_tls.http) = mode;
    } else if (key == QLatin1String("tls_ca")) {
      if (!parseTrust(value, info.absoluteDir(), &m_tls))
        return fail(QStringLiteral("설치 설정 파일(deploy.ini)의 tls_ca(%1)가 인증서 파일도 "
                                   "SHA-256 지문도 아닙니다.").arg(value));
    } else if (kRecipeKeys.contains(key)) {
      QString assembled;
      if (!assembleRecipe(value, &assembled) || assembled.isEmpty())
        return fail(where);
      m_recipes.insert(key, value);
    } else {
      return fail(where);
    }
  }
  for (const char* required : {"server_address", "db_user", "ftp_user", "db_password", "db_name",
                               "crypt_key", "server_list_host", "maindb", "db"})
    if (!m_recipes.contains(QLatin1String(required)))
      return fail(QStringLiteral("설치 설정 파일(deploy.ini)에 필요한 항목(%1)이 없습니다.")
                      .arg(QLatin1String(required)));
  return true;
}

QString Deployment::assemble(const QString& key) const
{
  QString out;
  if (!assembleRecipe(m_recipes.value(key), &out))
    return QString();
  return out;
}

int Deployment::number(const QString& key, int fallback) const
{
  return m_numbers.value(key, fallback);
}

} // namespace vcm
