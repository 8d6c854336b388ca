#include "startup/AccessRegistration.h"

#include "common/CurlTls.h"

#include "common/RuntimeError.h"
#include "common/Session.h"
#include "platform/Ui.h"
#include "startup/HttpPost.h"

#include <cmath>

namespace vcm {

namespace {

const QString kPlainPath = QStringLiteral("/test/GET_LIST_IP.php");
const QString kHostPath = QStringLiteral("/test/GET_LIST_IP_HP.php");
const QString kListKind = QStringLiteral("VETRA_MEMBER_LIST");

/// An answer that is not a number cannot be compared with 1: a type mismatch.
constexpr int kTypeMismatch = 13;

void failAndEnd()
{
  notice(registration::failureMessage(), Icon::Exclamation);
  ui().endProcess(1);
}

/// Posts to the server-list service over HTTPS and/or HTTP as http_tls says. Under
/// Preferred a failed HTTPS attempt is followed by plain HTTP, unless a named CA or pin
/// rejected the certificate.
QByteArray postToServerList(const QString& target)
{
  const auto addresses = httpAddresses(Session.ServerListHost, Session.HttpPort, Session.HttpsPort,
                                       target, Session.Tls.http);
  for (qsizetype i = 0;; ++i) {
    try {
      return httpPostForm(addresses[i].url, Session.SqlText.toUtf8());
    } catch (const RuntimeError& e) {
      const bool last = i + 1 == addresses.size();
      if (last || !mayFallBackToClear(e.nativeCode, Session.Tls)) {
        if (addresses[i].tls && isCurlTlsFailure(e.nativeCode))
          notice(tlsRequiredNotice(), Icon::Exclamation);
        throw;
      }
    }
  }
}

/// Up to five attempts, 300 ms apart with events running between them. A number other
/// than 1 is tried again; anything else ends at once.
void registerAddress(const QString& path, const QString& strkind)
{
  try {
    if (Session.ServerListHost.isEmpty())
      failAndEnd();
    for (int attempt = 1;; ++attempt) {
      const QString target = path + QLatin1Char('?') + registration::queryString(strkind);
      const auto answer = registration::answerNumber(postToServerList(target));
      if (!answer)
        throw RuntimeError(kTypeMismatch, QStringLiteral("형식이 일치하지 않습니다."));
      if (*answer == 1.0)
        return;
      if (attempt == registration::kAttempts)
        failAndEnd();
      ui().pause(registration::kRetryPauseMs);
    }
  } catch (const RuntimeError&) {
    failAndEnd();
  }
}

} // namespace

namespace registration {

QString queryString(const QString& strkind)
{
  return QStringLiteral("host=localhost&id=") + Session.DbUser + QStringLiteral("&pw=") +
         Session.DbPassword + QStringLiteral("&maindb=") + Session.ServiceMainDb +
         QStringLiteral("&db=") + Session.ServiceDb + QStringLiteral("&strkind=") + strkind;
}

std::optional<QString> refusedAddress(const QString& upperCasedRefusal)
{
  QString candidate = upperCasedRefusal;
  candidate.remove(QLatin1Char(' '));
  candidate.remove(QStringLiteral("[MYSQL][ODBC3.51DRIVER]HOST'"));
  candidate.remove(QStringLiteral("'ISNOTALLOWEDTOCONNECTTOTHISMYSQLSERVER"));
  if (candidate.count(QLatin1Char('.')) != 3)
    return std::nullopt;
  QString digits = candidate;
  digits.remove(QLatin1Char('.'));
  if (digits.isEmpty())
    return std::nullopt;
  for (QChar c : digits)
    if (c < QLatin1Char('0') || c > QLatin1Char('9'))
      return std::nullopt;
  return candidate;
}

std::optional<double> answerNumber(const QByteArray& body)
{
  const QString text = QString::fromUtf8(body).trimmed();
  bool ok = false;
  const double value = text.toDouble(&ok);
  if (!ok || !std::isfinite(value))
    return std::nullopt;
  return value;
}

QString failureMessage()
{
  return QStringLiteral("컴퓨터 식별에 실패하였습니다. 프로그램을 종료합니다.\r\n\r\n"
                        "잠시 후 다시 시도해주세요. 계속 그럴경우 개발사로 연락주시기 바랍니다.");
}

} // namespace registration

void g_Send_IP()
{
  registerAddress(kPlainPath, kListKind);
}

bool g_Send_Host_IP(const QString& refusalText)
{
  const auto address = registration::refusedAddress(refusalText);
  if (!address)
    return false;
  registerAddress(kHostPath, kListKind + QLatin1Char('=') + *address);
  return true;
}

} // namespace vcm
