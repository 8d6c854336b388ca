#pragma once

#include "mainwindow/ChildScreen.h"

#include <QList>
#include <QWidget>

namespace vcm {

class MainWindow;

/// A child screen for the main window's tests: behaves towards the main window as the
/// ledger does (activation sets the work buttons and the quick button, closing refuses
/// while work is pending and otherwise removes the quick button) and records the calls.
class TestChild : public QWidget, public ChildScreen {
  Q_OBJECT
public:
  TestChild(MainWindow& main, const QString& formName);

  QString formName() const override { return m_formName; }
  void AAA_Cmd_Work(short& index) override { commands.append(index); }
  void Set_Frm_Resize() override { ++resizes; }

  QList<int> commands;
  int resizes = 0;
  int activations = 0;

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  MainWindow& m_main;
  QString m_formName;
};

} // namespace vcm
