#pragma once

#include "transfer/ProgressIndicator.h"

#include <QList>
#include <QStringList>

#include <ostream>

namespace vcm::test {

/// A progress indicator that remembers itself after every value change, and every
/// write in order ("text:…", "value:…").
struct RecordingIndicator : ProgressIndicator {
  struct Step {
    QString text;
    int value;
    bool operator==(const Step&) const = default;
    friend void PrintTo(const Step& s, std::ostream* os)
    {
      *os << '(' << s.text.toStdString() << ", " << s.value << ')';
    }
  };
  QString m_text = QStringLiteral("start");
  int m_value = 0;
  QList<Step> steps;
  QStringList writes;

  QString text() const override { return m_text; }
  void setText(const QString& text) override
  {
    m_text = text;
    writes.append(QStringLiteral("text:") + text);
  }
  int value() const override { return m_value; }
  void setValue(int value) override
  {
    m_value = value;
    steps.append({m_text, value});
    writes.append(QStringLiteral("value:") + QString::number(value));
  }
};

} // namespace vcm::test
