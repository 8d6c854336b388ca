#pragma once

#include "common/grid/Grid.h"
#include "ledger/AccountProposals.h"
#include "ledger/CodeLists.h"
#include "ledger/DealSearch.h"
#include "ledger/DealStatements.h"
#include "ledger/LedgerForm.h"

#include <QDate>
#include <QString>

#include <functional>
#include <vector>

namespace vcm {

class LedgerHost;

/// The monthly ledger screen 회계2_거래리스트_New without its widgets: the grid sprDeal
/// and the account picker sprCbo_Acc as data, the code lists, the state of the other
/// controls (LedgerForm) and every procedure that loads, selects, totals, enters and
/// leaves the work state, checks and saves (Ledger.cpp), splits and deletes
/// (LedgerSplit.cpp), answers the grid's keys and the account picker (LedgerKeys.cpp), and
/// changes the month, searches, sends the month for closing and exports (LedgerSearch.cpp).
/// The screen class wires widgets to it.
///
/// The work state is the tag "WORK" of the main window's work button 1, read through
/// the host. Procedures handle their own run-time errors with the standard notice, as
/// event handlers must; none throws.
class Ledger {
public:
  static const QString ScreenName; ///< "회계2_거래리스트_New"
  static const QString WorkButtonFlags; ///< "0,1,1,1,0,0,1,0,1"
  /// The status line's answer to typing into the grid in browse.
  static const QString BrowseTypingHint;

  /// The grids are the screen's (a GridView owns each); tests give plain ones.
  Ledger(LedgerHost& host, Grid& deal, Grid& picker);

  Grid& sprDeal;
  Grid& sprCbo_Acc;
  CodeLists lists;
  LedgerForm form;

  // Screen state values.
  qint32 Cur_Row = 0;
  qint32 Search_Row = 0;
  bool Combo_Open = false;
  bool Tilde_Key = false;
  bool Key_Move = false;
  QString Mon_Target; ///< name of the control that receives a date picked in MonV
  QString SqlText;    ///< the statement being built

  /// Unloads the screen (work command 8). The screen sets it; the close request below
  /// still decides.
  std::function<void()> unloadScreen;
  /// Opens the search popup modally on the matches, as the ledger's caller, so that it
  /// writes Search_Row. The screen shows the dialog; tests pick without one.
  std::function<void(const SearchList&)> showSearchPopup;
  /// Set by the first activation: from then on a month change reloads.
  bool Shown = false;

  // --- opening, activation -------------------------------------------------
  void Form_Load();
  /// The host's side of an activation: visible work buttons, reload, quick button.
  void Form_Activate();
  void Set_Job_List();

  // --- loading, selection, totals ---------------------------------------------
  void Set_Basic_info();
  void Set_Deal_List(int sort);
  void frm_Clear();
  void Set_Total_Info();
  void sprDeal_Click(qint32 col, qint32 row);
  void Set_Spr_Color(qint32 row, Colour colour, qint32 col);
  void Set_Spr_Color_Work(qint32 row, Colour colour, qint32 col);

  // --- work state and save -----------------------------------------------------
  void AAA_Cmd_Work(short command);
  void State_Div(const QString& mode);
  bool chk_Work_Right();
  /// A cell of sprDeal changed by the member (edit tracking).
  void sprDeal_Change(qint32 col, qint32 row);
  bool chk_Divide_Amt();
  bool Save_Deal();
  void chk_Order();
  /// The screen is asked to close; `cancel` set refuses.
  void Form_QueryUnload(bool& cancel);

  // --- split and delete ----------------------------------------------------------
  /// cmdRowAdd_Divide(n) and subRowAdd(n): splits Cur_Row into n new parts.
  void cmdRowAdd_Divide_Click(int parts);
  /// cmdRowDel and subRowDel: removes Cur_Row when it is an unsaved part.
  void cmdRowDel_Click();
  /// Deletes the entries marked in column 1 from the database (work command 3).
  void Del_Noim();

