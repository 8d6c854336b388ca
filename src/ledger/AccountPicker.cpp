#include "ledger/AccountPicker.h"

#include "common/grid/Grid.h"
#include "ledger/DealColumns.h"
#include "ledger/InitialConsonants.h"
#include "ledger/LikePattern.h"

#include <cmath>

namespace vcm {

namespace {

/// Account names of the quick digits 0..8; the legend under the grid shows them.
const QStringList kQuickNames[9] = {
    {QStringLiteral("생계비")},
    {QStringLiteral("수용비및수수료")},
    {QStringLiteral("공공요금및제세공과금"), QStringLiteral("공공요금및각종세금공과금")},
    {QStringLiteral("기관운영비")},
    {QStringLiteral("기타운영비")},
    {QStringLiteral("차량비")},
    {QStringLiteral("본인부담금수입")},
    {QStringLiteral("장기요양급여수입"), QStringLiteral("장기요양급여수입(인건비비율반영)")},
    {QStringLiteral("기타잡수입")},
};

QString withoutBlanks(QString text)
{
  return text.remove(QLatin1Char(' '));
}

bool isNumber(const QString& text)
{
  bool ok = false;
  text.trimmed().toDouble(&ok);
  return ok;
}

} // namespace

std::optional<QStringList> AccountPicker::quickNames(const QString& typed, int row, const QString& accountAbove)
{
  bool ok = false;
  const double value = typed.trimmed().toDouble(&ok);
  if (!ok || value < 0 || value > 9 || value != std::floor(value))
    return std::nullopt;
  const int digit = int(value);
  if (digit < 9)
    return kQuickNames[digit];
  if (row < 2)
    return std::nullopt;
  return QStringList{withoutBlanks(accountAbove.mid(4))};
}

int AccountPicker::findName(const Grid& picker, const QStringList& names)
{
  for (int r = 1; r <= picker.rowCount(); ++r)
    if (names.contains(withoutBlanks(picker.text(picker::Name, r))))
      return r;
  return -1;
}

QString AccountPicker::accountText(const Grid& picker, int row)
{
  const QString code = picker.text(picker::Code, row).trimmed();
  const QString name = picker.text(picker::Name, row).trimmed();
  if (code.isEmpty() || name.isEmpty())
    return QString();
  return code + QLatin1Char('.') + name;
}

QString AccountPicker::filterText(const QString& accountCell)
{
  QString t = accountCell.trimmed();
  if (isNumber(t.left(3)))
    t = t.mid(3);
  if (t.startsWith(QLatin1Char('.')))
    t = t.mid(1);
  return t;
}

bool AccountPicker::nameMatches(const QString& name, const QString& text)
{
  if (InitialConsonants::hasInitials(text))
    return InitialConsonants::contains(name, text);
  return LikePattern::matches(name, QLatin1Char('*') + text + QLatin1Char('*'));
}

AccountPicker::Filtered AccountPicker::filter(Grid& picker, const QString& text)
{
  Filtered result;
  RedrawSuspended suspended(picker);
  for (int r = 1; r <= picker.rowCount(); ++r) {
    const bool shown = text.isEmpty() || nameMatches(picker.text(picker::Name, r).trimmed(), text);
    picker.setRowHidden(r, !shown);
    if (shown) {
      ++result.shown;
      result.onlyRow = r;
    }
  }
  if (result.shown != 1)
    result.onlyRow = 0;
  return result;
}

void AccountPicker::showAll(Grid& picker)
{
  RedrawSuspended suspended(picker);
  for (int r = 1; r <= picker.rowCount(); ++r)
    picker.setRowHidden(r, false);
}

int AccountPicker::firstShownRow(const Grid& picker)
{
  for (int r = 1; r <= picker.rowCount(); ++r)
    if (!picker.isRowHidden(r))
      return r;
  return 0;
}

} // namespace vcm
