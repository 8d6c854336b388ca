#pragma once

#include <QString>
#include <stdexcept>

namespace vcm {

/// The one error type of the db, file and network layers. `number` and `description`
/// are what the standard error notice shows; `nativeCode` keeps the server's own error
/// code (for example 1130) for callers that need to tell refusals apart.
struct RuntimeError : std::runtime_error {
  RuntimeError(int number, QString description, int nativeCode = 0)
      : std::runtime_error(description.toStdString()), number(number),
        description(std::move(description)), nativeCode(nativeCode)
  {
  }

  int number;
  QString description;
  int nativeCode;
};

namespace errors {
/// Number every database provider failure carries, as the old client's notices showed.
inline constexpr int kProvider = -2147467259;
/// Operation on a closed connection or record set.
inline constexpr int kObjectClosed = 3704;
/// No current record (past the end of a record set).
inline constexpr int kNoCurrentRecord = 3021;
/// A column name that the record set does not have.
inline constexpr int kItemNotFound = 3265;
/// Text that the database's character set cannot hold.
inline constexpr int kUnencodable = 30001;
} // namespace errors

} // namespace vcm
