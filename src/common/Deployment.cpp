#include "common/Deployment.h"

#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cstring>

namespace vcm {

namespace {

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
#ifndef Q_OS_WIN
  const auto perms = info.permissions();
  if (perms & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther))
    return fail(QStringLiteral("설치 설정 파일(deploy.ini)을 다른 사용자가 읽을 수 있습니다. "
                               "파일 권한을 소유자 전용(600)으로 바꾼 뒤 다시 실행하세요."));
#endif
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
    return fail(QStringLiteral("설치 설정 파일(deploy.ini)을 읽을 수 없습니다."));
  const QString content = QString::fromUtf8(file.readAll());
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
