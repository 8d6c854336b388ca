#include "TestChild.h"

#include "mainwindow/MainWindow.h"
#include "mainwindow/PictureButton.h"

#include <QCloseEvent>

namespace vcm {

TestChild::TestChild(MainWindow& main, const QString& formName) : m_main(main), m_formName(formName)
{
  connect(&main, &MainWindow::childActivated, this, [this](QWidget* child) {
    if (child != this)
      return;
    ++activations;
    m_main.g_ChNum(QStringLiteral("0,1,1,1,0,0,1,0,1"));
    m_main.g_Setting_Quick_Btn(m_formName);
  });
}

void TestChild::closeEvent(QCloseEvent* event)
{
  if (m_main.pendingWork()) {
    event->ignore();
    return;
  }
  m_main.g_Remove_Quick_Btn(m_formName);
  event->accept();
}

} // namespace vcm
