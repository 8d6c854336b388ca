// The ledger grid's keys, mouse actions and the account picker.
#include "ledger/Ledger.h"

#include "common/ErrMsg.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "common/TextHelpers.h"
#include "ledger/AccountPicker.h"
#include "ledger/DealColumns.h"
#include "ledger/DealPainter.h"
#include "platform/Ui.h"

namespace vcm {

namespace {

constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kUp = 38;
constexpr int kDown = 40;
constexpr int kBackquoteKey = 192;
constexpr int kBackquote = 96;
constexpr int kAltShift = 4;
constexpr int kCtrlShift = 2;
constexpr int kF4 = 115;
constexpr int kZ = 90;

bool isListColumn(int col)
{
  return col == deal::BankName || col == deal::BusiName;
}

/// The first column right of `col` whose cell in `row` the member types into (shown,
/// unlocked text or number); 0 when there is none.
int nextTypedColumn(const Grid& g, int col, int row)
{
  for (int c = col + 1; c <= g.columnCount(); ++c) {
    if (g.isColumnHidden(c) || g.isLocked(c, row))
      continue;
    const CellType type = g.cellType(c, row);
    if (type == CellType::Text || type == CellType::Number)
      return c;
  }
  return 0;
}

/// A character that would go into a cell (the space marks rows in browse).
bool isTyped(int ascii)
{
  return ascii > 32 && ascii != 127;
}

} // namespace

const QString Ledger::BrowseTypingHint =
    QStringLiteral("조회 중에는 입력할 수 없습니다. 먼저 [수정] 버튼을 누른 후 입력해주세요.");

// --- typing into cells ---------------------------------------------------------------

void Ledger::sprDeal_EditChange(qint32 col, qint32 row)
{
  if (!isWorkState() || row <= 0)
    return;
  try {
    if (col == deal::InAmount || col == deal::OutAmount)
      recomputeSource(row);
    else if (col == deal::Account)
      quickAccountEntry(row);
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
}

void Ledger::quickAccountEntry(qint32 row)
{
  const auto names = AccountPicker::quickNames(sprDeal.text(deal::Account, row), row,
                                               row >= 2 ? sprDeal.text(deal::Account, row - 1) : QString());
  if (!names)
    return;
  const int found = AccountPicker::findName(sprCbo_Acc, *names);
  if (found > 0)
    sprDeal.setText(deal::Account, row, AccountPicker::accountText(sprCbo_Acc, found));
}

// --- keys -------------------------------------------------------------------------------

void Ledger::moveRow(int col, int row)
{
  // The row moves, the active column stays; the click goes to `col`, which is the
  // account rather than its button so that moving never opens the picker.
  sprDeal.setActiveCell(sprDeal.activeColumn(), row);
  Key_Move = true;
  sprDeal_Click(col, row);
}

void Ledger::sprDEAL_KeyDown(int& key, int shift)
{
  Session.CurrentProcedure = QStringLiteral("sprDEAL_KeyDown");
  Tilde_Key = false;
  try {
    const int a = sprDeal.activeColumn();
    const int active = sprDeal.activeRow();
    const int n = sprDeal.rowCount();
    const bool work = isWorkState();
    switch (key) {
    case kEnter:
      // From the counterpart of an income entry and from the receipt mark the member goes
      // on with the next row's account; from the account to the summary.
      if (((a == deal::Customer && sprDeal.number(deal::ClassNo, active) == 1) || a == deal::Receipt) &&
          active < n) {
        sprDeal.setActiveCell(deal::Account, active + 1);
        ui().pumpEvents();
        sprDeal_Click(deal::Account, active + 1);
        key = 0;
      } else if (a == deal::Account) {
        sprDeal.setActiveCell(deal::Summary, active);
        key = 0;
      } else if (work) {
        enterToNextCell(key, a, active);
      }
      break;
    case kF4:
      if (work && acceptProposal(active))
        key = 0;
      break;
    case kZ:
      if (work && (shift & kCtrlShift) && undoProposal())
        key = 0;
      break;
    case kSpace:
      if (work) {
        if (a == deal::Receipt)
          sprDeal_Click(deal::Receipt, Cur_Row);
      } else {
        sprDeal_Click(deal::Check, Cur_Row);
        ui().pumpEvents();
        int down = kDown;
        sprDEAL_KeyDown(down, 0);
        key = 0;
      }
      break;
    case kUp:
      if (Combo_Open && isListColumn(a))
        break;
      if (Cur_Row > 1)
        moveRow(a == deal::AccountButton ? deal::Account : a, Cur_Row - 1);
      key = 0;
      break;
    case kDown:
      if (isListColumn(a) && (Combo_Open || shift == kAltShift))
        break;
      if (Cur_Row + 1 <= n)
        moveRow(a == deal::AccountButton ? deal::Account : a, Cur_Row + 1);
      key = 0;
      break;
    case kBackquoteKey:
      if (work && (a == deal::Account || a == deal::AccountButton)) {
        Tilde_Key = true;
        Show_Cbo_Acc(active, a == deal::AccountButton ? QStringLiteral("A") : QString());
        ui().pumpEvents();
        key = 0;
      }
      break;
    default:
      break;
    }
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
}

void Ledger::enterToNextCell(int& key, int col, int row)
{
  // Moving the active cell commits the cell being edited.
  if (const int next = nextTypedColumn(sprDeal, col, row)) {
    sprDeal.setActiveCell(next, row);
    key = 0;
  } else if (row >= 1 && row < sprDeal.rowCount()) {
    sprDeal.setActiveCell(deal::Account, row + 1);
    ui().pumpEvents();
    sprDeal_Click(deal::Account, row + 1);
    key = 0;
  }
}

void Ledger::sprDeal_KeyPress(int& ascii)
{
  if (ascii == kBackquote && Tilde_Key) {
    ascii = 0;
    Tilde_Key = false;
    return;
  }
  // In browse every cell is locked: rather than dropping what the member types without
  // a word, the status line says how to start work (once; further keys leave it be).
  if (!isWorkState() && isTyped(ascii)) {
    ascii = 0;
    if (form.xBarText != BrowseTypingHint) {
      form.xBarText = BrowseTypingHint;
      form.xBarValue = 0;
      form.notify();
    }
  }
}

// --- mouse --------------------------------------------------------------------------------

bool Ledger::sprDeal_RightClick(qint32 col, qint32 row)
{
  if (row < 1)
    return false;
  try {
    sprDeal_Click(col, row);
    ui().pumpEvents();
  } catch (const RuntimeError&) {
    // The menu is offered whatever the selection made of it.
  }
  return true;
}

void Ledger::sprI_BeforeUserSort(qint32 col, bool& cancel)
{
  Session.CurrentProcedure = QStringLiteral("sprI_BeforeUserSort");
  cancel = true;
  if (isWorkState())
    return;
  try {
    const int n = sprDeal.rowCount();
    const bool descending = numVal(sprDeal.tag(col, 0)) == 1;
    sprDeal.sortRows(1, n, col, descending ? SortOrder::Descending : SortOrder::Ascending);
    sprDeal.setTag(CellRange::cell(col, 0), descending ? QStringLiteral("0") : QStringLiteral("1"));
    ui().pumpEvents();
    if (n > 0)
      sprDeal_Click(deal::Account, 1);
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
}

void Ledger::sprDeal_ComboDropDown(qint32 col, qint32 row)
{
  sprDeal_Click(col, row);
  Combo_Open = true;
}

void Ledger::sprDeal_ComboCloseUp(qint32 /*col*/, qint32 /*row*/)
{
  Combo_Open = false;
}

// --- the account picker ------------------------------------------------------------------

void Ledger::Show_Cbo_Acc(qint32 row, const QString& mode)
{
  try {
    AccountPicker::showAll(sprCbo_Acc);
    form.pickerTag = QString::number(row);
    const bool all = mode.toUpper() == QLatin1String("A");
    if (!all) {
      const QString t = AccountPicker::filterText(sprDeal.text(deal::Account, row));
      if (!t.isEmpty()) {
        const AccountPicker::Filtered filtered = AccountPicker::filter(sprCbo_Acc, t);
        if (filtered.shown == 1) {
          sprCbo_Acc_DblClick(picker::Name, filtered.onlyRow);
          return;
        }
      }
    }
    if (!form.placePickerBesideCell(all)) {
      notice(QStringLiteral("사번조회표의 위치확인에 실패하였습니다.\n\n확인이 필요하니 [미로네]로 연락주세요."),
             Icon::Exclamation);
      return;
    }
    form.picCboAccVisible = true;
    form.notify();
    // The empty first row may be filtered away; Enter must not pick a hidden row.
    sprCbo_Acc.setActiveCell(picker::Name, std::max(1, AccountPicker::firstShownRow(sprCbo_Acc)));
    form.setFocus(LedgerForm::Focus::Picker);
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
}

void Ledger::sprCbo_Acc_DblClick(qint32 /*col*/, qint32 row)
{
  if (isWorkState() && row > 0)
    Set_Select_Acc(row);
}

void Ledger::sprCbo_Acc_KeyDown(int& key)
{
  try {
    if (key == kEnter) {
      const int row = sprCbo_Acc.activeRow();
      if (row > 0) {
        sprCbo_Acc_DblClick(picker::Name, row);
        ui().pumpEvents();
        form.setFocus(LedgerForm::Focus::Deal);
      }
      key = 0;
    } else if (key == kEscape) {
      const int row = int(numVal(form.pickerTag));
      closePicker();
      form.setFocus(LedgerForm::Focus::Deal);
      sprDeal.setActiveCell(deal::Account, row);
      key = 0;
    }
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
}

void Ledger::Set_Select_Acc(qint32 pickerRow)
{
  const int g = int(numVal(form.pickerTag));
  if (g <= 0) {
    notice(QStringLiteral("계정명을 선택한 Row Tag가 존재하지 않습니다.\n\n현재 상태 그대로 개발사로 연라주세요."),
           Icon::Exclamation);
    return;
  }
  sprDeal.clearHint(deal::Account, g);
  sprDeal.setText(deal::Account, g, AccountPicker::accountText(sprCbo_Acc, pickerRow));
  form.setFocus(LedgerForm::Focus::Deal);
  sprDeal.setActiveCell(deal::Account, g);
  DealPainter::markChanged(sprDeal, g);
  closePicker();
}

void Ledger::closePicker()
{
  form.pickerTag.clear();
  form.picCboAccVisible = false;
  form.notify();
}

} // namespace vcm
