#include "ledger/CodeLists.h"

#include "common/MainConn.h"
#include "common/TextHelpers.h"
#include "ledger/DealStatements.h"

#include <cmath>

namespace vcm {

namespace {

using Type = RecordSet::ColumnType;

const std::vector<RecordSet::Column>& accountColumns()
{
  static const std::vector<RecordSet::Column> c{{QStringLiteral("COM_CD"), Type::Text},
                                                {QStringLiteral("ACC_CD"), Type::Text},
                                                {QStringLiteral("ACC_GUBUN"), Type::Integer},
                                                {QStringLiteral("ACC_NM"), Type::Text},
                                                {QStringLiteral("ACC_CONSULT"), Type::Integer}};
  return c;
}

const std::vector<RecordSet::Column>& businessColumns()
{
  static const std::vector<RecordSet::Column> c{{QStringLiteral("COM_CD"), Type::Text},
                                                {QStringLiteral("BUSI_CD"), Type::Text},
                                                {QStringLiteral("BUSI_NM"), Type::Text},
                                                {QStringLiteral("BUSI_CONSULT"), Type::Integer}};
  return c;
}

const std::vector<RecordSet::Column>& bankColumns()
{
  static const std::vector<RecordSet::Column> c{{QStringLiteral("COM_CD"), Type::Text},
                                                {QStringLiteral("BANK_CD"), Type::Text},
                                                {QStringLiteral("BANK_NM"), Type::Text},
                                                {QStringLiteral("BANK_COLOR"), Type::Text}};
  return c;
}

QString integerText(const QString& text)
{
  const double v = numVal(text);
  const double whole = std::trunc(v);
  if (!std::isfinite(whole) || whole < INT32_MIN || whole > INT32_MAX)
    return QStringLiteral("0");
  return QString::number(static_cast<qint32>(whole));
}

std::unique_ptr<RecordSet> query(const QString& sql, const std::vector<RecordSet::Column>& columns)
{
  std::unique_ptr<RecordSet> rs = openRecordSet(sql);
  auto list = CodeLists::copyList(*rs, columns);
  g_Rs_Nothing(rs);
  return list;
}

} // namespace

std::unique_ptr<RecordSet> CodeLists::copyList(RecordSet& source,
                                               const std::vector<RecordSet::Column>& columns)
{
  auto list = std::make_unique<RecordSet>(RecordSet::inMemory(columns));
  std::vector<int> from;
  for (const auto& c : columns)
    from.push_back(source.columnIndex(c.name));
  for (source.moveFirst(); !source.eof(); source.moveNext()) {
    QStringList values;
    for (size_t i = 0; i < columns.size(); ++i) {
      const QString v = from[i] >= 0 ? source.value(from[i]).trimmed() : QString();
      values << (columns[i].type == Type::Integer ? integerText(v) : (v.isNull() ? QLatin1String("") : v));
    }
    list->appendRow(values);
  }
  list->moveFirst();
  return list;
}

void CodeLists::read(const QString& companyCode)
{
  g_Rs_Nothing_Filter(Acc_List);
  Acc_List = query(DealStatements::accountList(companyCode), accountColumns());
  g_Rs_Nothing_Filter(Busi_List);
  Busi_List = query(DealStatements::businessList(companyCode), businessColumns());
  g_Rs_Nothing_Filter(Bank_List);
  Bank_List = query(DealStatements::bankList(companyCode), bankColumns());
  index();
}

void CodeLists::release()
{
  g_Rs_Nothing_Filter(Acc_List);
  g_Rs_Nothing_Filter(Busi_List);
  g_Rs_Nothing_Filter(Bank_List);
  m_accounts.clear();
  m_businesses.clear();
  m_banks.clear();
  m_accountIndex.clear();
  m_businessIndex.clear();
  m_bankIndex.clear();
}

namespace {

/// Code -> position, the first entry of a code winning as a filter's first match would.
template <class T>
QHash<QString, int> indexByCode(const std::vector<T>& items)
{
  QHash<QString, int> index;
  index.reserve(qsizetype(items.size()));
  for (int i = int(items.size()) - 1; i >= 0; --i)
    index.insert(items[size_t(i)].code.toUpper(), i);
  return index;
}

template <class F>
void walk(RecordSet& rs, F&& each)
{
  rs.removeFilter();
  for (rs.moveFirst(); !rs.eof(); rs.moveNext())
    each(rs);
  rs.moveFirst();
}

} // namespace

void CodeLists::index()
{
  m_accounts.clear();
  m_businesses.clear();
  m_banks.clear();
  walk(*Acc_List, [this](RecordSet& rs) {
    m_accounts.push_back({rs.value(1), static_cast<int>(numVal(rs.value(2))), rs.value(3)});
  });
  walk(*Busi_List, [this](RecordSet& rs) { m_businesses.push_back({rs.value(1), rs.value(2)}); });
  walk(*Bank_List, [this](RecordSet& rs) { m_banks.push_back({rs.value(1), rs.value(2), rs.value(3)}); });
  m_accountIndex = indexByCode(m_accounts);
  m_businessIndex = indexByCode(m_businesses);
  m_bankIndex = indexByCode(m_banks);
}

const CodeLists::Account* CodeLists::account(const QString& code) const
{
  const int i = m_accountIndex.value(code.toUpper(), -1);
  return i < 0 ? nullptr : &m_accounts[size_t(i)];
}

const CodeLists::Business* CodeLists::business(const QString& code) const
{
  const int i = m_businessIndex.value(code.toUpper(), -1);
  return i < 0 ? nullptr : &m_businesses[size_t(i)];
}

const CodeLists::Bank* CodeLists::bank(const QString& code) const
{
  const int i = m_bankIndex.value(code.toUpper(), -1);
  return i < 0 ? nullptr : &m_banks[size_t(i)];
}

} // namespace vcm
