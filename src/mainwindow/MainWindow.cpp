#include "mainwindow/MainWindow.h"

#include "common/ErrMsg.h"
#include "common/MainConn.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "mainwindow/ChildScreen.h"
#include "mainwindow/MainArtwork.h"
#include "mainwindow/PictureButton.h"
#include "mainwindow/Twips.h"
#include "mainwindow/WindowPlacement.h"
#include "mainwindow/WorkFlags.h"
#include "platform/Ui.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMdiArea>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QStatusBar>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QVBoxLayout>

namespace vcm {

namespace {

MainWindow* g_instance = nullptr;

QMap<QString, MainWindow::ChildFactory>& childFactories()
{
  static QMap<QString, MainWindow::ChildFactory> factories;
  return factories;
}

QMap<QString, MainWindow::DialogFactory>& dialogFactories()
{
  static QMap<QString, MainWindow::DialogFactory> factories;
  return factories;
}

// Layout of the bands, in twips.
constexpr int kMenuBandHeight = 840;
constexpr int kTitleBandHeight = 435;
constexpr int kButtonTop = 30;
constexpr int kWorkWidth = 750;
constexpr int kWorkHeight = 780;
constexpr std::array<int, MainWindow::kWorkButtonCount> kWorkLefts{90, 810, 1575, 2340, 3105,
                                                                   3870, 4635, 5400, 6165};
constexpr std::array<int, MainWindow::kGotoButtonCount> kGotoLefts{1665, 60, 840};
constexpr std::array<int, MainWindow::kGotoButtonCount> kGotoWidths{855, 825, 885};
constexpr int kQuickTemplateTop = 15;
constexpr int kQuickHeight = 390;
constexpr int kQuickCloseSize = 225;

struct WorkLook {
  const char* label;
  MainArtwork::Glyph glyph;
};

const std::array<WorkLook, MainWindow::kWorkButtonCount>& workLooks()
{
  using G = MainArtwork::Glyph;
  static const std::array<WorkLook, MainWindow::kWorkButtonCount> looks{{
      {"신규", G::New}, {"수정", G::Edit}, {"저장", G::Save}, {"삭제", G::Delete},
      {"조회", G::Search}, {"출력", G::Print}, {"엑셀", G::Excel}, {"중지", G::Stop},
      {"닫기", G::Close},
  }};
  return looks;
}

QPixmap imageAt(const QList<QPixmap>& list, int image)
{
  return image >= 1 && image <= list.size() ? list.at(image - 1) : QPixmap();
}

QWidget* band(QWidget* parent, const char* name, const QColor& color, int heightTwips)
{
  auto* w = new QWidget(parent);
  w->setObjectName(QString::fromLatin1(name));
  w->setAutoFillBackground(true);
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, color);
  w->setPalette(pal);
  w->setFixedHeight(twipsToPixels(heightTwips));
  return w;
}

} // namespace

void MainWindow::setChildFactory(const QString& formName, ChildFactory factory)
{
  if (factory)
    childFactories().insert(formName, std::move(factory));
  else
    childFactories().remove(formName);
}

void MainWindow::setDialogFactory(const QString& formName, DialogFactory factory)
{
  if (factory)
    dialogFactories().insert(formName, std::move(factory));
  else
    dialogFactories().remove(formName);
}

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), m_quick(kQuickTemplateTop, kQuickTemplateTop)
{
  g_instance = this;
  setObjectName(kFormName);
  setWindowTitle(QStringLiteral("베트라Care"));
  buildImageLists();

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  m_picMenu = band(central, "g_picMenu", MainArtwork::menuBandColor(), kMenuBandHeight);
  m_picTitle = band(central, "g_picTitle", MainArtwork::windowColor(), kTitleBandHeight);
  buildMenuBand(m_picMenu);
  buildTitleBand(m_picTitle);
  m_mdi = new QMdiArea(central);
  m_mdi->setObjectName(QStringLiteral("mdiArea"));
  m_mdi->setBackground(MainArtwork::windowColor());
  layout->addWidget(m_picMenu);
  layout->addWidget(m_picTitle);
  layout->addWidget(m_mdi, 1);
  setCentralWidget(central);

  // The status line says whether the database link is protected, so a member and a
  // support person can see it; it follows every connection the program opens.
  auto* status = new QStatusBar(this);
  status->setObjectName(QStringLiteral("staLine"));
  m_linkIcon = new QLabel(status);
  m_linkIcon->setObjectName(QStringLiteral("picDbLink"));
  m_linkText = new QLabel(status);
  m_linkText->setObjectName(QStringLiteral("lblDbLink"));
  status->addPermanentWidget(m_linkIcon);
  status->addPermanentWidget(m_linkText);
  setStatusBar(status);
  setDbLinkObserver([this](const DbLinkProtection&) { showDbLink(); });
  showDbLink();
  resize(twipsSize(19755, 12930));

  connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::onSubWindowActivated);
}

