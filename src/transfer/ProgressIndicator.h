#pragma once

#include <QString>

namespace vcm {

/// A progress bar as the transfer routines see it: a status text and a value from 0 to
/// 100. Screens adapt their progress bar to it; logic and tests use plain objects.
class ProgressIndicator {
public:
  virtual ~ProgressIndicator() = default;

  virtual QString text() const = 0;
  virtual void setText(const QString& text) = 0;
  virtual int value() const = 0;
  virtual void setValue(int value) = 0;

  void show(const QString& text, int value)
  {
    setText(text);
    setValue(value);
  }
};

} // namespace vcm
