#include "ledger/LedgerScreen.h"

#include "common/ErrMsg.h"
#include "common/grid/GridView.h"
#include "ledger/DealColumns.h"
#include "common/screen/ScreenRoutines.h"
#include "ledger/LedgerColours.h"
#include "ledger/SearchPopupDialog.h"
#include "ledger/WorkIndicator.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/Twips.h"
#include "platform/Ui.h"
#include "textcontrol/ControlFactory.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QHBoxLayout>
#include <QUrl>
#include <QVBoxLayout>

namespace vcm {

namespace {

/// Size of the screen when it is activated, before it follows the main window.
constexpr int kOpenWidth = 13005;
constexpr int kOpenHeight = 12390;
/// Layout of the upper area, in twips.
constexpr int kFraMainWidth = 12600;
constexpr int kFraMainHeight = 1380;
/// The search-conditions panel right of the totals, inside fraMain.
constexpr int kFilterLeft = 12600;
constexpr int kFilterMinWidth = 2400;
constexpr int kTabTop = 2000;
constexpr int kGridTop = 420;

void place(QWidget* w, int left, int top, int width, int height)
{
  w->setGeometry(twipsRect(left, top, width, height));
}

template <class T>
T* named(QWidget* parent, const QString& name)
{
  auto* w = new T(parent);
  w->setObjectName(name);
  return w;
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, int left, int top, int width)
{
  auto* l = named<QLabel>(parent, name);
  l->setText(text);
  place(l, left, top, width, 255);
  return l;
}

QColor qcolour(Colour c, const QWidget* w)
{
  if (c == colours::ButtonFace)
    return w->palette().color(QPalette::Button);
  return QColor(colours::red(c), colours::green(c), colours::blue(c));
}

} // namespace

LedgerScreen::LedgerScreen(MainWindow* main, QWidget* parent) : QWidget(parent), m_host(main)
{
  setObjectName(Ledger::ScreenName);
  setWindowTitle(QStringLiteral("거래내역"));
  picMain = named<QFrame>(this, QStringLiteral("picMain"));
  buildSearchArea();
  buildButtons();
  buildGrids();
  buildPanels();

  m_ledger = std::make_unique<Ledger>(m_host, sprDeal->grid(), sprCbo_Acc->grid());
  Ledger& l = *m_ledger;
  l.form.changed = [this] { showForm(); };
  l.form.focus = [this](LedgerForm::Focus target) { setFocusTo(target); };
  l.unloadScreen = [this] { window_()->close(); };

  l.form.placePicker = [this](bool fromButton) { return placePicker(fromButton); };
  wireGrid();
  wireSplitCommands();
  wireMonthAndSearch();
  for (int i = 0; i < optSearch.size(); ++i)
    connect(optSearch[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on)
        m_ledger->form.optSearch = i + 1;
    });
  connect(tabDeal, &QTabWidget::tabBarClicked, this, [this] {
    ui().pumpEvents();
    Set_Frm_Resize();
  });

  // Opening: the grid starts empty, the month is the one before the server's date.
  l.Form_Load();
  showForm();
  wireMainWindow(main);
}

LedgerScreen::~LedgerScreen() = default;

