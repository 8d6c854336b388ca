#pragma once

#include "ledger/SearchPopup.h"

#include <QDialog>

#include <memory>

class QLabel;
class QPushButton;

namespace vcm {

class GridView;

/// The search popup 회계_거래리스트_거래검색Arr on screen: a fixed, centred dialog over
/// the SearchPopup logic. The opener fills popup() and runs exec().
class SearchPopupDialog : public QDialog {
  Q_OBJECT
public:
  explicit SearchPopupDialog(QWidget* parent = nullptr);
  ~SearchPopupDialog() override;

  SearchPopup& popup() { return *m_popup; }

private:
  GridView* spr = nullptr;
  QLabel* lblAcc = nullptr;
  QPushButton* cmdSel = nullptr;
  QPushButton* cmdClose = nullptr;
  std::unique_ptr<SearchPopup> m_popup;
};

} // namespace vcm