namespace {

/// A padlock, closed for a protected link and open for a clear one.
QPixmap padlock(bool closed)
{
  QPixmap pixmap(14, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor colour = closed ? QColor(0x1e, 0x7b, 0x34) : QColor(0xb0, 0x3a, 0x2e);
  p.setPen(QPen(colour, 2));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(3, 1, 8, 10).translated(closed ? 0 : 3, 0), 0, 180 * 16);
  p.drawLine(QPointF(closed ? 3 : 6, 6), QPointF(closed ? 3 : 6, 8));
  p.drawLine(QPointF(closed ? 11 : 14, 6), QPointF(closed ? 11 : 14, 8));
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawRoundedRect(QRectF(1, 7, 12, 8), 1.5, 1.5);
  return pixmap;
}

} // namespace

void MainWindow::showDbLink()
{
  m_linkText->setText(linkStatusText(Session.DbLink));
  m_linkIcon->setPixmap(padlock(Session.DbLink.encrypted));
}

MainWindow::~MainWindow()
{
  // The frame's children are destroyed after this object's members; the area must not
  // report activations into a half-destroyed window.
  disconnect(m_mdi, nullptr, this, nullptr);
  setDbLinkObserver({});
  // Child windows reach back into the frame when they go; let them go while it is whole.
  qDeleteAll(m_mdi->subWindowList());
  if (g_instance == this)
    g_instance = nullptr;
}

MainWindow* MainWindow::instance() { return g_instance; }

MainWindow* MainWindow::showMain()
{
  MainWindow* w = g_instance;
  if (!w) {
    w = new MainWindow;
    w->setAttribute(Qt::WA_DeleteOnClose);
  }
  if (!w->m_loaded)
    w->Form_Load();
  else
    w->show();
  return w;
}

void MainWindow::buildImageLists()
{
  using G = MainArtwork::Glyph;
  const QSize work = twipsSize(kWorkWidth, kWorkHeight);
  m_btImg = {
      MainArtwork::workButton(QStringLiteral("취소"), G::Cancel, work, false, true),
      MainArtwork::workButton(QStringLiteral("취소"), G::Cancel, work, true, true),
      MainArtwork::workButton(QStringLiteral("신규"), G::New, work, false),
      MainArtwork::workButton(QStringLiteral("신규"), G::New, work, true),
      MainArtwork::workButton(QStringLiteral("수정"), G::Edit, work, false),
      MainArtwork::workButton(QStringLiteral("수정"), G::Edit, work, true),
  };
  const QSize check = twipsSize(195, 195);
  m_imgMain.clear();
  for (int i = 1; i <= 10; ++i) {
    switch (i) {
    case 3: case 9: m_imgMain << MainArtwork::checkPicture(check, true); break;
    case 4: case 10: m_imgMain << MainArtwork::checkPicture(check, false); break;
    default: m_imgMain << MainArtwork::blank(check); break;
    }
  }
  const QSize quick = twipsSize(QuickBar::kButtonWidth, kQuickHeight);
  m_imgListQ = {
      MainArtwork::quickButton(QStringLiteral("사업장정보"), quick, false),
      MainArtwork::quickButton(QStringLiteral("사업장정보"), quick, true),
      MainArtwork::quickButton(QStringLiteral("거래리스트"), quick, false),
      MainArtwork::quickButton(QStringLiteral("거래리스트"), quick, true),
  };
}