void LedgerScreen::buildSearchArea()
{
  fraMain = named<QGroupBox>(picMain, QStringLiteral("fraMain"));
  fraMain->setTitle(QStringLiteral("[ 검색 및 통계 ]"));
  place(fraMain, 120, 60, kFraMainWidth, kFraMainHeight);

  fraSearch_Mon = named<QGroupBox>(fraMain, QStringLiteral("fraSearch_Mon"));
  place(fraSearch_Mon, 120, 240, 3100, 960);
  label(fraSearch_Mon, QStringLiteral("lbl_0"), QStringLiteral("거래년월 :"), 120, 390, 900);
  msk_M = named<QLineEdit>(fraSearch_Mon, QStringLiteral("msk_M"));
  msk_M->setInputMask(QStringLiteral("9999.99"));
  place(msk_M, 1050, 330, 1000, 330);
  Dat_M = named<QWidget>(fraSearch_Mon, QStringLiteral("Dat_M"));
  place(Dat_M, 2070, 330, 300, 330);
  auto* spin = new QVBoxLayout(Dat_M);
  spin->setContentsMargins(0, 0, 0, 0);
  spin->setSpacing(0);
  // Button 1 goes back a month, button 2 forward: the lower arrow and the upper one.
  for (const auto& [name, arrow] : {std::pair{"Dat_M_2", Qt::UpArrow}, std::pair{"Dat_M_1", Qt::DownArrow}}) {
    auto* b = named<QToolButton>(Dat_M, QLatin1String(name));
    b->setArrowType(arrow);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    spin->addWidget(b);
  }
  cmdMon = named<QToolButton>(fraSearch_Mon, QStringLiteral("cmdMon"));
  cmdMon->setText(QStringLiteral("달력"));
  place(cmdMon, 2400, 330, 560, 330);

  fraSearch = named<QGroupBox>(fraMain, QStringLiteral("fraSearch"));
  place(fraSearch, 3340, 240, 5900, 960);
  const QStringList searchCaptions{"계정명", "적요", "거래처", "금액"};
  for (int i = 0; i < searchCaptions.size(); ++i) {
    auto* o = named<QRadioButton>(fraSearch, QStringLiteral("optSearch_%1").arg(i + 1));
    o->setText(searchCaptions[i]);
    place(o, 120 + i * 980, 240, 960, 280);
    optSearch << o;
  }
  auto* classGroup = named<QWidget>(fraSearch, QStringLiteral("optSearch_F_group"));
  place(classGroup, 0, 560, 4000, 300);
  const QStringList classCaptions{"전체", "수입", "지출"};
  for (int i = 0; i < classCaptions.size(); ++i) {
    auto* o = named<QRadioButton>(classGroup, QStringLiteral("optSearch_F_%1").arg(i + 1));
    o->setText(classCaptions[i]);
    place(o, 120 + i * 980, 0, 960, 280);
    optSearch_F << o;
  }
  optSearch[0]->setChecked(true);
  optSearch_F[0]->setChecked(true);
  txtSearch = createControl(QLatin1String(koltrich::ProgId), fraSearch);
  if (txtSearch) {
    txtSearch->widget()->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->SetText(QString()); // the design's text: a new control says "txtR"
    place(txtSearch->widget(), 4100, 220, 1650, 330);
  }
  cmdSearch = named<QPushButton>(fraSearch, QStringLiteral("cmdSearch"));
  cmdSearch->setText(QStringLiteral("검색"));
  place(cmdSearch, 4100, 580, 1650, 300);

  const struct {
    int caption;
    const char* text;
  } totals[] = {{3, "(작업)거래건수 :"}, {0, "수입금액 :"}, {1, "지출금액 :"}};
  for (int i = 0; i < 3; ++i) {
    label(fraMain, QStringLiteral("Label2_%1").arg(totals[i].caption), QString::fromUtf8(totals[i].text), 9450,
          330 + i * 320, 1500);
    QLabel* value = label(fraMain, QStringLiteral("lbl_TInfo_%1").arg(i), QString(), 10950, 330 + i * 320, 1500);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lbl_TInfo << value;
  }
  buildFilterInfo();
}

void LedgerScreen::buildFilterInfo()
{
  picFilter = named<QFrame>(fraMain, QStringLiteral("picFilter"));
  picFilter->setStyleSheet(QStringLiteral("#picFilter { background: #FFF4CE; border: 1px solid #E0B54B; border-radius: 4px; }"));
  place(picFilter, kFilterLeft, 240, kFilterMinWidth, 960);
  auto* layout = new QHBoxLayout(picFilter);
  layout->setContentsMargins(8, 4, 8, 4);
  lblFilter = named<QLabel>(picFilter, QStringLiteral("lblFilter"));
  lblFilter->setWordWrap(true);
  lblFilter->setStyleSheet(QStringLiteral("color: #6B4E00;"));
  layout->addWidget(lblFilter, 1);
  cmdFilterClear = named<QPushButton>(picFilter, QStringLiteral("cmdFilterClear"));
  cmdFilterClear->setText(QStringLiteral("조건 해제"));
  cmdFilterClear->setAutoDefault(false);
  layout->addWidget(cmdFilterClear, 0, Qt::AlignVCenter);
  picFilter->hide();
}

