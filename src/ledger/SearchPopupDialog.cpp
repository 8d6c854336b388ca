#include "ledger/SearchPopupDialog.h"

#include "common/grid/GridView.h"
#include "mainwindow/Twips.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace vcm {

namespace {

template <class T>
T* placed(QWidget* parent, const QString& name, int left, int top, int width, int height)
{
  auto* w = new T(parent);
  w->setObjectName(name);
  w->setGeometry(twipsRect(left, top, width, height));
  return w;
}

} // namespace

SearchPopupDialog::SearchPopupDialog(QWidget* parent) : QDialog(parent)
{
  setObjectName(SearchPopup::FormName);
  setWindowTitle(SearchPopup::Caption);
  setModal(true);
  setFixedSize(twipsSize(12480, 5850));
  if (const QScreen* s = screen())
    move(s->availableGeometry().center() - rect().center());

  placed<QLabel>(this, QStringLiteral("lblNote"), 315, 225, 8000, 255)
      ->setText(QStringLiteral("※ 거래내역을 선택 후 선택(Enter클릭) 또는 더블클릭"));
  spr = placed<GridView>(this, QStringLiteral("spr"), 315, 540, 11880, 4710);
  placed<QLabel>(this, QStringLiteral("lblSel"), 315, 5400, 600, 255)->setText(QStringLiteral("선택 :"));
  lblAcc = placed<QLabel>(this, QStringLiteral("lblAcc"), 915, 5400, 9000, 255);
  cmdSel = placed<QPushButton>(this, QStringLiteral("cmdSel"), 10140, 5355, 1005, 360);
  cmdSel->setText(QStringLiteral("선 택"));
  cmdClose = placed<QPushButton>(this, QStringLiteral("cmdClose"), 11190, 5355, 1005, 360);
  cmdClose->setText(QStringLiteral("닫 기"));
  // Enter belongs to the grid, which confirms the selected row itself.
  cmdSel->setAutoDefault(false);
  cmdClose->setAutoDefault(false);

  m_popup = std::make_unique<SearchPopup>(spr->grid());
  SearchPopup* p = m_popup.get();
  p->unload = [this] { accept(); };
  p->changed = [this, p] { lblAcc->setText(p->lblAcc); };
  spr->setUserSortEnabled(true);
  connect(spr, &GridView::cellClicked, this, [p](int c, int r) { p->spr_Click(c, r); });
  connect(spr, &GridView::cellDoubleClicked, this, [p](int c, int r) { p->spr_DblClick(c, r); });
  connect(spr, &GridView::afterUserSort, this, [p](int c) { p->spr_AfterUserSort(c); });
  connect(spr, &GridView::keyDown, this, [p](int& key, int shift) { p->spr_KeyDown(key, shift); });
  connect(cmdSel, &QPushButton::clicked, this, [p] { p->cmdSel_Click(); });
  connect(cmdClose, &QPushButton::clicked, this, [p] { p->cmdClose_Click(); });
}

SearchPopupDialog::~SearchPopupDialog() = default;

} // namespace vcm