void MainWindow::buildMenuBand(QWidget* menu)
{
  auto* gotoPanel = new QWidget(menu);
  gotoPanel->setObjectName(QStringLiteral("picGoTo_N"));
  gotoPanel->setGeometry(twipsRect(45, 0, 5130, 885));
  using G = MainArtwork::Glyph;
  const std::array<std::pair<const char*, G>, kGotoButtonCount> gotoLooks{{
      {"사업장", G::Business}, {"회계", G::Ledger}, {"파일", G::File}}};
  // Left to right the buttons read 회계, 파일, 사업장 (indexes 1, 2, 0).
  for (int i : {1, 2, 0}) {
    auto* b = new PictureButton(gotoPanel);
    b->setObjectName(QStringLiteral("g_CmdGoto_%1").arg(i));
    b->setGeometry(twipsRect(kGotoLefts[i], kButtonTop, kGotoWidths[i], kWorkHeight));
    b->setPicture(MainArtwork::gotoButton(QString::fromUtf8(gotoLooks[i].first), gotoLooks[i].second,
                                          b->size()));
    b->setToolTip(QString::fromUtf8(gotoLooks[i].first));
    connect(b, &QAbstractButton::clicked, this, [this, i] { g_CmdGoto_Click(i); });
    m_goto[i] = b;
  }

  // The panel is as tall as the band below its top edge, so the lower button 8 is not cut.
  auto* workPanel = new QWidget(menu);
  workPanel->setObjectName(QStringLiteral("g_picMenuBtn"));
  workPanel->setGeometry(twipsRect(7365, kButtonTop, 7365, kMenuBandHeight - kButtonTop));
  for (int i = 0; i < kWorkButtonCount; ++i) {
    auto* b = new PictureButton(workPanel);
    b->setObjectName(QStringLiteral("cmdWork_%1").arg(i));
    b->setGeometry(twipsRect(kWorkLefts[i], i == 8 ? 30 : 0, kWorkWidth, kWorkHeight));
    const QString label = QString::fromUtf8(workLooks()[i].label);
    b->setPictures(MainArtwork::workButton(label, workLooks()[i].glyph, b->size(), false),
                   MainArtwork::workButton(label, workLooks()[i].glyph, b->size(), true));
    b->setToolTip(label);
    connect(b, &QAbstractButton::clicked, this, [this, i] { cmdWork_Click(i); });
    m_work[i] = b;
  }
}

void MainWindow::buildTitleBand(QWidget* title)
{
  m_picQuick = new QWidget(title);
  m_picQuick->setObjectName(QStringLiteral("g_picQuick"));
  m_picQuick->setGeometry(twipsRect(-15, 0, 20000, 420));

  // Element 0 of both groups: hidden templates whose tops place the real buttons.
  auto* quick0 = new PictureButton(m_picQuick);
  quick0->setObjectName(QStringLiteral("g_cmdQuick_0"));
  quick0->setGeometry(twipsRect(0, kQuickTemplateTop, QuickBar::kButtonWidth, kQuickHeight));
  quick0->hide();
  m_quickButtons.insert(0, quick0);
  auto* close0 = new PictureButton(m_picQuick);
  close0->setObjectName(QStringLiteral("g_cmdQuick_X_0"));
  close0->setGeometry(twipsRect(0, kQuickTemplateTop, kQuickCloseSize, kQuickCloseSize));
  close0->hide();
  m_quickClose.insert(0, close0);
}

PictureButton* MainWindow::cmdWork(int index) const
{
  return index >= 0 && index < kWorkButtonCount ? m_work[index] : nullptr;
}

PictureButton* MainWindow::g_CmdGoto(int index) const
{
  return index >= 0 && index < kGotoButtonCount ? m_goto[index] : nullptr;
}

PictureButton* MainWindow::g_cmdQuick(int index) const { return m_quickButtons.value(index); }

PictureButton* MainWindow::g_cmdQuick_X(int index) const { return m_quickClose.value(index); }

QPixmap MainWindow::g_BT_img(int image) const { return imageAt(m_btImg, image); }

QPixmap MainWindow::imgMain(int image) const { return imageAt(m_imgMain, image); }

QPixmap MainWindow::g_ImgList_Q(int image) const { return imageAt(m_imgListQ, image); }

void MainWindow::g_ChNum(const QString& flags)
{
  const WorkFlags parsed = WorkFlags::parse(flags, kWorkButtonCount);
  for (int i = 0; i < parsed.visible.size(); ++i)
    m_work[i]->setVisible(parsed.visible.at(i));
  if (!parsed.complete)
    notice(QStringLiteral("오류발생(g_ChNum)"), Icon::Exclamation);
}

void MainWindow::g_Setting_Quick_Btn(const QString& formName)
{
  m_quick.activate(formName);
  syncQuickBar();
}

void MainWindow::g_Setting_Quick_X(int index)
{
  const QuickButton* b = m_quick.button(index);
  if (!b) {
    // A click on a close button whose quick button is gone.
    notice(QStringLiteral("오류발생(g_Setting_Quick_X)"), Icon::Exclamation);
    return;
  }
  const QString name = QuickBar::formNameOfTag(b->tag);
  if (name == kBusinessInfoName || name == kLedgerName)
    unloadScreen(name);
}

void MainWindow::g_Remove_Quick_Btn(const QString& formName)
{
  if (m_quick.remove(formName))
    syncQuickBar();
}

bool MainWindow::pendingWork() const
{
  return m_work[0]->tag() == kPendingTag || m_work[1]->tag() == kPendingTag;
}

