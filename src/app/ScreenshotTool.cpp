// Renders the login screen, the main window and the business screens against a running
// backend into PNG files, so that anyone can look at what a member sees. Used by
// scripts/screenshots:
//
//   vcm_screenshots OUTDIR MEMBER_ID MEMBER_PW
//
// The deployment file comes from VETRA_CARE_DEPLOY as for the program itself. Notices
// are not shown but printed, so that the run never waits for a click.
#include "common/Deployment.h"
#include "common/Session.h"
#include "textcontrol/ControlFactory.h"
#include "transfer/FileTransferScreen.h"
#include "login/LoginScreen.h"
#include "login/PictureCheckBox.h"
#include "app/RegisterScreens.h"
#include "business/BusinessInfoChangeScreen.h"
#include "business/BusinessInfoScreen.h"
#include "platform/Appearance.h"
#include "startup/VersionCheck.h"
#include "common/MainConn.h"
#include "common/RuntimeError.h"
#include "ledger/AccountPicker.h"
#include "ledger/DealColumns.h"
#include "ledger/DealSplit.h"
#include "common/grid/GridView.h"
#include "ledger/LedgerScreen.h"
#include "ledger/SearchPopupDialog.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PictureButton.h"
#include "platform/ScriptedUi.h"
#include "platform/Translations.h"
#include "startup/Secrets.h"
#include "textcontrol/ControlFactory.h"
#include "update/UpdateScreen.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QRadioButton>
#include <QFrame>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

using namespace vcm;

