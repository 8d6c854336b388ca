#include "transfer/FileTransfer.h"

#include "common/ErrMsg.h"
#include "common/MainConn.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "common/TextHelpers.h"
#include "common/db/ColumnLimits.h"
#include "common/db/EucKr.h"
#include "common/export/ExcelExport.h"
#include "common/grid/NumberText.h"
#include "platform/Ui.h"
#include "transfer/FtpRoutines.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <tuple>

namespace vcm {

namespace {

const QString TwoLines = QStringLiteral("\r\n\r\n");

QString rowText(int row)
{
  return QStringLiteral("[ ") + QString::number(row);
}

/// A refusal in two sentences; always false, so callers can return it.
bool refuse(const QString& what, const QString& advice)
{
  notice(what + TwoLines + advice, Icon::Exclamation);
  return false;
}

} // namespace

FileTransfer::FileTransfer(Grid& sprTrans, Grid& sprStory, ProgressIndicator& xBar)
    : m_trans(sprTrans), m_story(sprStory), m_bar(xBar)
{
  m_trans.setColumnCount(3);
  m_trans.setRowCount(0);
  m_trans.setText(ColDelete, 0, QStringLiteral("삭제"));
  m_trans.setText(ColName, 0, QStringLiteral("파일명"));
  m_trans.setText(ColSize, 0, QStringLiteral("파일크기(KB)"));
  m_trans.setButtonCells(CellRange::column(ColDelete), QStringLiteral("삭제"));
  m_trans.setLocked(CellRange::sheet(), true);
  m_trans.setAlignment(CellRange::column(ColSize), HAlign::Right);
  m_trans.setColumnWidth(ColDelete, 6);
  m_trans.setColumnWidth(ColName, 40);
  m_trans.setColumnWidth(ColSize, 12);

  m_story.setColumnCount(2);
  m_story.setRowCount(0);
  m_story.setText(ColSentAt, 0, QStringLiteral("전송일시"));
  m_story.setText(ColTitle, 0, QStringLiteral("제목"));
  m_story.setLocked(CellRange::sheet(), true);
  m_story.setAlignment(CellRange::column(ColSentAt), HAlign::Centre);
  m_story.setColumnWidth(ColSentAt, 20);
  m_story.setColumnWidth(ColTitle, 38);
}

void FileTransfer::Form_Load()
{
  form.DatM_T = Session.ServerDate.left(7);
  form.notify();
}

void FileTransfer::Form_Activate()
{
  m_trans.setRowCount(0);
}

void FileTransfer::cmdFind_F_Click()
{
  Session.CurrentProcedure = QStringLiteral("cmdFile_Load_Click");
  try {
    const QString result =
        g_OpenFile_Dlg(QStringLiteral("엑셀 파일"), QStringLiteral("*.*"), QStringLiteral("엑셀 등록"));
    if (result.trimmed().isEmpty()) {
      notice(QStringLiteral("엑셀 불러오기를 취소하였습니다."), Icon::Exclamation);
      return;
    }
    m_bar.show(QStringLiteral("선택한 파일을 불러오는 중입니다.잠시만 기다리세요."), 50);
    const RedrawSuspended batch(m_trans);
    for (const QString& path : splitOpenFileResult(result))
      appendFile(path);
    chk_Trans_File();
    m_bar.show(QStringLiteral("100 %"), 100);
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
}

void FileTransfer::appendFile(const QString& path)
{
  const int row = m_trans.rowCount() + 1;
  m_trans.setRowCount(row);
  m_trans.setText(ColName, row, QFileInfo(path).fileName());
  m_trans.setTag(CellRange::cell(ColName, row), path);
  const qint64 bytes = QFileInfo(path).size();
  m_trans.setText(ColSize, row, sizeText(bytes));
  m_trans.setTag(CellRange::cell(ColSize, row), QString::number(bytes));
}

void FileTransfer::sprTrans_Click(int col, int row)
{
  if (row < 1 || col != ColDelete || row > m_trans.rowCount())
    return;
  m_trans.deleteRows(row);
  notice(QStringLiteral("정상적으로 삭제되었습니다."), Icon::Information);
}

bool FileTransfer::chk_Trans_File()
{
  const int rows = m_trans.rowCount();
  if (rows > MaxFiles) {
    notice(QStringLiteral("최대 5개 파일까지만 등록이 가능합니다."), Icon::Exclamation);
    return false;
  }
  for (int i = 1; i <= rows; ++i) {
    if (numVal(m_trans.text(ColSize, i)) > MaxKilobytes)
      return refuse(rowText(i) + QStringLiteral(" 행의 파일 크기가 5MB 이상입니다."),
                    QStringLiteral("해당 파일은 다른 방법으로 전송해주세요."));
    const QString path = m_trans.tag(ColName, i);
    for (int j = i + 1; j <= rows; ++j) {
      if (m_trans.tag(ColName, j) == path)
        return refuse(rowText(i) + QStringLiteral(" 행과 ") + QString::number(j) +
                          QStringLiteral(" 행 ]의 파일이 동일합니다."),
                      QStringLiteral("한개의 파일은 삭제해주세요."));
    }
  }
  return true;
}

void FileTransfer::cmdTrans_F_Click()
{
  if (m_sending)
    return;  // the first send is still running (events run between its blocks)
  m_sending = true;
  Session.CurrentProcedure = QStringLiteral("cmdTrans_F_Click");
  try {
    send();
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
    g_FtpClose();
    g_Nothing_MainConn();
  }
  m_sending = false;
}

void FileTransfer::send()
{
  if (!chk_Trans_File()) {
    notice(QStringLiteral("파일전송을 취소하였습니다."), Icon::Exclamation);
    return;
  }
  if (form.txtTitle.trimmed().isEmpty()) {
    notice(QStringLiteral("파일전송 [제목]을 먼저 기입해주세요."), Icon::Exclamation);
    if (form.focusTitle)
      form.focusTitle();
    return;
  }
  if (m_trans.rowCount() == 0) {
    notice(QStringLiteral("전송할 파일을 [첨부파일찾기]를 이용해 등록해주세요."), Icon::Exclamation);
    return;
  }
  // The list as it stands now is what gets sent: events run during the upload and may
  // change the grid meanwhile.
  QStringList paths;
  QStringList pickedNames;
  for (int k = 1; k <= m_trans.rowCount(); ++k) {
    paths << m_trans.tag(ColName, k).trimmed();
    pickedNames << m_trans.text(ColName, k).trimmed().remove(QLatin1Char('|'));
  }
  if (!checkTexts(pickedNames) || !checkReadable())
    return;
  if (notice(QStringLiteral("전송하시겠습니까?"), Icon::Question, Buttons::YesNo) != Answer::Yes)
    return;

  const QDateTime moment = clock();
  TransferRecord record;
  record.companyCode = Session.CompanyCode;
  record.month = moment.toString(QStringLiteral("yyyy.MM"));
  record.title = form.txtTitle.trimmed();
  record.memo = form.txtMemo.trimmed();
  record.moment = moment.toString(QStringLiteral("yyyy.MM.dd HH:mm:ss"));
  QString digits = record.moment;
  digits.remove(QLatin1Char('.')).remove(QLatin1Char(' ')).remove(QLatin1Char(':'));

  m_bar.show(QStringLiteral("서버접속중 잠시만 기다리세요."), 0);
  if (!g_FtpOpen(Session.ServerAddress, QString::number(Session.FtpPort), Session.FtpUser,
                 Session.DbPassword)) {
    ui().message(QStringLiteral("서버접속에 실패하였습니다. 접속량이 많아 실패했을수 있으니, 잠시 후 다시 시도하세요."),
                 QStringLiteral("확인"), Icon::Critical, Buttons::Ok);
    g_Nothing_MainConn();
    return;
  }
  g_FTPSetDir(RemoteFolder);
  for (int k = 1; k <= paths.size(); ++k) {
    const QString& path = paths.at(k - 1);
    const QString stored = storedFileName(record.companyCode, digits, k);
    record.storedNames += QLatin1Char('|') + stored;
    record.pickedNames += QLatin1Char('|') + pickedNames.at(k - 1);
    record.sizes += QLatin1Char('|') + QString::number(QFileInfo(path).size());
    if (!g_FTPUpload(path, stored, m_bar, QStringLiteral("완료"))) {
      uploadFailed();
      return;
    }
  }
  g_FtpClose();

  const QString sql = insertStatement(record);
  g_Open_MainConn();
  executeSql(sql);
  m_bar.show(QStringLiteral("전송완료(100%)"), 100);
  notice(QStringLiteral("정상적으로 전송되었습니다."), Icon::Information);
  cmdReset_Click();
  g_Nothing_MainConn();
}

bool FileTransfer::checkTexts(const QStringList& pickedNames)
{
  // Checked before anything is uploaded, so a refused text leaves nothing on the server.
  const auto refuseCharacter = [](const QString& where, const QString& bad) {
    return refuse(where + QStringLiteral("에 저장할 수 없는 문자(") + bad + QStringLiteral(")가 들어 있습니다."),
                  QStringLiteral("이모지나 일부 특수문자·한자는 사용할 수 없으니 지우고 다시 입력하세요."));
  };
  for (const auto& [where, text] : {std::pair{QStringLiteral("[제목]"), form.txtTitle.trimmed()},
                                    std::pair{QStringLiteral("[메모]"), form.txtMemo.trimmed()}}) {
    const QString bad = euckr::firstUnencodable(text);
    if (!bad.isNull())
      return refuseCharacter(where, bad);
  }
  for (int k = 1; k <= pickedNames.size(); ++k) {
    const QString bad = euckr::firstUnencodable(pickedNames.at(k - 1));
    if (!bad.isNull())
      return refuseCharacter(rowText(k) + QStringLiteral(" 행 ]의 파일명"), bad);
  }
  return checkLengths(pickedNames);
}

bool FileTransfer::checkLengths(const QStringList& pickedNames)
{
  // The server would cut a longer text to its column without a word.
  const ColumnLimits& limits = ColumnLimits::session();
  const QString table = QStringLiteral("TRANS_FILE_LIST");
  const QString pickedList = QLatin1Char('|') + pickedNames.join(QLatin1Char('|'));
  for (const auto& [label, text, column] :
       {std::tuple{QStringLiteral("제목"), form.txtTitle.trimmed(), QStringLiteral("TRANS_TITLE")},
        std::tuple{QStringLiteral("메모"), form.txtMemo.trimmed(), QStringLiteral("TRANS_MEMO")},
        std::tuple{QStringLiteral("첨부파일명 전체"), pickedList, QStringLiteral("SIL_FILE_NM")}}) {
    const QString refusal = limits.refusal(label, text, table, column);
    if (!refusal.isNull()) {
      notice(refusal, Icon::Exclamation);
      return false;
    }
  }
  return true;
}

bool FileTransfer::checkReadable()
{
  for (int k = 1; k <= m_trans.rowCount(); ++k) {
    QFile file(m_trans.tag(ColName, k).trimmed());
    if (!file.open(QIODevice::ReadOnly))
      return refuse(rowText(k) + QStringLiteral(" 행 ]의 파일(") + QDir::toNativeSeparators(file.fileName()) +
                        QStringLiteral(")을 읽을 수 없습니다."),
                    QStringLiteral("파일이 있는지 확인한 뒤 다시 등록해주세요."));
  }
  return true;
}

void FileTransfer::uploadFailed()
{
  notice(QStringLiteral("파일 다운로드시 오류가 발생하였습니다. 잠시 후 다시 시도하세요."),
         Icon::Exclamation);
  g_FtpClose();
  g_Nothing_MainConn();
}

void FileTransfer::cmdReset_Click()
{
  form.txtTitle.clear();
  form.txtMemo.clear();
  m_trans.setRowCount(0);
  form.notify();
}

void FileTransfer::tabTrans_Click(int index)
{
  if (index == 1)
    Set_Story_List();
}

void FileTransfer::DatM_T_ButtonHit(int button)
{
  Session.CurrentProcedure = QStringLiteral("DatM_T_ButtonHit");
  try {
    if (button == 1 || button == 2) {
      const QString month = shiftedMonth(form.DatM_T, button == 1 ? -1 : 1);
      if (month.isEmpty())
        throw RuntimeError(13, QStringLiteral("형식이 일치하지 않습니다."));
      form.DatM_T = month;
      form.notify();
    }
    Set_Story_List();
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
}

void FileTransfer::Set_Story_List()
{
  Session.CurrentProcedure = QStringLiteral("Set_Story_List");
  std::unique_ptr<RecordSet> rs;
  const RedrawSuspended batch(m_story);
  m_story.setRowCount(0);
  try {
    g_Open_MainConn();
    rs = openRecordSet(historyStatement(Session.CompanyCode, form.DatM_T));
    for (; !rs->eof(); rs->moveNext()) {
      const int row = m_story.rowCount() + 1;
      m_story.setRowCount(row);
      m_story.setText(ColSentAt, row, rs->value(QStringLiteral("TRANS_DT")).trimmed());
      m_story.setText(ColTitle, row, rs->value(QStringLiteral("TRANS_TITLE")).trimmed());
    }
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
  g_Rs_Nothing(rs);
  g_Nothing_MainConn();
}

void FileTransfer::cmdXls_Click()
{
  const QString listName = QStringLiteral("파일전송이력(") + form.DatM_T + QStringLiteral("월분)");
  g_EXCEL_CH(m_story, listName, listName, QStringLiteral("&HF8E7F1"), 1, true, 0);
}

QString FileTransfer::sizeText(qint64 bytes)
{
  return formatGridNumber(static_cast<double>(qRound64(static_cast<double>(bytes) / 1024.0))) +
         QStringLiteral(" KB");
}

QString FileTransfer::storedFileName(const QString& companyCode, const QString& momentDigits, int row)
{
  return companyCode + QLatin1Char('_') + momentDigits + QLatin1Char('_') + QString::number(row);
}

QString FileTransfer::insertStatement(const TransferRecord& r)
{
  const auto value = [](const QString& text) {
    return QStringLiteral(" , '") + g_SqlStr(text) + QLatin1Char('\'');
  };
  return QStringList{
      QStringLiteral("INSERT INTO TRANS_FILE_LIST(TRANS_F_NO , COM_CD , REG_MON"),
      QStringLiteral(" , TRANS_TITLE , TRANS_MEMO"),
      QStringLiteral(" , File_NM , SIL_FILE_NM , FILE_SIZE , TRANS_DT) VALUES ("),
      QStringLiteral("''"),
      value(r.companyCode),
      value(r.month),
      value(r.title),
      value(r.memo),
      value(r.storedNames),
      value(r.pickedNames),
      value(r.sizes),
      value(r.moment),
      QStringLiteral(" )"),
  }.join(QLatin1Char('\n'));
}

QString FileTransfer::historyStatement(const QString& companyCode, const QString& month)
{
  return QStringList{
      QStringLiteral("SELECT TRANS_DT , TRANS_TITLE FROM TRANS_FILE_LIST"),
      QStringLiteral(" WHERE COM_CD = '") + g_SqlStr(companyCode) + QLatin1Char('\''),
      QStringLiteral(" AND REG_MON = '") + g_SqlStr(month) + QLatin1Char('\''),
  }.join(QLatin1Char('\n'));
}

QString FileTransfer::shiftedMonth(const QString& month, int delta)
{
  const QDate first = QDate::fromString(month.trimmed() + QStringLiteral(".01"), QStringLiteral("yyyy.MM.dd"));
  return first.isValid() ? first.addMonths(delta).toString(QStringLiteral("yyyy.MM")) : QString();
}

} // namespace vcm
