#include "business/BusinessDialog.h"

#include "mainwindow/MainArtwork.h"
#include "mainwindow/Twips.h"
#include "platform/Ui.h"

#include <QPushButton>

namespace vcm {

BusinessDialog::BusinessDialog(QWidget* parent, const QString& formName, const QString& caption,
                               int widthTwips, int heightTwips)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint)
{
  setObjectName(formName);
  setWindowTitle(caption);
  setFixedSize(twipsSize(widthTwips, heightTwips));
  setFont(MainArtwork::labelFont(twipsToPixels(180), false));
  const QSize screenSize = ui().screenSize();
  move((screenSize.width() - width()) / 2, (screenSize.height() - height()) / 2);
}

QPushButton* BusinessDialog::addCloseButton(int left, int top, int width, int height)
{
  auto* button = new QPushButton(QStringLiteral("닫 기"), this);
  button->setObjectName(QStringLiteral("cmdClose"));
  button->setGeometry(twipsRect(left, top, width, height));
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, &QWidget::close);
  return button;
}

} // namespace vcm
