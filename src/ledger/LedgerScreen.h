#pragma once

#include "ledger/Ledger.h"
#include "ledger/MainWindowHost.h"
#include "mainwindow/ChildScreen.h"

#include <QList>
#include <QWidget>

#include <memory>

class QAction;
class QCalendarWidget;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace vcm {

class GridView;
class IKoltRich;
class MainWindow;
class WorkIndicator;

/// The monthly ledger screen 회계2_거래리스트_New (caption "거래내역"), a child window of
/// the main window. It builds the controls, shows what the Ledger logic decides and
/// hands it the member's clicks, edits and commands.
class LedgerScreen : public QWidget, public ChildScreen {
  Q_OBJECT
public:
  explicit LedgerScreen(MainWindow* main, QWidget* parent = nullptr);
  ~LedgerScreen() override;

  Ledger& ledger() { return *m_ledger; }

  // ChildScreen
  QString formName() const override { return Ledger::ScreenName; }
  void AAA_Cmd_Work(short& index) override;
  void Set_Frm_Resize() override;

  /// Activation and deactivation as the main window reports them.
  void Form_Activate();
  void Form_Deactivate();

protected:
  void closeEvent(QCloseEvent* event) override;
  /// The screen sees keys before its controls: Enter moves on to the next control,
  /// Ctrl+F goes to the search box.
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void buildSearchArea();
  void buildFilterInfo();
  void buildButtons();
  void buildGrids();
  void buildPanels();
  void wireMainWindow(MainWindow* main);
  void wireGrid();
  void wireSplitCommands();
  void wireMonthAndSearch();
  void showSearchPopup(const SearchList& matches);
  /// The search box takes the focus: Korean input, its text selected.
  void txtSearch_GotFocus();
  bool placePicker(bool fromButton);
  void showForm();
  void setFocusTo(LedgerForm::Focus target);
  QWidget* window_() const;

  MainWindowHost m_host;
  GridView* sprDeal = nullptr;
  GridView* sprCbo_Acc = nullptr;
  std::unique_ptr<Ledger> m_ledger;

  QFrame* picMain = nullptr;
  QGroupBox* fraMain = nullptr;
  QGroupBox* fraSearch_Mon = nullptr;
  QGroupBox* fraSearch = nullptr;
  QLineEdit* msk_M = nullptr;
  QWidget* Dat_M = nullptr;
  QToolButton* cmdMon = nullptr;
  QCalendarWidget* MonV = nullptr;
  QList<QRadioButton*> optSearch;   ///< indexes 1..4 at 0..3
  QList<QRadioButton*> optSearch_F; ///< indexes 1..3 at 0..2
  IKoltRich* txtSearch = nullptr; ///< null when the text control is not installed
  QPushButton* cmdSearch = nullptr;
  QList<QLabel*> lbl_TInfo;
  QFrame* picFilter = nullptr;  ///< beside the totals: the conditions the rows were loaded under
  QLabel* lblFilter = nullptr;
  QPushButton* cmdFilterClear = nullptr;
  QList<QPushButton*> cmdRowAdd_Divide; ///< indexes 1..5 at 0..4
  QPushButton* cmdRowDel = nullptr;
  QPushButton* cmdApplyProposals = nullptr;
  QMenu* pMenu = nullptr;
  QList<QAction*> subRowAdd;
  QAction* subRowDel = nullptr;
  QTabWidget* tabDeal = nullptr;
  QFrame* picEasy = nullptr;
  QFrame* picExplan = nullptr;
  WorkIndicator* picWork = nullptr;
  QLabel* picTrans = nullptr;
  QPushButton* cmdTrans = nullptr;
  QPushButton* cmdManual = nullptr;
  QProgressBar* xBar = nullptr;
  QFrame* picCbo_Acc = nullptr;
  QLabel* lblCbo_Acc = nullptr;

  bool m_activatedOnce = false;
  bool m_deactivated = false;
};

/// Makes the ledger screen for the main window's frame.
QWidget* createLedgerScreen(MainWindow& main);

/// Registers createLedgerScreen with the main window under the ledger's form name.
void registerLedgerScreen();

} // namespace vcm