void LedgerScreen::buildButtons()
{
  const int top = kFraMainHeight + 140;
  pMenu = new QMenu(QStringLiteral("팝업메뉴"), this);
  pMenu->setObjectName(QStringLiteral("pMenu"));
  for (int i = 1; i <= 5; ++i) {
    auto* b = named<QPushButton>(picMain, QStringLiteral("cmdRowAdd_Divide_%1").arg(i));
    b->setText(QStringLiteral("분할(%1줄)").arg(i));
    place(b, 120 + (i - 1) * 1150, top, 1100, 360);
    cmdRowAdd_Divide << b;
    QAction* a = pMenu->addAction(QStringLiteral("1-%1.분할(%1줄)").arg(i));
    a->setObjectName(QStringLiteral("subRowAdd_%1").arg(i));
    subRowAdd << a;
  }
  pMenu->addSeparator()->setObjectName(QStringLiteral("subSep"));
  subRowDel = pMenu->addAction(QStringLiteral("2. 분할한 내역삭제"));
  subRowDel->setObjectName(QStringLiteral("subRowDel"));
  cmdRowDel = named<QPushButton>(picMain, QStringLiteral("cmdRowDel"));
  cmdRowDel->setText(QStringLiteral("분할한 내역삭제"));
  place(cmdRowDel, 5900, top, 1600, 360);
  cmdApplyProposals = named<QPushButton>(picMain, QStringLiteral("cmdApplyProposals"));
  cmdApplyProposals->setText(QStringLiteral("제안 계정 적용"));
  cmdApplyProposals->setToolTip(QStringLiteral("회색 기울임 글씨로 제안된 계정을 모두 적용합니다. [F4] 한 건, [Ctrl+Z] 되돌리기"));
  place(cmdApplyProposals, 7600, top, 1500, 360);

  picWork = named<WorkIndicator>(picMain, QStringLiteral("picWork"));
  place(picWork, 9150, top - 20, 700, 400);
  picWork->hide();
  picTrans = named<QLabel>(picMain, QStringLiteral("picTrans"));
  picTrans->setText(QStringLiteral("마감 전송됨"));
  picTrans->setAlignment(Qt::AlignCenter);
  picTrans->setStyleSheet(QStringLiteral("QLabel { color: white; background: #B03A2E; border-radius: 6px; font-weight: bold; }"));
  place(picTrans, 7650, top - 20, 2200, 400);
  picTrans->hide();
  cmdTrans = named<QPushButton>(picMain, QStringLiteral("cmdTrans"));
  cmdTrans->setText(QStringLiteral("베트라케어로 마감 전송"));
  place(cmdTrans, 9950, top, 1650, 360);
  cmdManual = named<QPushButton>(picMain, QStringLiteral("cmdManual"));
  cmdManual->setText(QStringLiteral("사용설명서 보기"));
  place(cmdManual, 11650, top, 1070, 360);
  // Our font is wider than the one these widths were drawn for: let the two captions fit,
  // keeping the gap between the buttons.
  const int gap = cmdManual->x() - cmdTrans->geometry().right();
  cmdTrans->resize(std::max(cmdTrans->width(), cmdTrans->sizeHint().width()), cmdTrans->height());
  cmdManual->setGeometry(cmdTrans->geometry().right() + gap, cmdManual->y(),
                         std::max(cmdManual->width(), cmdManual->sizeHint().width()), cmdManual->height());
}

void LedgerScreen::buildGrids()
{
  tabDeal = named<QTabWidget>(picMain, QStringLiteral("tabDeal"));
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tabDeal_0"));
  tabDeal->addTab(page, QStringLiteral("거래리스트"));
  place(tabDeal, 120, kTabTop, 12600, 9000);

  sprDeal = named<GridView>(page, QStringLiteral("sprDeal"));
  place(sprDeal, 120, 60, 12300, 7800);
  sprCbo_Acc = named<GridView>(nullptr, QStringLiteral("sprCbo_Acc"));

  picCbo_Acc = named<QFrame>(page, QStringLiteral("picCbo_Acc"));
  picCbo_Acc->setFrameShape(QFrame::Box);
  picCbo_Acc->setAutoFillBackground(true); // it lies over the ledger
  place(picCbo_Acc, 3000, 600, 6400, 4300);
  sprCbo_Acc->setParent(picCbo_Acc);
  sprCbo_Acc->verticalHeader()->hide(); // row numbers of a filtered list mean nothing to the member
  sprCbo_Acc->setActiveRowColour(ledgerColours::CurrentRow); // the ledger's own mark of the current row
  place(sprCbo_Acc, 30, 30, 6340, 3900);
  lblCbo_Acc = label(picCbo_Acc, QStringLiteral("lblCbo_Acc"),
                     QStringLiteral("※ 선택한 후 [Enter] 또는 [더블클릭] 해주세요."), 60, 3980, 6200);
  picCbo_Acc->hide();
}

