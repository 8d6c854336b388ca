#pragma once

#include "support/TestBackend.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vcm::test {

/// A member business of the tests' own (its code reads as a positive number) with a
/// full COM_LIST row and no change requests.
class BusinessDb {
public:
  static const QString Company;

  explicit BusinessDb(Backend& be) : m_be(be) {}

  /// Points Session at the test database and the test company; resets its rows.
  void reset();
  /// Sets COM_LIST columns of the test company: "COL = <SQL value>, ...".
  void set(const QString& assignments) const;
  /// The company's request headers (TRANS_CD, SAVE_DIV, TRANS_DT) by number.
  QList<QStringList> headers() const;
  /// The company's detail rows (TRANS_CD, SAVE_FIELD, decrypted AFTER_STORY) in order.
  QList<QStringList> details() const;
  void addHeader(const QString& number) const;
  void addDetail(const QString& number, const QString& field, const QString& value) const;
  QString infoKey() const;

private:
  Backend& m_be;
};

} // namespace vcm::test
