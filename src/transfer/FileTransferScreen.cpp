#include "transfer/FileTransferScreen.h"

#include "common/grid/GridView.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/Twips.h"
#include "textcontrol/ControlFactory.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace vcm {

namespace {

constexpr int kWidth = 9000;
constexpr int kHeight = 7080;

/// A control named as the screen names it, placed in twips.
template <class T>
T* control(QWidget* parent, const QString& name, int left, int top, int width, int height)
{
  auto* w = new T(parent);
  w->setObjectName(name);
  w->setGeometry(twipsRect(left, top, width, height));
  return w;
}

QLabel* caption(QWidget* parent, const QString& name, const QString& text, int left, int top, int width)
{
  auto* l = control<QLabel>(parent, name, left, top, width, 300);
  l->setText(text);
  return l;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text, int left, int top, int width)
{
  auto* b = control<QPushButton>(parent, name, left, top, width, 420);
  b->setText(text);
  return b;
}

} // namespace

FileTransferScreen::FileTransferScreen(QWidget* parent) : QDialog(parent)
{
  setObjectName(FileTransfer::ScreenName);
  setWindowTitle(QStringLiteral("파일전송"));
  setFixedSize(twipsSize(kWidth, kHeight));

  tabTrans = control<QTabWidget>(this, QStringLiteral("tabTrans"), 120, 120, kWidth - 240, 6340);
  auto* send = new QWidget;
  send->setObjectName(QStringLiteral("tabTrans_0"));
  auto* history = new QWidget;
  history->setObjectName(QStringLiteral("tabTrans_1"));
  tabTrans->addTab(send, QStringLiteral(" 파일전송 "));
  tabTrans->addTab(history, QStringLiteral(" 전송이력 조회 "));

  xBar = control<QProgressBar>(this, QStringLiteral("xBar"), 120, 6560, kWidth - 240, 360);
  xBar->setRange(0, 100);
  xBar->setValue(0);
  xBar->setFormat(QString());
  xBar->setTextVisible(true);
  xBar->setAlignment(Qt::AlignCenter);
  m_bar = std::make_unique<ProgressBarIndicator>(xBar);

  buildSendTab(send);
  buildHistoryTab(history);

  m_transfer = std::make_unique<FileTransfer>(sprTrans->grid(), sprStory->grid(), *m_bar);
  FileTransfer& t = *m_transfer;
  t.form.changed = [this] { showForm(); };
  t.form.focusTitle = [this] {
    if (m_title)
      m_title->widget()->setFocus(Qt::OtherFocusReason);
  };

  connect(cmdFind_F, &QPushButton::clicked, this, [this] { m_transfer->cmdFind_F_Click(); });
  connect(sprTrans, &GridView::cellClicked, this, [this](int c, int r) { m_transfer->sprTrans_Click(c, r); });
  connect(cmdTrans_F, &QPushButton::clicked, this, [this] { m_transfer->cmdTrans_F_Click(); });
  connect(cmdReset, &QPushButton::clicked, this, [this] { m_transfer->cmdReset_Click(); });
  connect(tabTrans, &QTabWidget::currentChanged, this, [this](int index) { m_transfer->tabTrans_Click(index); });
  connect(DatM_T, &QLineEdit::textEdited, this, [this](const QString& text) { m_transfer->form.DatM_T = text; });
  connect(cmdXls, &QPushButton::clicked, this, [this] { m_transfer->cmdXls_Click(); });

  t.Form_Load();
}

FileTransferScreen::~FileTransferScreen() = default;

void FileTransferScreen::buildSendTab(QWidget* page)
{
  caption(page, QStringLiteral("lblTitle"), QStringLiteral("제      목 : "), 240, 300, 1100);
  m_title = textBox(page, QStringLiteral("txtTitle"), &FileTransferForm::txtTitle);
  if (m_title)
    m_title->widget()->setGeometry(twipsRect(1380, 240, 7000, 380));
  caption(page, QStringLiteral("lblMemo"), QStringLiteral("메      모 : "), 240, 780, 1100);
  m_memo = textBox(page, QStringLiteral("txtMemo"), &FileTransferForm::txtMemo);
  if (m_memo)
    m_memo->widget()->setGeometry(twipsRect(1380, 720, 7000, 1260));

  caption(page, QStringLiteral("lblFile"), QStringLiteral("파일첨부 : "), 240, 2200, 1100);
  cmdFind_F = button(page, QStringLiteral("cmdFind_F"), QStringLiteral("첨부파일찾기"), 1380, 2140, 1700);
  auto* note = caption(page, QStringLiteral("lblFileNote"),
                       QStringLiteral("(※ 5MB 이하 용량의 파일만 전송 가능합니다.)"), 3200, 2200, 5200);
  note->setStyleSheet(QStringLiteral("color: #C00000;"));

  sprTrans = control<GridView>(page, QStringLiteral("sprTrans"), 240, 2680, 8140, 2160);
  cmdTrans_F = button(page, QStringLiteral("cmdTrans_F"), QStringLiteral("파일전송"), 5280, 5000, 1500);
  cmdReset = button(page, QStringLiteral("cmdReset"), QStringLiteral("초 기 화"), 6880, 5000, 1500);
}