  // --- grid keys, mouse and the account picker ------------------------------------
  /// The member typed into a cell that is being edited (the grid holds the new text).
  void sprDeal_EditChange(qint32 col, qint32 row);
  /// A key went down in sprDeal; `key` set to 0 swallows it.
  void sprDEAL_KeyDown(int& key, int shift);
  /// A character is typed into sprDeal; `ascii` set to 0 swallows it.
  void sprDeal_KeyPress(int& ascii);
  /// Right click on a cell: true when the pop-up menu pMenu is to be shown.
  bool sprDeal_RightClick(qint32 col, qint32 row);
  /// A header click would sort by `col`: the ledger sorts itself in browse and always
  /// cancels the grid's own sorting.
  void sprI_BeforeUserSort(qint32 col, bool& cancel);
  void sprDeal_ComboDropDown(qint32 col, qint32 row);
  void sprDeal_ComboCloseUp(qint32 col, qint32 row);
  /// Opens the account picker for a row; mode "A" shows every account, any other the
  /// accounts that the row's account cell names.
  void Show_Cbo_Acc(qint32 row, const QString& mode);
  void sprCbo_Acc_DblClick(qint32 col, qint32 row);
  void sprCbo_Acc_KeyDown(int& key);
  /// Writes the account of picker row `pickerRow` into the row the picker was opened for.
  void Set_Select_Acc(qint32 pickerRow);

  // --- month, search, closing transfer, manual, export ---------------------------
  void msk_M_Change();
  /// Spin button 1 goes one month back, 2 one month forward.
  void Dat_M_ButtonHit(int button);
  /// The calendar button: the calendar will write into msk_M. The screen places MonV.
  void cmdMon_Click();
  void MonV_DateClick(const QDate& date);
  void optSearch_F_Click();
  void cmdSearch_Click();
  /// The button beside the totals: drops the search text and the income/expense option
  /// and reloads the month without them.
  void cmdFilterClear_Click();
  /// Sends the month to the service for closing (cmdTrans).
  void cmdTrans_Click();
  /// The user manual's web address (cmdManual).
  static QString manualUrl();
  /// Work command 6: the month's list as a spreadsheet file.
  void exportList();

  // --- account proposals (work state) -----------------------------------------------
  /// Learns the centre's last year and shows a proposal in every empty account cell of
  /// an entry that is not a split part. Called as work starts.
  void proposeAccounts();
  /// F4: takes the proposal of `row` as if the account had been picked.
  bool acceptProposal(qint32 row);
  /// cmdApplyProposals: takes every proposal on screen, then tells how many.
  void cmdApplyProposals_Click();
  /// Ctrl+Z: takes back the last acceptance (one row or all of a button press).
  bool undoProposal();
  /// Leaving work forgets the proposals.
  void clearProposals();

  bool isWorkState() const;
  /// The loader's filters as the search controls stand.
  DealFilter filter() const;

private:
  void goToRow(qint32 row);
  void reloadWithoutMatch(const QString& text);

  void quickAccountEntry(qint32 row);
  /// Enter in the work state where no rule of its own applies: on to the next cell of
  /// the row the member types into, after the row's last one to the next row's account.
  void enterToNextCell(int& key, int col, int row);
  void recomputeSource(qint32 part);
  void moveRow(int col, int row);
  void closePicker();

  void cancelWork();
  DealWrite rowWrite(int row) const;
  struct RowWrite {
    int row;
    DealWrite write;
    bool newPart;
    /// A new part whose INSERT an earlier save sent without learning the outcome (the
    /// connection was lost) and that the server holds: it is updated, not inserted again.
    bool landed = false;
  };
  void allocatePartNumbers(QList<RowWrite>& writes);
  void showProgress(int row, int rows);
  void saveFailed(int savedRows);
  void keepWorkAfterFailure(int savedRows);
  static QString savedSoFar(int savedRows);

  struct AcceptedProposal {
    int row = 0;
    QString hint;
    QString reason;
    bool wasChanged = false;
    std::vector<Colour> foreground; ///< columns 1..n as they were
  };
  bool takeProposal(qint32 row, std::vector<AcceptedProposal>& undo);
  void showProposalReason(qint32 row);

  AccountProposals m_proposals;
  bool m_hintsShown = false; ///< some account cell may carry a proposal
  /// The month whose every entry the grid holds as loaded (no search narrowed the load);
  /// empty otherwise. Proposals learn that month from the screen instead of the server.
  QString m_wholeMonthShown;
  std::vector<std::vector<AcceptedProposal>> m_proposalUndo;

  LedgerHost& m_host;
};

} // namespace vcm
