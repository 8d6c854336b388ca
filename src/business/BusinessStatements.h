#pragma once

#include <QList>
#include <QString>

namespace vcm {

/// One changed field of a change request: the COM_LIST column and its new value.
struct ChangedField {
  QString field;
  QString value;

  bool operator==(const ChangedField&) const = default;
};

/// The registered details of member business `companyCode`, the five credentials
/// decrypted under `infoKey` by the server. `withWriteFlag` adds MEMBER_WRITE_COM (the
/// view needs it to offer the change button; the change screen does not).
QString companyDetailQuery(const QString& infoKey, const QString& companyCode, bool withWriteFlag);

/// The highest number the member business has used (M_NO, NULL before the first), over
/// the headers and the detail rows both: details without a header belong to another
/// computer's save in progress or to a save whose header failed, and a new request
/// must not take their number and so take them over. The numbers are compared as
/// numbers: as texts "9999" would sort after "10000".
QString requestNumberQuery(const QString& companyCode);

/// The number of the next request: "0001" when there is none yet, else the highest plus
/// one with at least four digits ("0010", "10000").
QString nextRequestNumber(const QString& maxNumber, bool isNull);

/// All detail rows of request `requestNumber` in one INSERT, every value trimmed,
/// escaped and encrypted under `infoKey` by the server. `rows` must not be empty.
QString detailInsert(const QString& companyCode, const QString& requestNumber,
                     const QList<ChangedField>& rows, const QString& infoKey);

/// The request's header row, saved at `savedAt` ("YYYY.MM.DD HH:MM:SS").
QString headerInsert(const QString& companyCode, const QString& requestNumber,
                     const QString& savedAt);

} // namespace vcm
