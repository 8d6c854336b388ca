#include "mainwindow/QuickBar.h"

#include "common/TextHelpers.h"

namespace vcm {

QuickBar::QuickBar(int templateTop, int templateCloseTop)
    : m_templateTop(templateTop), m_templateCloseTop(templateCloseTop)
{
}

int QuickBar::screenCode(const QString& formName)
{
  if (formName == kBusinessInfoName)
    return 1;
  if (formName == kLedgerName)
    return 3;
  return 0;
}

QString QuickBar::tagFor(const QString& formName)
{
  return QStringLiteral("%1").arg(screenCode(formName), 3, 10, QLatin1Char('0')) + formName;
}

QString QuickBar::formNameOfTag(const QString& tag) { return tag.mid(3); }

int QuickBar::codeOfTag(const QString& tag)
{
  const auto n = leadingNumber(tag.left(3));
  return n ? static_cast<int>(*n) : 0;
}

void QuickBar::setPicture(QuickButton& b, int image)
{
  if (image >= 1 && image <= kImageCount)
    b.picture = image;
}

int QuickBar::activate(const QString& formName)
{
  const int code = screenCode(formName);
  int found = 0;
  for (auto& [index, b] : m_buttons) {
    if (formNameOfTag(b.tag) == formName) {
      setPicture(b, code + 1);
      if (!found)
        found = index;
    } else {
      setPicture(b, codeOfTag(b.tag));
    }
  }
  if (found)
    return found;

  const int index = highestIndex() + 1;
  QuickButton b;
  b.width = kButtonWidth;
  setPicture(b, code + 1);
  b.tag = tagFor(formName);
  b.top = m_templateTop;
  if (index == 1) {
    b.left = kFirstLeft;
  } else {
    const QuickButton& previous = m_buttons.at(index - 1);
    b.left = previous.left + previous.width - kAddOverlap;
  }
  b.closeTop = m_templateCloseTop + kCloseDrop;
  b.closeLeft = b.left + kCloseOffsetAdded;
  m_buttons.emplace(index, b);
  return index;
}

bool QuickBar::remove(const QString& formName)
{
  for (auto it = m_buttons.begin(); it != m_buttons.end(); ++it) {
    if (formNameOfTag(it->second.tag) != formName)
      continue;
    int l = it->second.left;
    auto next = m_buttons.erase(it);
    bool first = true;
    for (; next != m_buttons.end(); ++next) {
      QuickButton& b = next->second;
      b.left = first ? l : l + kMovedGap;
      b.closeLeft = l + kCloseOffsetMoved;
      l += b.width;
      first = false;
    }
    return true;
  }
  return false;
}

int QuickBar::highestIndex() const
{
  return m_buttons.empty() ? 0 : m_buttons.rbegin()->first;
}

QList<int> QuickBar::indexes() const
{
  QList<int> out;
  for (const auto& entry : m_buttons)
    out.append(entry.first);
  return out;
}

const QuickButton* QuickBar::button(int index) const
{
  const auto it = m_buttons.find(index);
  return it == m_buttons.end() ? nullptr : &it->second;
}

} // namespace vcm
