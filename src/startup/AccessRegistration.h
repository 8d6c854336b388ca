#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace vcm {

/// Asks the server-list service to admit the address the request comes from. Returns
/// after the service answered 1; otherwise shows the failure message and ends the process.
void g_Send_IP();

/// Asks the server-list service to admit the address named in a MySQL refusal text
/// (already upper-cased). False, with nothing sent, when the text names no address;
/// true after the service answered 1; otherwise the failure message and the end.
bool g_Send_Host_IP(const QString& refusalText);

namespace registration {

inline constexpr int kAttempts = 5;
inline constexpr int kRetryPauseMs = 300;

/// The query string the service expects, values inserted as they are.
QString queryString(const QString& strkind);

/// The address a refusal text names: blanks removed, the driver's fixed wording
/// removed; accepted only with exactly three dots and nothing but digits besides them.
std::optional<QString> refusedAddress(const QString& upperCasedRefusal);

/// The service's answer as a number: the trimmed body must read as a number as a whole.
/// Nothing for an empty body or text such as "OK".
std::optional<double> answerNumber(const QByteArray& body);

/// "컴퓨터 식별에 실패하였습니다. ..." with the blank line between its two sentences.
QString failureMessage();

} // namespace registration

} // namespace vcm
