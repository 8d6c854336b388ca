#pragma once

#include <QPixmap>
#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vcm {

class PictureButton;
class PictureCheckBox;

/// The login screen "로그인": the member's ID and password are looked up in COM_LIST;
/// on success the member business goes into Session, the ID is remembered, the main
/// window opens and this screen closes. Warns while Caps Lock is on in the password box.
class LoginScreen : public QWidget {
  Q_OBJECT
public:
  static inline const QString kFormName = QStringLiteral("로그인");
  static inline const QString kCapsLockText = QStringLiteral("Caps Lock이 켜져있습니다.");

  explicit LoginScreen(QWidget* parent = nullptr);

  QLineEdit* txtID() const { return m_txtID; }
  QLineEdit* txtPW() const { return m_txtPW; }
  PictureCheckBox* Chk_ID() const { return m_chkID; }
  PictureButton* cmdLogin() const { return m_cmdLogin; }
  QPushButton* cmdClose() const { return m_cmdClose; }
  QFrame* fraCaps() const { return m_fraCaps; }
  /// The screen's image list: 1 ticked, 2 unticked picture of Chk_ID.
  QPixmap imgMain(int image) const;

  // Event handlers, public so that start-up and tests can drive them.
  /// Restores the remembered ID and puts the focus where typing goes on. Runs once,
  /// when the screen is first shown.
  void Form_Activate();
  /// Enter in the ID box: submit when both boxes are filled, else go to the password.
  void txtID_KeyDown(int key);
  void txtPW_GotFocus();
  /// Enter in the password box submits when both boxes are filled; any other key
  /// refreshes the Caps Lock notice.
  void txtPW_KeyDown(int key);
  void cmdLogin_Click();
  /// Ends the program at once.
  void cmdClose_Click();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void buildControls();
  void refreshCapsNotice();
  /// Closes the screen; with no other screen open the program ends with it.
  void unload();

  QLineEdit* m_txtID = nullptr;
  QLineEdit* m_txtPW = nullptr;
  PictureCheckBox* m_chkID = nullptr;
  PictureButton* m_cmdLogin = nullptr;
  QPushButton* m_cmdClose = nullptr;
  QFrame* m_fraCaps = nullptr;
  QLabel* m_label1 = nullptr;
  QLabel* m_background = nullptr;
  QList<QPixmap> m_imgMain;
  bool m_activated = false;
};

} // namespace vcm