void MainWindow::syncQuickBar()
{
  const QList<int> loaded = m_quick.indexes();
  for (auto* map : {&m_quickButtons, &m_quickClose}) {
    for (auto it = map->begin(); it != map->end();) {
      if (it.key() != 0 && !loaded.contains(it.key())) {
        delete it.value();
        it = map->erase(it);
      } else {
        ++it;
      }
    }
  }
  for (int index : loaded) {
    const QuickButton& model = *m_quick.button(index);
    PictureButton* b = m_quickButtons.value(index);
    if (!b) {
      b = new PictureButton(m_picQuick);
      b->setObjectName(QStringLiteral("g_cmdQuick_%1").arg(index));
      connect(b, &QAbstractButton::clicked, this, [this, index] { g_cmdQuick_Click(index); });
      m_quickButtons.insert(index, b);
    }
    PictureButton* x = m_quickClose.value(index);
    if (!x) {
      x = new PictureButton(m_picQuick);
      x->setObjectName(QStringLiteral("g_cmdQuick_X_%1").arg(index));
      x->setPicture(MainArtwork::quickClose(twipsSize(kQuickCloseSize, kQuickCloseSize)));
      x->setToolTip(QStringLiteral("닫기"));
      connect(x, &QAbstractButton::clicked, this, [this, index] { g_cmdQuick_X_Click(index); });
      m_quickClose.insert(index, x);
    }
    b->setTag(model.tag);
    b->setPicture(g_ImgList_Q(model.picture));
    b->setGeometry(twipsRect(model.left, model.top, model.width, kQuickHeight));
    b->show();
    x->setGeometry(twipsRect(model.closeLeft, model.closeTop, kQuickCloseSize, kQuickCloseSize));
    x->show();
    x->raise();
  }
}

ChildScreen* MainWindow::activeChild() const
{
  QMdiSubWindow* sub = m_mdi->currentSubWindow();
  return sub ? dynamic_cast<ChildScreen*>(sub->widget()) : nullptr;
}

QWidget* MainWindow::openChild(const QString& formName) const
{
  for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
    if (sub->widget() && sub->widget()->objectName() == formName)
      return sub->widget();
  }
  return nullptr;
}

int MainWindow::otherScreenCount() const
{
  int count = static_cast<int>(m_mdi->subWindowList().size());
  for (const auto& dialog : m_openDialogs) {
    if (dialog)
      ++count;
  }
  if (QApplication::activeModalWidget())
    ++count;
  return count;
}

QWidget* MainWindow::showLedger()
{
  QWidget* child = openChild(kLedgerName);
  if (!child) {
    const ChildFactory factory = childFactories().value(kLedgerName);
    if (!factory)
      return nullptr;
    child = factory(*this);
    if (!child)
      return nullptr;
    child->setObjectName(kLedgerName);
    QMdiSubWindow* sub = m_mdi->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(kLedgerName + QStringLiteral("_window"));
    // No toolkit logo in the child's title bar: the caption alone says what it is.
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    sub->setWindowIcon(QIcon(blank));
  }
  auto* sub = qobject_cast<QMdiSubWindow*>(child->parentWidget());
  if (sub) {
    sub->show();
    sub->raise();
    m_mdi->setActiveSubWindow(sub);
  }
  return child;
}

void MainWindow::onSubWindowActivated(QMdiSubWindow* window)
{
  // The area reports "none" whenever the frame itself loses the focus (a message box,
  // another program); the child stays the active child then, and must not reload on
  // its return.
  if (window)
    setActiveChildWidget(window->widget());
}

void MainWindow::setActiveChildWidget(QWidget* child)
{
  if (child == m_lastActiveChild)
    return;
  if (m_lastActiveChild)
    emit childDeactivated(m_lastActiveChild);
  m_lastActiveChild = child;
  if (child)
    emit childActivated(child);
}

void MainWindow::showModalScreen(const QString& formName)
{
  const DialogFactory factory = dialogFactories().value(formName);
  if (!factory)
    return;
  QPointer<QDialog> dialog = factory(*this);
  if (!dialog)
    return;
  dialog->setObjectName(formName);
  m_openDialogs.insert(formName, dialog);
  // A modal screen takes the activation from the child, which gets it back afterwards
  // (the ledger then reloads what the screen may have changed).
  QPointer<QWidget> child = m_lastActiveChild;
  setActiveChildWidget(nullptr);
  dialog->exec();
  if (dialog)
    dialog->deleteLater();
  QMdiSubWindow* current = m_mdi->currentSubWindow();
  if (child && current && current->widget() == child)
    setActiveChildWidget(child);
}