void LedgerScreen::buildPanels()
{
  QWidget* page = sprDeal->parentWidget();
  picEasy = named<QFrame>(page, QStringLiteral("picEasy"));
  place(picEasy, 5400, 7900, 7000, 560);
  label(picEasy, QStringLiteral("lbl_2"),
        QStringLiteral("지출 : 0 : 생계비 , 1. 수용비 , 2. 공공요금 , 3. 기관운영비 , 4.기타운영비 , 5 : 차량비"), 0, 20,
        7000);
  label(picEasy, QStringLiteral("lbl_3"), QStringLiteral("수입 : 6. 본인부담금 , 7. 장기요양수입 , 8. 잡수입"), 0, 290,
        7000);

  picExplan = named<QFrame>(picMain, QStringLiteral("picExplan"));
  place(picExplan, 1700, kTabTop + 30, 6000, 270);
  auto* explan = label(picExplan, QStringLiteral("lbl_1"),
                       QStringLiteral("※ 계정명 기입 후 [물결]을 누르시면 계정명을 찾습니다."), 0, 0, 6000);
  explan->setStyleSheet(QStringLiteral("color: #1F4E9B;"));

  xBar = named<QProgressBar>(picMain, QStringLiteral("xBar"));
  xBar->setRange(0, 100);
  xBar->setTextVisible(true);
  xBar->setAlignment(Qt::AlignCenter);
  place(xBar, 120, kTabTop + 9100, 12600, 300);

  MonV = named<QCalendarWidget>(this, QStringLiteral("MonV"));
  MonV->resize(MonV->sizeHint());
  MonV->hide();
}

void LedgerScreen::wireGrid()
{
  Ledger* l = m_ledger.get();
  connect(sprDeal, &GridView::cellClicked, this, [l](int c, int r) { l->sprDeal_Click(c, r); });
  connect(sprDeal, &GridView::cellChanged, this, [l](int c, int r) { l->sprDeal_Change(c, r); });
  connect(sprDeal, &GridView::editChanged, this, [l](int c, int r) { l->sprDeal_EditChange(c, r); });
  connect(sprDeal, &GridView::keyDown, this, [l](int& key, int shift) { l->sprDEAL_KeyDown(key, shift); });
  connect(sprDeal, &GridView::keyPress, this, [l](int& ascii) { l->sprDeal_KeyPress(ascii); });
  connect(sprDeal, &GridView::cellRightClicked, this, [this, l](int c, int r, const QPoint& at) {
    if (l->sprDeal_RightClick(c, r))
      pMenu->popup(at);
  });
  sprDeal->setUserSortEnabled(true);
  connect(sprDeal, &GridView::beforeUserSort, this, [l](int c, bool& cancel) { l->sprI_BeforeUserSort(c, cancel); });
  connect(sprDeal, &GridView::dropDown, this, [l](int c, int r) { l->sprDeal_ComboDropDown(c, r); });
  connect(sprDeal, &GridView::closeUp, this, [l](int c, int r) { l->sprDeal_ComboCloseUp(c, r); });
  connect(sprCbo_Acc, &GridView::cellDoubleClicked, this, [l](int c, int r) { l->sprCbo_Acc_DblClick(c, r); });
  connect(sprCbo_Acc, &GridView::keyDown, this, [l](int& key, int) { l->sprCbo_Acc_KeyDown(key); });
  qApp->installEventFilter(this);
}

