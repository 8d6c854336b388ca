#pragma once

#include "common/grid/Grid.h"
#include "transfer/FileTransferForm.h"
#include "transfer/ProgressIndicator.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace vcm {

/// What one send writes into TRANS_FILE_LIST. The three lists keep the rows' order;
/// each entry is preceded by "|".
struct TransferRecord {
  QString companyCode;
  QString month;       ///< "YYYY.MM" of the send moment
  QString title;       ///< trimmed, as typed
  QString memo;        ///< trimmed, as typed
  QString storedNames; ///< |C0001_20240305140709_1|...
  QString pickedNames; ///< |a.pdf|b.hwp
  QString sizes;       ///< |100|2048
  QString moment;      ///< "YYYY.MM.DD HH:MM:SS"
};

/// The logic of the file transfer screen 파일전송: the list of files to send (sprTrans),
/// the send by FTP with its record in TRANS_FILE_LIST, and the month's history
/// (sprStory). The screen owns the widgets and hands their events here.
class FileTransfer {
public:
  static inline const QString ScreenName = QStringLiteral("파일전송");
  static inline const QString RemoteFolder = QStringLiteral("/home/Vetra_Care_01/VETRA_CARE_ADD_FILE");
  static constexpr int MaxFiles = 5;
  static constexpr double MaxKilobytes = 5120;

  /// Columns of sprTrans and sprStory.
  enum TransColumn { ColDelete = 1, ColName = 2, ColSize = 3 };
  enum StoryColumn { ColSentAt = 1, ColTitle = 2 };

  FileTransfer(Grid& sprTrans, Grid& sprStory, ProgressIndicator& xBar);

  FileTransferForm form;
  /// The client clock; tests fix it.
  std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };

  // Events of the screen.
  void Form_Load();
  void Form_Activate();
  void cmdFind_F_Click();
  void sprTrans_Click(int col, int row);
  void cmdTrans_F_Click();
  void cmdReset_Click();
  void tabTrans_Click(int index);
  void DatM_T_ButtonHit(int button);
  void cmdXls_Click();

  /// True when the file list may be sent; shows the reason otherwise.
  bool chk_Trans_File();
  void Set_Story_List();

  /// True while a send runs (the screen keeps itself open meanwhile).
  bool isSending() const { return m_sending; }

  // Texts and statements, kept apart so they can be checked exactly.
  static QString sizeText(qint64 bytes);
  static QString storedFileName(const QString& companyCode, const QString& momentDigits, int row);
  static QString insertStatement(const TransferRecord& record);
  static QString historyStatement(const QString& companyCode, const QString& month);
  /// The month one before (delta -1) or after (+1) a "YYYY.MM" text; empty when the
  /// text is no month.
  static QString shiftedMonth(const QString& month, int delta);

private:
  void appendFile(const QString& path);
  bool checkTexts(const QStringList& pickedNames);
  /// Every typed text against the size of its column; refuses with a notice.
  bool checkLengths(const QStringList& pickedNames);
  bool checkReadable();
  void send();
  void uploadFailed();

  Grid& m_trans;
  Grid& m_story;
  ProgressIndicator& m_bar;
  bool m_sending = false;
};

} // namespace vcm
