#pragma once

#include "mainwindow/QuickBar.h"

#include <QMainWindow>
#include <QMap>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>

class QDialog;
class QLabel;
class QMdiArea;
class QMdiSubWindow;

namespace vcm {

class ChildScreen;
class PictureButton;

/// The main window "메인": the frame the member works in after logging in.
///
/// Two bands at the top: `g_picMenu` with the go-to buttons `g_CmdGoto`(0..2) and the
/// work buttons `cmdWork`(0..8), and `g_picTitle` with the quick bar (`g_cmdQuick`,
/// `g_cmdQuick_X`). Below them the frame's client area (a QMdiArea) holds the ledger as
/// a child window. The window holds no business data: it forwards work buttons to the
/// active child and refuses to switch screens while the child has pending work.
///
/// What a child screen (the ledger) uses:
/// - Creation: the program registers a factory for the child's form name with
///   setChildFactory() before the main window opens. The factory gets this window and
///   returns a new widget that implements ChildScreen; the window wraps it in a child
///   window of the frame (deleted when closed). The child's closeEvent may ignore the
///   event to refuse closing (pending work); on accepting it calls g_Remove_Quick_Btn.
///   The child's parentWidget() is its QMdiSubWindow: place and size that one.
/// - Activation: childActivated() is emitted with the child widget each time it
///   becomes the active child window (and childDeactivated() when it stops being it):
///   when it opens, when another child or a modal screen of the go-to buttons takes
///   over and when that one is gone. A message box or another program taking the focus
///   is not a change of the active child.
///   The ledger then calls g_ChNum("0,1,1,1,0,0,1,0,1") and
///   g_Setting_Quick_Btn("회계2_거래리스트_New").
/// - Work buttons: cmdWork(i) gives the button; the child sets its visibility (through
///   g_ChNum), enabled state, tag() ("WORK" marks pending work on buttons 0 and 1) and
///   pictures with setPictures(g_BT_img(n), g_BT_img(n + 1)). Images of g_BT_img:
///   1/2 "취소" in its working (amber) look, 3/4 "신규", 5/6 "수정" (normal/pressed).
/// - The window's image lists: imgMain(n) (3 grid box checked, 4 unchecked, 9 check
///   box ticked, 10 unticked), g_ImgList_Q(n) (quick bar).
/// - Commands: a press of cmdWork(i) calls AAA_Cmd_Work(i) on the active child; a
///   resize of the frame calls Set_Frm_Resize on the ledger.
/// instance() reaches the one main window from anywhere.
class MainWindow : public QMainWindow {
  Q_OBJECT
public:
  static constexpr int kWorkButtonCount = 9;
  static constexpr int kGotoButtonCount = 3;
  static inline const QString kFormName = QStringLiteral("메인");
  static inline const QString kLedgerName = QuickBar::kLedgerName;
  static inline const QString kBusinessInfoName = QuickBar::kBusinessInfoName;
  static inline const QString kFileTransferName = QStringLiteral("파일전송");
  static inline const QString kQuitQuestion = QStringLiteral("[베트라Care]를 종료하시겠습니까?");
  static inline const QString kPendingWorkText =
      QStringLiteral("현재 신규 또는 수정중인 작업이 있습니다. 먼저 작업을 완료하여주세요.");
  static inline const QString kPendingTag = QStringLiteral("WORK");

  /// Builds a child screen living in the frame; the widget must implement ChildScreen.
  using ChildFactory = std::function<QWidget*(MainWindow&)>;
  /// Builds a screen shown as a modal dialog (business information, file transfer).
  using DialogFactory = std::function<QDialog*(MainWindow&)>;

  /// Registers how the child screen `formName` is made (the ledger "회계2_거래리스트_New").
  /// An empty factory removes the registration.
  static void setChildFactory(const QString& formName, ChildFactory factory);
  /// Registers how the dialog screen `formName` is made ("사업장_사업장정보", "파일전송").
  /// A go-to button whose screen has no factory opens nothing and says nothing.
  static void setDialogFactory(const QString& formName, DialogFactory factory);

  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  /// The main window, or nullptr while none exists.
  static MainWindow* instance();