void MainWindow::showModelessScreen(const QString& formName)
{
  QPointer<QDialog> dialog = m_openDialogs.value(formName);
  if (!dialog) {
    const DialogFactory factory = dialogFactories().value(formName);
    if (!factory)
      return;
    dialog = factory(*this);
    if (!dialog)
      return;
    dialog->setObjectName(formName);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_openDialogs.insert(formName, dialog);
  }
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}

void MainWindow::unloadScreen(const QString& formName)
{
  if (QWidget* child = openChild(formName)) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(child->parentWidget()))
      sub->close();
    return;
  }
  if (QDialog* dialog = m_openDialogs.value(formName))
    dialog->close();
}

void MainWindow::applyPlacement()
{
  const WindowPlacement p = WindowPlacement::forScreen(ui().screenSize(), ui().screenDpi());
  if (p.maximised) {
    setWindowState(windowState() | Qt::WindowMaximized);
    show();
    return;
  }
  setWindowState(windowState() & ~Qt::WindowMaximized);
  resize(p.pixels.size());
  move(p.pixels.topLeft());
  show();
  // The sizes are those of the whole window, frame included; the frame is known only
  // once the window is shown.
  const QSize frame = frameGeometry().size() - size();
  if (frame.width() > 0 || frame.height() > 0)
    resize(p.pixels.size() - frame);
}

void MainWindow::Form_Load()
{
  Session.CurrentProcedure = QStringLiteral("cmdWork_Click");
  try {
    m_loaded = true;
    applyPlacement();
    showLedger();
    ui().pumpEvents();
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, kFormName);
  }
}

void MainWindow::cmdWork_Click(int index)
{
  Session.CurrentProcedure = QStringLiteral("cmdWork_Click");
  try {
    if (otherScreenCount() == 0) {
      if (notice(kQuitQuestion, Icon::Question, Buttons::YesNo) == Answer::Yes)
        ui().endProcess(0);
      return;
    }
    if (ChildScreen* child = activeChild()) {
      short i = static_cast<short>(index);
      child->AAA_Cmd_Work(i);
    }
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, kFormName);
  }
}

void MainWindow::g_CmdGoto_Click(int index)
{
  if (pendingWork()) {
    notice(kPendingWorkText, Icon::Exclamation);
    return;
  }
  QPointer<PictureButton> button = g_CmdGoto(index);
  if (!button)
    return;
  button->setEnabled(false);
  try {
    switch (index) {
    case 0: showModalScreen(kBusinessInfoName); break;
    case 1: showLedger(); break;
    case 2: showModalScreen(kFileTransferName); break;
    default: break;
    }
  } catch (const RuntimeError&) {
    // The go-to buttons carry on past failures of the screens they open.
  }
  if (button)
    button->setEnabled(true);
}

void MainWindow::g_cmdQuick_Click(int index)
{
  Session.CurrentProcedure = QStringLiteral("g_cmdQuick_Click");
  try {
    if (pendingWork()) {
      notice(kPendingWorkText, Icon::Exclamation);
      return;
    }
    const PictureButton* b = g_cmdQuick(index);
    if (!b)
      return;
    const QString name = QuickBar::formNameOfTag(b->tag().trimmed());
    if (name == kBusinessInfoName)
      showModelessScreen(name);
    else if (name == kLedgerName)
      showLedger();
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, kFormName);
  }
}

void MainWindow::g_cmdQuick_X_Click(int index)
{
  try {
    g_Setting_Quick_X(index);
  } catch (const RuntimeError&) {
    // Closing from the quick bar ignores failures; the screen reports its own.
  }
}

void MainWindow::Form_Resize()
{
  QMdiSubWindow* sub = m_mdi ? m_mdi->currentSubWindow() : nullptr;
  if (!sub || !sub->widget() || sub->widget()->objectName() != kLedgerName)
    return;
  auto* child = dynamic_cast<ChildScreen*>(sub->widget());
  if (!child)
    return;
  try {
    child->Set_Frm_Resize();
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, kFormName);
  }
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
  QMainWindow::resizeEvent(event);
  Form_Resize();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
  // Children close first and each may refuse (the ledger while work is pending).
  m_mdi->closeAllSubWindows();
  if (!m_mdi->subWindowList().isEmpty()) {
    event->ignore();
    return;
  }
  if (notice(kQuitQuestion, Icon::Question, Buttons::YesNo) != Answer::Yes) {
    event->ignore();
    return;
  }
  g_Nothing_MainConn();
  ui().setCursor(Cursor::Normal);
  event->accept();
}

} // namespace vcm
