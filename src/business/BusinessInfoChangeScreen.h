#pragma once

#include "business/BusinessInfoChange.h"
#include "business/BusinessDialog.h"

#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vcm {

/// The change request screen "사업장_사업장정보_변경": a table of the changeable items
/// with their current values; the member ticks an item, types its new value and saves
/// the request with "변경저장". Values the member typed live only in the controls.
class BusinessInfoChangeScreen : public BusinessDialog {
  Q_OBJECT
public:
  /// The screen, or null (after a notice) when its text fields cannot be made.
  static BusinessInfoChangeScreen* create(QWidget* parent);

  BusinessInfoChange& logic() { return m_logic; }

  QCheckBox* chkWrite_Com(int index) const { return m_chk.at(size_t(index)); }
  IKoltRich* txtBase(int index) const { return m_txtBase.at(size_t(index)); }
  IKoltRich* txtBase_CH(int index) const { return m_txtBaseCh.at(size_t(index)); }
  IKoltRich* txtTel(int index) const { return m_txtTel.at(size_t(index)); }
  IKoltRich* txtTel_CH(int index) const { return m_txtTelCh.at(size_t(index)); }
  QLineEdit* mskBase(int index) const { return m_mskBase.at(size_t(index)); }
  QLineEdit* mskBase_CH(int index) const { return m_mskBaseCh.at(size_t(index)); }
  /// Options (1) "통합" and (3) "간편": the current ones and the new ones.
  QRadioButton* opt_ConDiv(int index) const;
  QRadioButton* opt_ConDiv_CH(int index) const;
  QWidget* picCon_Div() const { return m_picConDiv; }
  QPushButton* cmdFinish() const { return m_cmdFinish; }

  void Form_Activate();
  void chkWrite_Com_Click(int index);
  void cmdFinish_Click();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  explicit BusinessInfoChangeScreen(QWidget* parent);
  void buildControls();
  void buildItem(int index, const ChangeItem& item);
  void buildContractRow(int top);
  /// A text field of the current-value (`current`) or the new-value column.
  IKoltRich* makeText(const QString& name, int top, bool current, const ChangeItem& item);
  QLineEdit* makeMasked(const QString& name, int top, bool current, const QString& mask);
  void enableItem(int index, bool enabled);
  void showCurrent();
  void collectForm();

  BusinessInfoChange m_logic;
  std::array<QCheckBox*, 18> m_chk{};
  std::array<IKoltRich*, 14> m_txtBase{};
  std::array<IKoltRich*, 14> m_txtBaseCh{};
  std::array<IKoltRich*, 4> m_txtTel{};
  std::array<IKoltRich*, 4> m_txtTelCh{};
  std::array<QLineEdit*, 4> m_mskBase{};
  std::array<QLineEdit*, 4> m_mskBaseCh{};
  std::array<QRadioButton*, 2> m_opt{};
  std::array<QRadioButton*, 2> m_optCh{};
  QWidget* m_picture1 = nullptr;
  QWidget* m_picConDiv = nullptr;
  QPushButton* m_cmdFinish = nullptr;
  QPushButton* m_cmdClose = nullptr;
};

} // namespace vcm