  /// Creates the main window on first use (deleted when it closes), loads it (size,
  /// place, open the ledger) and shows it without waiting. Returns it.
  static MainWindow* showMain();

  // --- Controls ---
  /// Work button `index` (0..8); nullptr out of range.
  PictureButton* cmdWork(int index) const;
  /// Go-to button `index` (0 business information, 1 ledger, 2 file transfer).
  PictureButton* g_CmdGoto(int index) const;
  /// Quick button / close button `index`; element 0 is the hidden template; nullptr for
  /// holes and indexes never loaded.
  PictureButton* g_cmdQuick(int index) const;
  PictureButton* g_cmdQuick_X(int index) const;
  QMdiArea* mdiArea() const { return m_mdi; }
  const QuickBar& quickBar() const { return m_quick; }

  // --- Image lists (1-based; a null pixmap for numbers the list lacks) ---
  QPixmap g_BT_img(int image) const;
  QPixmap imgMain(int image) const;
  QPixmap g_ImgList_Q(int image) const;

  // --- Routines the child screens call ---
  /// Shows work button i exactly when flag i of the comma-separated `flags` reads 1.
  /// Fewer flags than buttons: the listed ones are set, then "오류발생(g_ChNum)".
  void g_ChNum(const QString& flags);
  /// Adds the quick button of screen `formName`, or highlights it when it has one.
  void g_Setting_Quick_Btn(const QString& formName);
  /// The close button `index` of the quick bar: unloads that button's screen.
  void g_Setting_Quick_X(int index);
  /// Removes the quick button of `formName` and closes the gap.
  void g_Remove_Quick_Btn(const QString& formName);
  /// True while the tag of cmdWork(0) or cmdWork(1) is "WORK".
  bool pendingWork() const;

  // --- Screens ---
  /// The child screen of the active (current) child window, or nullptr.
  ChildScreen* activeChild() const;
  /// The child widget `formName` when it is open, else nullptr.
  QWidget* openChild(const QString& formName) const;
  /// Shows the ledger (creating it through its factory on first use) and brings it to
  /// the front. Returns it, or nullptr when no ledger is registered.
  QWidget* showLedger();
  /// Screens open now besides this window: child windows and dialogs.
  int otherScreenCount() const;

  // --- Event handlers (public so that tests and screens can drive them) ---
  void Form_Load();
  void cmdWork_Click(int index);
  void g_CmdGoto_Click(int index);
  void g_cmdQuick_Click(int index);
  void g_cmdQuick_X_Click(int index);
  void Form_Resize();

signals:
  void childActivated(QWidget* child);
  void childDeactivated(QWidget* child);

protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  /// Shows on the status line whether the database link is protected.
  void showDbLink();

  void buildMenuBand(QWidget* band);
  void buildTitleBand(QWidget* band);
  void buildImageLists();
  void applyPlacement();
  void syncQuickBar();
  void onSubWindowActivated(QMdiSubWindow* window);
  /// Makes `child` (or none) the active child, telling the old and the new one.
  void setActiveChildWidget(QWidget* child);
  /// Shows dialog screen `formName` modally; returns when it closes.
  void showModalScreen(const QString& formName);
  /// Shows dialog screen `formName` without waiting and brings it to the front.
  void showModelessScreen(const QString& formName);
  /// Closes screen `formName` (child window or dialog) as its close box would.
  void unloadScreen(const QString& formName);

  QWidget* m_picMenu = nullptr;
  QWidget* m_picTitle = nullptr;
  QWidget* m_picQuick = nullptr;
  QMdiArea* m_mdi = nullptr;
  QLabel* m_linkIcon = nullptr;
  QLabel* m_linkText = nullptr;
  std::array<PictureButton*, kWorkButtonCount> m_work{};
  std::array<PictureButton*, kGotoButtonCount> m_goto{};
  QMap<int, PictureButton*> m_quickButtons;
  QMap<int, PictureButton*> m_quickClose;
  QuickBar m_quick;
  QList<QPixmap> m_btImg;
  QList<QPixmap> m_imgMain;
  QList<QPixmap> m_imgListQ;
  QMap<QString, QPointer<QDialog>> m_openDialogs;
  QPointer<QWidget> m_lastActiveChild;
  bool m_loaded = false;
};

} // namespace vcm
