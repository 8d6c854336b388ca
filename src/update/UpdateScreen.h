#pragma once

#include "transfer/ProgressBarIndicator.h"
#include "update/Ctl_DN.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace vcm {

/// 업데이트다운로드: replaces the client by the published version. On its first
/// activation it fetches the installer into the program folder (over HTTP when the web
/// server announces its size, over FTP from the web server's folder otherwise), starts
/// it and ends the program. Closing the window at any time ends the program too.
class UpdateScreen : public QDialog {
  Q_OBJECT
public:
  static constexpr const char* InstallerName = "Vetra_Care_Setup_Up_Member.exe";
  static constexpr const char* FtpFolder = "/var/www/html";
  /// Shown when the installer did not arrive (FTP failure, incomplete download).
  static const QString DownloadFailedText;
  /// Shown when the system refuses to start the downloaded installer.
  static const QString StartFailedText;

  explicit UpdateScreen(QWidget* parent = nullptr);

  QLabel* Label1() const { return m_label1; }
  QLabel* Label2() const { return m_label2; }
  QProgressBar* xBar() const { return m_xBar; }
  vcm::Ctl_DN& Ctl_DN() { return m_dn; }

  /// The update run; only the first activation starts it.
  void Form_Activate();
  /// Ends the program.
  void Form_Unload();

  /// "http://" + server (and port when not 80) + "/" + installer name: the plain address.
  static QString downloadAddress();
  /// The installer's place in the program folder.
  static QString localFile();

protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

private:
  void Ctl_DN_RecievedBytes(qint32 bytes);
  void findInstallerOverHttp();
  void downloadOverHttp();
  void downloadOverFtp();
  bool arrivedWhole(qint64 expected) const;
  void downloadFailed();
  void startInstaller();

  QLabel* m_label1;
  QLabel* m_label2;
  QProgressBar* m_xBar;
  ProgressBarIndicator m_bar;
  vcm::Ctl_DN m_dn;
  double m_expectedTotal = 0;
  bool m_activated = false;
  bool m_downloadComplete = false;
};

} // namespace vcm
