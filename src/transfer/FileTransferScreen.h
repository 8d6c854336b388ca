#pragma once

#include "transfer/FileTransfer.h"
#include "transfer/ProgressBarIndicator.h"

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace vcm {

class GridView;
class IKoltRich;
class MainWindow;

/// The file transfer screen 파일전송 (caption "파일전송"), a modal dialog of the main
/// window with two tabs: sending files with a title and a memo, and the month's history.
/// It builds the controls, shows what the FileTransfer logic decides and hands it the
/// member's clicks and texts.
class FileTransferScreen : public QDialog {
  Q_OBJECT
public:
  explicit FileTransferScreen(QWidget* parent = nullptr);
  ~FileTransferScreen() override;

  FileTransfer& transfer() { return *m_transfer; }

  /// The title and memo boxes; null when the text control could not be created.
  IKoltRich* txtTitle() const { return m_title; }
  IKoltRich* txtMemo() const { return m_memo; }

public slots:
  void reject() override;

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void buildSendTab(QWidget* page);
  void buildHistoryTab(QWidget* page);
  IKoltRich* textBox(QWidget* parent, const QString& name, QString FileTransferForm::*field);
  void showForm();

  QTabWidget* tabTrans = nullptr;
  IKoltRich* m_title = nullptr;
  IKoltRich* m_memo = nullptr;
  QPushButton* cmdFind_F = nullptr;
  GridView* sprTrans = nullptr;
  QPushButton* cmdTrans_F = nullptr;
  QPushButton* cmdReset = nullptr;
  QProgressBar* xBar = nullptr;
  QLineEdit* DatM_T = nullptr;
  GridView* sprStory = nullptr;
  QPushButton* cmdXls = nullptr;

  std::unique_ptr<ProgressBarIndicator> m_bar;
  std::unique_ptr<FileTransfer> m_transfer;
};

/// Registers the screen with the main window as the modal screen "파일전송".
void registerFileTransferScreen();

} // namespace vcm
