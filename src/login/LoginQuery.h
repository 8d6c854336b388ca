#pragma once

#include <QString>

namespace vcm {

class RecordSet;

/// What the member table says about a login attempt.
enum class LoginVerdict {
  UnknownId,     ///< no member with the typed ID
  WrongPassword, ///< the ID exists, the password differs
  Maintenance,   ///< the member's service is under maintenance (MEMBER_APP_USE 9)
  Accepted,
};

/// Building and judging the login query against COM_LIST. The ID and password are kept
/// encrypted in the table; the database decrypts them inside the query with the key, so
/// the key never leaves the statement and nothing is decrypted on this side.
class LoginQuery {
public:
  /// The query for `typedId` (trimmed here and escaped for the literal) with `cryptKey`.
  static QString build(const QString& cryptKey, const QString& typedId);

  /// Judges the first row of the query's result against the typed password. An empty
  /// password never matches, so a member row without a password cannot be entered with
  /// an empty field.
  static LoginVerdict judge(const RecordSet& rows, const QString& typedPassword);

  /// True when both typed fields hold more than blanks, so Enter may submit.
  static bool bothFilled(const QString& typedId, const QString& typedPassword);

  static inline const QString kUnknownIdText =
      QStringLiteral("해당 [아이디]는 존재하지 않습니다.\r\n\r\n로그인을 취소합니다.");
  static inline const QString kWrongPasswordText =
      QStringLiteral("해당 [패스워드]는 존재하지 않습니다.\r\n\r\n로그인을 취소합니다.");
  static inline const QString kMaintenanceText = QStringLiteral("해당 [서버점검]중입니다. ");
};

} // namespace vcm
