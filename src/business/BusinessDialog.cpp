#include "business/BusinessDialog.h"

#include "mainwindow/MainArtwork.h"
#include "mainwindow/Twips.h"
#include "platform/Ui.h"

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

} // namespace vcm
