#include "ledger/MainWindowHost.h"

#include "mainwindow/MainWindow.h"
#include "mainwindow/PictureButton.h"

namespace vcm {

QString MainWindowHost::workTag(int index) const
{
  if (!m_main)
    return index >= 0 && index < 9 ? m_tags[size_t(index)] : QString();
  PictureButton* b = m_main->cmdWork(index);
  return b ? b->tag() : QString();
}

void MainWindowHost::setWorkTag(int index, const QString& tag)
{
  if (!m_main) {
    if (index >= 0 && index < 9)
      m_tags[size_t(index)] = tag;
    return;
  }
  if (PictureButton* b = m_main->cmdWork(index))
    b->setTag(tag);
}

void MainWindowHost::setWorkEnabled(int index, bool enabled)
{
  if (PictureButton* b = m_main ? m_main->cmdWork(index) : nullptr)
    b->setEnabled(enabled);
}

void MainWindowHost::setWorkPictures(int index, int picture, int secondPicture)
{
  if (PictureButton* b = m_main ? m_main->cmdWork(index) : nullptr)
    b->setPictures(m_main->g_BT_img(picture), m_main->g_BT_img(secondPicture));
}

void MainWindowHost::showWorkButtons(const QString& flags)
{
  if (m_main)
    m_main->g_ChNum(flags);
}

void MainWindowHost::settingQuickButton(const QString& screenName)
{
  if (m_main)
    m_main->g_Setting_Quick_Btn(screenName);
}

void MainWindowHost::removeQuickButton(const QString& screenName)
{
  if (m_main)
    m_main->g_Remove_Quick_Btn(screenName);
}

} // namespace vcm