namespace {

bool save(QWidget& widget, const QDir& dir, const QString& name)
{
  QApplication::processEvents();
  const QString path = dir.filePath(name);
  if (!widget.grab().save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

void printNotices(const ScriptedUi& ui)
{
  for (const auto& m : ui.messages)
    std::fprintf(stderr, "notice [%s]: %s\n", qPrintable(m.title), qPrintable(m.text));
}

/// The ledger in work with an entry split in two, and the account picker opened for the
/// first part by the typed text.
bool saveSplitAndPicker(MainWindow& main, const QDir& out)
{
  auto* screen = main.findChild<LedgerScreen*>();
  if (!screen)
    return false;
  Ledger& l = screen->ledger();
  int row = 1;
  while (row < l.sprDeal.rowCount() && !DealSplit::refusal(l.sprDeal, row).isEmpty())
    ++row;
  l.sprDeal.setActiveCell(deal::Summary, row);
  l.sprDeal_Click(deal::Summary, row);
  l.cmdRowAdd_Divide_Click(2);
  const int amountColumn = l.sprDeal.number(deal::InAmount, row) != 0 ? deal::InAmount : deal::OutAmount;
  const double total = l.sprDeal.number(amountColumn, row);
  l.sprDeal.setNumber(amountColumn, row + 1, std::floor(total * 0.6));
  l.sprDeal_EditChange(amountColumn, row + 1);
  l.sprDeal.setText(deal::Account, row + 1, AccountPicker::accountText(l.sprCbo_Acc, 2));
  l.sprDeal.setActiveCell(deal::OutAmount, row); // the amounts in sight
  bool ok = save(main, out, QStringLiteral("main_ledger_split.png"));
  l.sprDeal.setText(deal::Account, row + 2, QStringLiteral("비"));
  l.sprDeal.setActiveCell(deal::Account, row + 2);
  l.Show_Cbo_Acc(row + 2, QString());
  ok &= save(main, out, QStringLiteral("main_ledger_picker.png"));
  return ok;
}

/// The ledger in browse: typing into the grid (the status line says how to start work),
/// the month calendar, and a search text that still filters the next month.
bool saveBrowseStates(MainWindow& main, const QDir& out)
{
  auto* screen = main.findChild<LedgerScreen*>();
  if (!screen)
    return false;
  auto* grid = screen->findChild<GridView*>(QStringLiteral("sprDeal"));
  grid->setFocus();
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  QApplication::sendEvent(grid, &typed);
  bool ok = save(main, out, QStringLiteral("main_ledger_browse_typing.png"));

  screen->findChild<QToolButton*>(QStringLiteral("cmdMon"))->click();
  ok &= save(main, out, QStringLiteral("main_ledger_calendar.png"));
  screen->findChild<QWidget*>(QStringLiteral("MonV"))->hide();

  Ledger& l = screen->ledger();
  screen->findChild<QRadioButton*>(QStringLiteral("optSearch_2"))->click();
  l.form.txtSearch = QStringLiteral("식대"); // searched for earlier in the month
  screen->findChild<QToolButton*>(QStringLiteral("Dat_M_2"))->click();
  ok &= save(main, out, QStringLiteral("main_ledger_filter_nothing.png"));
  screen->findChild<QToolButton*>(QStringLiteral("Dat_M_1"))->click();
  ok &= save(main, out, QStringLiteral("main_ledger_filter.png"));
  screen->findChild<QPushButton*>(QStringLiteral("cmdFilterClear"))->click();
  return ok;
}

/// Qt's own dialogs and menus, which speak Korean through Qt's translation.
bool saveQtDialogs(const QDir& out)
{
  QFileDialog dialog(nullptr, QStringLiteral("노임내역 저장"), QString(), QStringLiteral("*.xls"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.selectFile(QStringLiteral("261209_거래내역(2026.11월분).xls"));
  dialog.resize(760, 460);
  dialog.show();
  bool ok = save(dialog, out, QStringLiteral("qt_save_dialog.png"));
  QLineEdit field;
  std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
  menu->popup(QPoint(0, 0));
  ok &= save(*menu, out, QStringLiteral("qt_text_menu.png"));
  return ok;
}

/// The update screen half-way through a real download of the demo installer. The
/// installer lands in a temporary folder; its start and the end of the run are only
/// recorded.
bool saveUpdateScreen(ScriptedUi& ui, const QDir& out)
{
  QTemporaryDir programDir;
  qputenv("VCM_PROGRAM_DIR", programDir.path().toLocal8Bit());
  UpdateScreen screen;
  screen.show();
  bool saved = false;
  bool ok = false;
  ui.onPump = [&] {
    if (!saved && screen.xBar()->value() >= 40) {
      saved = true;
      ok = save(screen, out, QStringLiteral("update_download.png"));
    }
  };
  try {
    screen.Form_Activate();
  } catch (const ProcessEnded&) {
  }
  ui.onPump = nullptr;
  qunsetenv("VCM_PROGRAM_DIR");
  return ok;
}

/// The search popup as a search with several matches opens it: the first entries of
/// the month, the second one picked.
bool saveSearchPopup(MainWindow& main, const QDir& out)
{
  auto* screen = main.findChild<LedgerScreen*>();
  if (!screen)
    return false;
  const Grid& deal = screen->ledger().sprDeal;
  SearchList matches;
  for (int r = 1; r <= std::min(deal.rowCount(), 6); ++r)
    matches.push_back(DealSearch::entry(deal, r));
  SearchPopupDialog dialog(screen);
  dialog.popup().Call_Frm = Ledger::ScreenName;
  dialog.popup().Set_Search_List(matches, 1);
  dialog.popup().spr_Click(found::Account, 2);
  dialog.show();
  return save(dialog, out, QStringLiteral("ledger_search_popup.png"));
}

} // namespace

int main(int argc, char** argv)
{
  QApplication app(argc, argv);
  translations::installKorean();
  registerScreens();
  installAppearance();
  const QStringList args = app.arguments();
  if (args.size() != 4) {
    std::fprintf(stderr, "usage: vcm_screenshots OUTDIR MEMBER_ID MEMBER_PW\n");
    return 2;
  }
  const QDir out(args.at(1));
  if (!QDir().mkpath(out.path()))
    return 1;

  // Settings of a fresh installation, kept away from any real one.
  QTemporaryDir settingsDir;
  qputenv("VCM_SETTINGS_FILE", settingsDir.filePath(QStringLiteral("settings.ini")).toLocal8Bit());
  // The text control of this build, registered where only this run looks.
  qputenv("VCM_CLASS_REGISTRY", settingsDir.filePath(QStringLiteral("classes.ini")).toLocal8Bit());
  if (registerServer(QStringLiteral(KOLTRICH_LIBRARY_PATH)) != koltrich::S_Ok) {
    std::fprintf(stderr, "cannot register %s\n", KOLTRICH_LIBRARY_PATH);
    return 1;
  }

  ScopedScriptedUi ui;
  ui->m_screen = QSize(1920, 1080);

  Deployment deployment;
  QString error;
  if (!deployment.load(Deployment::defaultPath(), &error)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  buildSecrets(deployment);
  Session.ConnectionString = buildConnectionString();
  // The ledger opens on the month before the server's date, as after a real start-up.
  try {
    g_Open_MainConn();
    auto rs = openRecordSet(QStringLiteral("SELECT NOW() AS NOWDT"));
    Session.ServerDate = serverDateText(rs->value(QStringLiteral("NOWDT")));
    g_Rs_Nothing(rs);
    g_Nothing_MainConn();
  } catch (const RuntimeError& e) {
    std::fprintf(stderr, "server date: %s\n", qPrintable(e.description));
    return 1;
  }

  bool ok = true;
  {
    auto* login = new LoginScreen;
    login->setAttribute(Qt::WA_DeleteOnClose);
    login->show();
    ok &= save(*login, out, QStringLiteral("login.png"));

    login->txtID()->setText(args.at(2));
    login->txtPW()->setText(args.at(3));
    login->Chk_ID()->setChecked(true);
    ui->m_capsLock = true;
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(login->txtPW(), &focusIn);
    ok &= save(*login, out, QStringLiteral("login_capslock.png"));
    ui->m_capsLock = false;

    login->cmdLogin_Click();
  }
  MainWindow* main = MainWindow::instance();
  if (!main) {
    printNotices(*ui);
    std::fprintf(stderr, "the login did not open the main window\n");
    return 1;
  }
  ok &= save(*main, out, QStringLiteral("main.png"));

  // The file transfer screen with two picked files, then the previous month's history.
  {
    FileTransferScreen transfer(main);
    transfer.show();
    transfer.txtTitle()->SetText(QStringLiteral("3월 급여대장 및 영수증"));
    transfer.txtMemo()->SetText(QStringLiteral("급여대장과 카드 영수증 스캔본입니다. 확인 부탁드립니다."));
    QTemporaryDir files;
    QStringList picked;
    for (const auto& [name, size] : {std::pair{"급여대장_2024.xlsx", 48 * 1024 + 300},
                                     std::pair{"영수증_스캔.pdf", 1843 * 1024}}) {
      QFile f(files.filePath(QString::fromUtf8(name)));
      if (f.open(QIODevice::WriteOnly))
        f.resize(size);
      picked << f.fileName();
    }
    ui->openAnswers.enqueue(picked);
    transfer.findChild<QPushButton*>(QStringLiteral("cmdFind_F"))->click();
    ok &= save(transfer, out, QStringLiteral("file_transfer.png"));
    transfer.findChild<QTabWidget*>(QStringLiteral("tabTrans"))->setCurrentIndex(1);
    transfer.findChild<QToolButton*>(QStringLiteral("DatM_T_1"))->click();
    ok &= save(transfer, out, QStringLiteral("file_transfer_history.png"));
  }

  // The ledger in its work state, as after pressing 수정, with the quick bar filled.
  main->cmdWork(1)->click();
  QApplication::processEvents();
  main->g_Setting_Quick_Btn(MainWindow::kBusinessInfoName);
  main->g_Setting_Quick_Btn(MainWindow::kLedgerName);
  ok &= save(*main, out, QStringLiteral("main_ledger_work.png"));
  ok &= saveSplitAndPicker(*main, out);
  main->cmdWork(1)->click();
  QApplication::processEvents();
  ok &= saveSearchPopup(*main, out);
  ok &= saveBrowseStates(*main, out);
  ok &= saveQtDialogs(out);

  // The business information view and its change request, one item ticked and typed.
  if (auto* view = BusinessInfoScreen::create(main)) {
    view->show();
    QApplication::processEvents(); // the first activation loads the view
    ok &= save(*view, out, QStringLiteral("business_info.png"));
    if (auto* change = BusinessInfoChangeScreen::create(view)) {
      change->show();
      ok &= save(*change, out, QStringLiteral("business_change.png"));
      change->chkWrite_Com(9)->setChecked(true);
      change->chkWrite_Com(17)->setChecked(true);
      change->txtBase_CH(4)->SetText(QStringLiteral("서울특별시 영등포구 도림로 140"));
      ok &= save(*change, out, QStringLiteral("business_change_ticked.png"));
      delete change;
    } else {
      ok = false;
    }
    delete view;
  } else {
    ok = false;
  }
  ok &= saveUpdateScreen(*ui, out);

  printNotices(*ui);
  delete main;
  return ok ? 0 : 1;
}