void LedgerScreen::wireSplitCommands()
{
  Ledger* l = m_ledger.get();
  for (int i = 0; i < cmdRowAdd_Divide.size(); ++i) {
    connect(cmdRowAdd_Divide[i], &QPushButton::clicked, this, [l, i] { l->cmdRowAdd_Divide_Click(i + 1); });
    connect(subRowAdd[i], &QAction::triggered, this, [l, i] { l->cmdRowAdd_Divide_Click(i + 1); });
  }
  connect(cmdRowDel, &QPushButton::clicked, this, [l] { l->cmdRowDel_Click(); });
  connect(cmdApplyProposals, &QPushButton::clicked, this, [l] { l->cmdApplyProposals_Click(); });
  connect(subRowDel, &QAction::triggered, this, [l] { l->cmdRowDel_Click(); });
}

void LedgerScreen::wireMonthAndSearch()
{
  Ledger* l = m_ledger.get();
  // Texts and options the logic shows come back through these signals; only what the
  // member changed runs the handlers.
  connect(msk_M, &QLineEdit::textChanged, this, [l](const QString& t) {
    const QString month = t == QLatin1String(".") ? QString() : t;
    if (month == l->form.mskM)
      return;
    l->form.mskM = month;
    l->msk_M_Change();
  });
  for (int b = 1; b <= 2; ++b)
    connect(Dat_M->findChild<QToolButton*>(QStringLiteral("Dat_M_%1").arg(b)), &QToolButton::clicked, this,
            [l, b] { l->Dat_M_ButtonHit(b); });
  connect(cmdMon, &QToolButton::clicked, this, [this, l] {
    l->cmdMon_Click();
    const QPoint at = Dat_M->mapTo(this, QPoint(0, 0));
    g_MonthView_Set(MonV, at.y(), at.x(), l->form.mskM + QStringLiteral(".01"));
  });
  connect(MonV, &QCalendarWidget::clicked, this, [l](QDate d) { l->MonV_DateClick(d); });
  for (int i = 0; i < optSearch_F.size(); ++i)
    connect(optSearch_F[i], &QRadioButton::toggled, this, [l, i](bool on) {
      if (!on || l->form.optSearchF == i + 1)
        return;
      l->form.optSearchF = i + 1;
      l->optSearch_F_Click();
    });
  connect(cmdSearch, &QPushButton::clicked, this, [l] { l->cmdSearch_Click(); });
  connect(cmdFilterClear, &QPushButton::clicked, this, [l] { l->cmdFilterClear_Click(); });
  if (txtSearch) {
    txtSearch->events().Change = [this, l] { l->form.txtSearch = txtSearch->Text(); };
    txtSearch->events().KeyPress = [l](short& ascii) {
      if (ascii == 13) {
        ascii = 0;
        l->cmdSearch_Click();
      }
    };
  }
  l->showSearchPopup = [this](const SearchList& matches) { showSearchPopup(matches); };
  connect(cmdTrans, &QPushButton::clicked, this, [l] { l->cmdTrans_Click(); });
  // The manual opens in the member's browser; when it cannot, there is nothing to add.
  connect(cmdManual, &QPushButton::clicked, this, [] { QDesktopServices::openUrl(QUrl(Ledger::manualUrl())); });
}

void LedgerScreen::showSearchPopup(const SearchList& matches)
{
  SearchPopupDialog dialog(this);
  SearchPopup& popup = dialog.popup();
  popup.Call_Frm = Ledger::ScreenName;
  popup.ledgerSearchRow = &m_ledger->Search_Row;
  popup.Set_Search_List(matches, 1);
  dialog.exec();
}

void LedgerScreen::txtSearch_GotFocus()
{
  txtSearch->SetImeMode(1);
  ui().pumpEvents();
  txtSearch->SetSelStart(0);
  txtSearch->SetSelLength(int(txtSearch->Text().trimmed().size()) + 1);
}

