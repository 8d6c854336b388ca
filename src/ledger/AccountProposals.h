#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace vcm {

class CodeLists;
class RecordSet;

/// Proposes an account for a bank entry from the centre's own history: the account it
/// used most often for the same counterpart (for the same counterpart with the same
/// summary first: a resident's co-payment and meal fee go to different accounts), else
/// for the same summary, else for the summary's words. Ties go to the most recent use. An income entry is only ever given
/// an income account and an expense entry an expense account, and an account that is
/// no longer in the chart of accounts is never proposed.
///
/// The history arrives already counted by the server (one row per counterpart, summary
/// and account, with how often and when last), so learning a year of a centre is a few
/// thousand rows however many entries it has.
class AccountProposals {
public:
  enum class Basis { Counterpart, Summary, Word };

  struct Proposal {
    QString account;  ///< account code; empty when there is nothing to propose
    Basis basis = Basis::Counterpart;
    QString key;      ///< the counterpart, summary or word the proposal rests on
    int count = 0;    ///< how often the centre used the account for it

    bool isValid() const { return !account.isEmpty(); }
    /// "거래처 [한빛주유소] 지난 12개월 14회"
    QString reason() const;
  };

  /// The history query: accounts assigned in the twelve months before `month` ("YYYY.MM")
  /// and, unless the caller learns it from elsewhere, in the month itself, counted per
  /// counterpart, summary and account.
  static QString historySql(const QString& companyCode, const QString& month, bool withMonth = true);

  /// Learns the rows of historySql's result (DEAL_CUST, DEAL_SUMM, DACC_CD, CNT, LAST_AT).
  void learn(RecordSet& history);
  /// Learns one counted use: `last` orders uses in time (a later one compares greater).
  void add(const QString& counterpart, const QString& summary, const QString& account, int count,
           const QString& last);
  void clear();
  bool isEmpty() const { return m_byCounterpart.isEmpty() && m_bySummary.isEmpty(); }

  /// The chart of accounts as proposals need it: code -> class (1 income, else expense).
  using Chart = QHash<QString, int>;
  static Chart chartOf(const CodeLists& lists);

  /// The proposal for an entry of class `entryClass` (1 income, 2 expense) among the
  /// accounts of `chart`; invalid when none fits.
  Proposal propose(const QString& counterpart, const QString& summary, int entryClass,
                   const Chart& chart) const;

  /// The words of a summary that carry meaning: runs of letters of two or more.
  static QStringList words(const QString& summary);

private:
  struct Use {
    int count = 0;
    QString last;
  };
  using Tally = QHash<QString, Use>; // account code -> use

  static QString keyOf(const QString& text);
  static void addUse(Tally& tally, const QString& account, int count, const QString& last);
  /// The best account of a tally that `fits`; empty when none.
  template <class Fits>
  static QString best(const Tally& tally, Fits fits, int* count);

  QHash<QString, Tally> m_byPair; ///< counterpart and summary together
  QHash<QString, Tally> m_byCounterpart;
  QHash<QString, Tally> m_bySummary;
  QHash<QString, Tally> m_byWord;
};

} // namespace vcm
