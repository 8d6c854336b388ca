#include "ledger/SaveValidator.h"

#include "common/TextHelpers.h"
#include "common/db/ColumnLimits.h"
#include "common/db/EucKr.h"
#include "common/grid/Grid.h"
#include "ledger/DealColumns.h"

namespace vcm {

namespace {

const QString kUnknownAccount = QStringLiteral("행 - 존재하지 않는 [계정명]입니다. 저장을 취소합니다.");
const QString kWrongAccountCode =
    QStringLiteral("행 - 계정코드가 틀립니다. 개발사로 연락주세요. 저장을 취소합니다.");
const QString kBothAmounts = QStringLiteral("행 - [수입,지출] 금액 둘다 존재합니다. 저장을 취소합니다.");
const QString kNoAmount = QStringLiteral("행 - [수입,지출] 금액 둘다 0원입니다. 저장을 취소합니다.");
const QString kIncomeOnExpense = QStringLiteral(
    "행 - [수입금액]이 존재하나 계정은 [지출계정]으로 설정되어있습니다. 저장을 취소합니다.");
const QString kReceiptOnIncome =
    QStringLiteral("행 - [수입]인데, [영수증여부]에 체크가 되어있습니다. 저장을 취소합니다.");
const QString kExpenseOnIncome = QStringLiteral(
    "행 - [지출금액]이 존재하나 계정은 [수입계정]으로 설정되어있습니다. 저장을 취소합니다.");

/// The texts the save writes as typed, with the names the member knows them by.
const struct {
  int column;
  const char16_t* name;
  const char* dbColumn;
} kTypedTexts[] = {{deal::Summary, u"적요", "DEAL_SUMM"},
                   {deal::Customer, u"거래처", "DEAL_CUST"},
                   {deal::Target, u"대상자", "DEAL_TARGET"}};

/// A typed text the server's code page cannot hold would stop the save halfway, after
/// earlier rows were written; finding it here keeps the save whole.
QString unstorableText(const Grid& deal, int row)
{
  for (const auto& t : kTypedTexts) {
    const QString bad = euckr::firstUnencodable(deal.text(t.column, row));
    if (!bad.isNull())
      return QStringLiteral("행 - [") + QString::fromUtf16(t.name) + QStringLiteral("]에 저장할 수 없는 문자(") +
             bad + QStringLiteral(")가 있습니다. 저장을 취소합니다.");
  }
  return {};
}

bool isNumber(const QString& text)
{
  bool ok = false;
  text.trimmed().toDouble(&ok);
  return ok;
}

} // namespace

QString SaveValidator::rowFailure(const Grid& deal, const Grid& picker, int row)
{
  const QString failure = accountOrAmountFailure(deal, picker, row);
  return failure.isEmpty() ? unstorableText(deal, row) : failure;
}

QString SaveValidator::accountOrAmountFailure(const Grid& deal, const Grid& picker, int row)
{
  const QString account = deal.text(deal::Account, row);
  int pickerRow = -1;
  if (!account.trimmed().isEmpty()) {
    const QString code = account.left(3);
    if (!isNumber(code))
      return kUnknownAccount;
    pickerRow = picker.searchColumn(picker::Code, 0, picker.rowCount(), code);
    if (pickerRow < 0)
      return kUnknownAccount;
    if (picker.text(picker::Name, pickerRow).trimmed() != account.mid(4))
      return kWrongAccountCode;
  }

  const double income = deal.shownNumber(deal::InAmount, row);
  const double expense = deal.shownNumber(deal::OutAmount, row);
  if (income != 0 && expense != 0)
    return kBothAmounts;
  if (income + expense == 0)
    return kNoAmount;
  if (pickerRow < 0)
    return {};
  const double accountClass = numVal(picker.text(picker::ClassNo, pickerRow));
  if (income > 0) {
    if (accountClass == 2)
      return kIncomeOnExpense;
    if (deal.flag(deal::Receipt, row))
      return kReceiptOnIncome;
  }
  if (expense > 0 && accountClass == 1)
    return kExpenseOnIncome;
  return {};
}

namespace {

/// The first changed row (column 26 set) that `failureOf` finds fault with, in grid
/// order; the message is the row number followed by the fault.
template <typename FailureOf>
SaveValidator::Result firstFailingRow(const Grid& deal, FailureOf failureOf)
{
  SaveValidator::Result result;
  for (int r = 1; r <= deal.rowCount(); ++r) {
    if (!deal.flag(deal::Changed, r))
      continue;
    ++result.changedRows;
    const QString failure = failureOf(r);
    if (!failure.isEmpty()) {
      result.failedRow = r;
      result.message = QString::number(r) + failure;
      return result;
    }
  }
  return result;
}

} // namespace

SaveValidator::Result SaveValidator::check(const Grid& deal, const Grid& picker)
{
  return firstFailingRow(deal, [&](int r) { return rowFailure(deal, picker, r); });
}

SaveValidator::Result SaveValidator::checkLengths(const Grid& deal, const ColumnLimits& limits)
{
  return firstFailingRow(deal, [&](int r) {
    for (const auto& t : kTypedTexts) {
      // The statements write the trimmed cell text.
      const QString refusal = limits.refusal(QString::fromUtf16(t.name), deal.text(t.column, r).trimmed(),
                                             QStringLiteral("DEAL_LIST"), QString::fromLatin1(t.dbColumn));
      if (!refusal.isNull())
        return QStringLiteral("행 - ") + refusal;
    }
    return QString();
  });
}

} // namespace vcm