bool LedgerScreen::placePicker(bool fromButton)
{
  QPoint cell;
  if (!sprDeal->activeCellPosition(cell))
    return false;
  QWidget* page = picCbo_Acc->parentWidget();
  const QRect r = sprDeal->activeCellRect().translated(sprDeal->mapTo(page, QPoint(0, 0)));
  // Under the account cell, left-aligned with it; above it when the page has no room
  // below; always inside the page.
  int left = r.left();
  if (fromButton)
    left -= sprDeal->columnWidth(deal::Account - 1);
  int top = r.bottom() + 1;
  if (top + picCbo_Acc->height() > page->height())
    top = r.top() - picCbo_Acc->height();
  left = std::clamp(left, 0, std::max(0, page->width() - picCbo_Acc->width()));
  top = std::clamp(top, 0, std::max(0, page->height() - picCbo_Acc->height()));
  picCbo_Acc->move(left, top);
  picCbo_Acc->raise();
  return true;
}

bool LedgerScreen::eventFilter(QObject* watched, QEvent* event)
{
  if (event->type() == QEvent::FocusIn && txtSearch && watched == txtSearch->widget()->focusProxy())
    txtSearch_GotFocus();
  if (event->type() != QEvent::KeyPress || watched != QApplication::focusWidget() ||
      !isAncestorOf(static_cast<QWidget*>(watched)))
    return QWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  auto* focused = static_cast<QWidget*>(watched);
  if (key->key() == Qt::Key_F && key->modifiers() == Qt::ControlModifier) {
    if (txtSearch) {
      txtSearch->widget()->setFocus();
      txtSearch_GotFocus();
    }
    return true;
  }
  const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  // The grids answer Enter themselves (the picker takes its choice with it).
  if (enter && focused != sprDeal && !sprDeal->isAncestorOf(focused) && focused != sprCbo_Acc &&
      !picCbo_Acc->isAncestorOf(focused))
    QCoreApplication::postEvent(focused, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
  return QWidget::eventFilter(watched, event);
}

void LedgerScreen::wireMainWindow(MainWindow* main)
{
  if (!main)
    return;
  connect(main, &MainWindow::childActivated, this, [this](QWidget* w) {
    if (w == this)
      Form_Activate();
  });
  connect(main, &MainWindow::childDeactivated, this, [this, main](QWidget* w) {
    // A message box or dialog takes the activation from the whole main window; only
    // another child window becoming active counts as leaving the ledger.
    if (w == this && main->isActiveWindow() && !QApplication::activeModalWidget())
      Form_Deactivate();
  });
}

QWidget* LedgerScreen::window_() const
{
  auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
  return sub ? static_cast<QWidget*>(sub) : const_cast<LedgerScreen*>(this);
}

void LedgerScreen::Form_Activate()
{
  if (m_activatedOnce && !m_deactivated)
    return;
  m_activatedOnce = true;
  m_deactivated = false;
  window_()->setGeometry(twipsRect(0, 0, kOpenWidth, kOpenHeight));
  Set_Frm_Resize();
  m_ledger->Form_Activate();
  picExplan->raise();
}

void LedgerScreen::Form_Deactivate()
{
  m_deactivated = true;
  window_()->resize(0, 0);
}

void LedgerScreen::AAA_Cmd_Work(short& index)
{
  m_ledger->AAA_Cmd_Work(index);
}

void LedgerScreen::Set_Frm_Resize()
{
  MainWindow* main = m_host.main();
  if (!main || !main->mdiArea())
    return;
  // The screen fills the frame's work area exactly; its panels follow its own inside
  // (the child window's title bar and borders are not room for them).
  const QSize area = main->mdiArea()->viewport()->size();
  if (area.isEmpty())
    return;
  QWidget* window = window_();
  window->setGeometry(QRect(QPoint(0, 0), area));
  const QSize inside = window->contentsRect().size();
  const int mainWidth = pixelsToTwips(inside.width());
  const int mainHeight = pixelsToTwips(inside.height());

  const int tabLeft = pixelsToTwips(tabDeal->x());
  const int tabTop = pixelsToTwips(tabDeal->y());
  const int tabWidth = mainWidth - tabLeft - 150;
  const int barHeight = pixelsToTwips(xBar->height());
  const int tabHeight = mainHeight - tabTop - 100 - barHeight - 100; // the bar and a margin below
  picMain->resize(twipsSize(mainWidth, mainHeight));
  // The upper frame runs to the screen's right edge: its conditions panel takes the room
  // right of the totals (the frame is cut at the edge of a very narrow window).
  const int frameWidth = std::max(mainWidth - 240, kFilterLeft + kFilterMinWidth + 120);
  fraMain->resize(twipsSize(frameWidth, kFraMainHeight));
  picFilter->resize(twipsSize(frameWidth - kFilterLeft - 120, 960));
  tabDeal->resize(twipsSize(tabWidth, tabHeight));
  const int gridWidth = tabWidth - 300;
  const int gridHeight = tabHeight - 1200;
  sprDeal->resize(twipsSize(gridWidth, gridHeight));
  const int easyWidth = pixelsToTwips(picEasy->width());
  picEasy->move(twipsToPixels(gridWidth - easyWidth + 150), twipsToPixels(kGridTop + gridHeight - 300));
  xBar->setGeometry(twipsRect(pixelsToTwips(xBar->x()), tabHeight + tabTop + 100, tabWidth, barHeight));
}

void LedgerScreen::showForm()
{
  const LedgerForm& f = m_ledger->form;
  if (msk_M->text() != f.mskM && !(f.mskM.isEmpty() && msk_M->text() == QLatin1String(".")))
    msk_M->setText(f.mskM);
  picTrans->setVisible(f.picTransVisible);
  if (f.picTransVisible)
    picTrans->raise();
  picWork->setVisible(f.picWorkVisible);
  if (f.picWorkVisible)
    picWork->raise();
  fraSearch->setEnabled(f.searchFramesEnabled);
  fraSearch_Mon->setEnabled(f.searchFramesEnabled);
  Dat_M->setEnabled(f.datMEnabled);
  sprDeal->setEnabled(f.dealEnabled);
  const QColor face = qcolour(f.splitButtonColour, this);
  const QString style = f.splitButtonsEnabled
                            ? QStringLiteral("QPushButton { background: %1; color: white; }").arg(face.name())
                            : QString();
  for (QPushButton* b : cmdRowAdd_Divide) {
    b->setEnabled(f.splitButtonsEnabled);
    b->setStyleSheet(style);
  }
  cmdRowDel->setEnabled(f.splitButtonsEnabled);
  cmdRowDel->setStyleSheet(style);
  cmdApplyProposals->setEnabled(f.splitButtonsEnabled);
  for (QAction* a : subRowAdd)
    a->setEnabled(f.splitButtonsEnabled);
  subRowDel->setEnabled(f.splitButtonsEnabled);
  picCbo_Acc->setVisible(f.picCboAccVisible);
  MonV->setVisible(f.monVVisible);
  xBar->setFormat(f.xBarText);
  xBar->setValue(f.xBarValue);
  for (int i = 0; i < 3; ++i)
    lbl_TInfo[i]->setText(f.totals[size_t(i)]);
  lblFilter->setText(f.filterInfo);
  picFilter->setVisible(!f.filterInfo.isEmpty());
  cmdFilterClear->setEnabled(f.searchFramesEnabled); // clearing reloads: not during work
  if (txtSearch && txtSearch->Text() != f.txtSearch)
    txtSearch->SetText(f.txtSearch);
  optSearch[qBound(1, f.optSearch, 4) - 1]->setChecked(true);
  optSearch_F[qBound(1, f.optSearchF, 3) - 1]->setChecked(true);
}

void LedgerScreen::setFocusTo(LedgerForm::Focus target)
{
  switch (target) {
  case LedgerForm::Focus::Month: msk_M->setFocus(); break;
  case LedgerForm::Focus::Search:
    if (txtSearch)
      txtSearch->widget()->setFocus();
    break;
  case LedgerForm::Focus::Deal: sprDeal->setFocus(); break;
  case LedgerForm::Focus::Picker: sprCbo_Acc->setFocus(); break;
  }
}

void LedgerScreen::closeEvent(QCloseEvent* event)
{
  bool cancel = false;
  try {
    m_ledger->Form_QueryUnload(cancel);
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, Ledger::ScreenName);
  }
  if (cancel)
    event->ignore();
  else
    event->accept();
}

QWidget* createLedgerScreen(MainWindow& main)
{
  return new LedgerScreen(&main);
}

void registerLedgerScreen()
{
  MainWindow::setChildFactory(Ledger::ScreenName, createLedgerScreen);
}

} // namespace vcm