void FileTransferScreen::buildHistoryTab(QWidget* page)
{
  caption(page, QStringLiteral("lblMonth"), QStringLiteral("전송년월 :"), 240, 300, 1000);
  DatM_T = control<QLineEdit>(page, QStringLiteral("DatM_T"), 1280, 240, 1100, 380);
  DatM_T->setInputMask(QStringLiteral("9999.99"));
  DatM_T->setAlignment(Qt::AlignCenter);
  const std::pair<int, Qt::ArrowType> buttons[] = {{1, Qt::LeftArrow}, {2, Qt::RightArrow}};
  for (const auto& [index, arrow] : buttons) {
    auto* b = control<QToolButton>(page, QStringLiteral("DatM_T_%1").arg(index), 2400 + (index - 1) * 330,
                                   240, 320, 380);
    b->setArrowType(arrow);
    connect(b, &QToolButton::clicked, this, [this, index = index] { m_transfer->DatM_T_ButtonHit(index); });
  }
  cmdXls = button(page, QStringLiteral("cmdXls"), QStringLiteral("엑셀변환"), 6880, 220, 1500);
  sprStory = control<GridView>(page, QStringLiteral("sprStory"), 240, 840, 8140, 4600);
}

IKoltRich* FileTransferScreen::textBox(QWidget* parent, const QString& name,
                                       QString FileTransferForm::*field)
{
  IKoltRich* box = createControl(QLatin1String(koltrich::ProgId), parent);
  if (!box)
    return nullptr;  // the member has been told to reinstall; the screen still opens
  box->widget()->setObjectName(name);
  box->SetBorderStyle(Border_Style::단일고정);
  box->SetText(QString());
  box->events().Change = [this, box, field] { m_transfer->form.*field = box->Text(); };
  // Korean input whenever the box takes the focus: watch the box and its inner parts.
  box->widget()->installEventFilter(this);
  for (QWidget* part : box->widget()->findChildren<QWidget*>())
    part->installEventFilter(this);
  return box;
}

bool FileTransferScreen::eventFilter(QObject* watched, QEvent* event)
{
  if (event->type() == QEvent::FocusIn) {
    for (IKoltRich* box : {m_title, m_memo}) {
      if (box && (watched == box->widget() || box->widget()->isAncestorOf(qobject_cast<QWidget*>(watched))))
        box->SetImeMode(1);
    }
  }
  return QDialog::eventFilter(watched, event);
}

void FileTransferScreen::showForm()
{
  const FileTransferForm& f = m_transfer->form;
  for (const auto& [box, text] : {std::pair{m_title, f.txtTitle}, std::pair{m_memo, f.txtMemo}})
    if (box && box->Text() != text)
      box->SetText(text);
  if (DatM_T->text() != f.DatM_T)
    DatM_T->setText(f.DatM_T);
}

void FileTransferScreen::showEvent(QShowEvent* event)
{
  // The screen is modal: no other screen of the program can take the activation from it,
  // so it becomes the active screen exactly when it is shown. Message boxes and the file
  // dialog in front of it are no screens and leave the file list alone.
  QDialog::showEvent(event);
  if (!event->spontaneous())
    m_transfer->Form_Activate();
}

void FileTransferScreen::closeEvent(QCloseEvent* event)
{
  // A send lets events run between its blocks; the screen stays until it has finished.
  if (m_transfer->isSending()) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void FileTransferScreen::reject()
{
  if (!m_transfer->isSending())
    QDialog::reject();
}

void registerFileTransferScreen()
{
  MainWindow::setDialogFactory(MainWindow::kFileTransferName,
                               [](MainWindow& main) -> QDialog* { return new FileTransferScreen(&main); });
}

} // namespace vcm
