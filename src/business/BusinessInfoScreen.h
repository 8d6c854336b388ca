#pragma once

#include "business/BusinessInfoView.h"
#include "business/BusinessDialog.h"

#include <array>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vcm {

/// The business information view "사업장_사업장정보": the member business's registered
/// details, read-only, reloaded each time the window becomes active. Its button
/// "사업장 정보 수정하기" opens the change request screen when the service allows changes.
class BusinessInfoScreen : public BusinessDialog {
  Q_OBJECT
public:
  /// The screen, or null (after a notice) when its text fields cannot be made.
  static BusinessInfoScreen* create(QWidget* parent);

  BusinessInfoView& logic() { return m_logic; }

  IKoltRich* txtCCode() const { return m_txtCCode; }
  IKoltRich* txtBase(int index) const { return m_txtBase.at(size_t(index)); }
  IKoltRich* txtTel(int index) const { return m_txtTel.at(size_t(index)); }
  QLineEdit* mskBase(int index) const { return m_mskBase.at(size_t(index)); }
  /// opt_ConDiv(1) "통합" or (3) "간편"; null for other indexes.
  QRadioButton* opt_ConDiv(int index) const;
  QPushButton* cmdCom_Edit() const { return m_cmdComEdit; }

  void cmdCom_Edit_Click();

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  explicit BusinessInfoScreen(QWidget* parent);
  void buildControls();
  QGroupBox* buildFrame(const QString& name, const QString& caption, const QRect& geometry);
  void showFields();

  BusinessInfoView m_logic;
  IKoltRich* m_txtCCode = nullptr;
  std::array<IKoltRich*, 12> m_txtBase{};
  std::array<IKoltRich*, 4> m_txtTel{};
  std::array<QLineEdit*, 5> m_mskBase{};
  QRadioButton* m_optIntegrated = nullptr;
  QRadioButton* m_optSimple = nullptr;
  QPushButton* m_cmdComEdit = nullptr;
  QPushButton* m_cmdClose = nullptr;
};

/// Tells the main window how to open the view (modal from its go-to button, modeless
/// from the quick bar).
void registerBusinessScreens();

} // namespace vcm
