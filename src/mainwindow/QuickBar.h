#pragma once

#include <QList>
#include <QString>
#include <map>

namespace vcm {

/// One quick button of the main window's quick bar with its close button. Positions are
/// in twips inside the quick-bar panel.
struct QuickButton {
  /// Three-digit screen code followed by the screen's form name, e.g. "003회계2_거래리스트_New".
  QString tag;
  /// Image number in the quick-bar image list (1-based; 0 = none given yet).
  int picture = 0;
  int left = 0;
  int top = 0;
  int width = 0;
  int closeLeft = 0;
  int closeTop = 0;
};

/// The quick bar: one button per open work screen, kept as an indexed group whose
/// element 0 is an invisible template. Removed elements leave holes; indexes are never
/// renumbered, and every routine skips the holes. Holds no widgets, so that the layout
/// arithmetic can be checked on its own; the main window draws what it holds.
class QuickBar {
public:
  static constexpr int kButtonWidth = 1800;
  /// Adjacent buttons overlap by this much when they are added.
  static constexpr int kAddOverlap = 45;
  /// Close button offset from its quick button's left edge when added ...
  static constexpr int kCloseOffsetAdded = 1380;
  /// ... and when moved to close a gap.
  static constexpr int kCloseOffsetMoved = 1340;
  /// Gap between buttons moved to close a gap.
  static constexpr int kMovedGap = 15;
  static constexpr int kFirstLeft = 15;
  /// The close button sits this much lower than the template's close button.
  static constexpr int kCloseDrop = 120;
  /// Pictures in the image list: 1/2 business information (normal/highlighted),
  /// 3/4 ledger.
  static constexpr int kImageCount = 4;

  static inline const QString kBusinessInfoName = QStringLiteral("사업장_사업장정보");
  static inline const QString kLedgerName = QStringLiteral("회계2_거래리스트_New");

  /// `templateTop` and `templateCloseTop` are the tops of the template elements 0.
  explicit QuickBar(int templateTop = 0, int templateCloseTop = 0);

  /// 1 for the business information view, 3 for the ledger, 0 for any other name.
  static int screenCode(const QString& formName);
  /// The tag of a quick button for `formName`.
  static QString tagFor(const QString& formName);
  /// The form name in a tag: the text from its fourth character on.
  static QString formNameOfTag(const QString& tag);
  /// The screen code in a tag: its first three characters read as a number.
  static int codeOfTag(const QString& tag);

  /// Activation of screen `formName`: highlights its button and gives every other
  /// button its normal picture; adds a highlighted button at the end when the screen
  /// has none yet. Returns the index of the screen's button.
  int activate(const QString& formName);

  /// Removes the first button of `formName` and moves the buttons after it left to
  /// close the gap. Returns false (nothing changes) when no button carries the name.
  bool remove(const QString& formName);

  /// Highest loaded index (0 when only the template is loaded).
  int highestIndex() const;
  /// Loaded indexes above the template, in ascending order.
  QList<int> indexes() const;
  /// The button at `index`, or nullptr for a hole, the template or an index out of range.
  const QuickButton* button(int index) const;

  int templateTop() const { return m_templateTop; }
  int templateCloseTop() const { return m_templateCloseTop; }

private:
  /// Sets the picture when the image list has it; an image it lacks leaves the old one.
  static void setPicture(QuickButton& b, int image);

  int m_templateTop;
  int m_templateCloseTop;
  std::map<int, QuickButton> m_buttons;
};

} // namespace vcm
