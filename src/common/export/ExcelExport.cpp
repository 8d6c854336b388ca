#include "common/export/ExcelExport.h"

#include "common/ErrMsg.h"
#include "common/Session.h"
#include "common/export/ExportSheet.h"
#include "common/export/XlsWriter.h"
#include "common/export/XlsxWriter.h"
#include "common/screen/GridRoutines.h"
#include "platform/Paths.h"
#include "platform/Ui.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vcm {

namespace {

// A cancelled dialog, which ends the export without a word.
constexpr int CancelledError = 32755;
// Longest chosen path (as the dialog's buffer holds it) the export accepts.
constexpr int MaxPathLength = 225;
// Longest file name (without its folder) file systems take, in bytes of the local encoding.
constexpr int MaxFileNameBytes = 255;

const QString kPattern = QStringLiteral("*.xls");
const QString kExtension = QStringLiteral(".xls");

enum class SaveResult { Saved, TooLarge, Refused, CannotCreate };

bool isXlsx(const QString& path) { return path.endsWith(QLatin1String(".xlsx")); }

/// Read-only as the file's own flags say: the kernel may still let an administrator
/// write, but such a file is in use elsewhere or protected, and is left alone.
bool markedReadOnly(const QFileInfo& info)
{
  return !(info.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup |
                                 QFileDevice::WriteOther));
}

/// Writes the workbook beside `path` and renames it into place, so that the target is
/// either the complete new file or untouched.
SaveResult saveWorkbook(const ExportSheet& sheet, const QString& path)
{
  const bool xlsx = isXlsx(path);
  if (!xlsx && (sheet.rowCount() > XlsWriter::MaxRows || sheet.columnCount() > XlsWriter::MaxColumns))
    return SaveResult::TooLarge;
  const QFileInfo target(path);
  if (target.exists() && markedReadOnly(target))
    return SaveResult::Refused;
  const QFileInfo folder(target.absolutePath());
  if (!folder.isDir() || markedReadOnly(folder) ||
      QFile::encodeName(target.fileName()).size() > MaxFileNameBytes)
    return SaveResult::CannotCreate;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return SaveResult::CannotCreate;
  const bool written = xlsx ? XlsxWriter::write(sheet, file) : XlsWriter::write(sheet, file);
  if (!written) {
    file.cancelWriting();
    file.commit();
    return SaveResult::Refused;
  }
  return file.commit() ? SaveResult::Saved : SaveResult::Refused;
}

/// One line per export in Logs/Xls_CH.txt of the program folder, when that folder exists.
void logExport(const QString& path, int rows, SaveResult result)
{
  const QDir logs(paths::inProgramDir(QStringLiteral("Logs")));
  if (!logs.exists())
    return;
  QFile log(logs.filePath(QStringLiteral("Xls_CH.txt")));
  if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
    return; // the log is a help for support, never a reason to fail an export
  static const char* const results[] = {"성공", "행/열 수 초과", "실패", "실패(파일을 만들 수 없음)"};
  const QString line = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                       QLatin1Char('\t') + QDir::toNativeSeparators(path) + QLatin1Char('\t') +
                       QString::number(rows) + QLatin1Char('\t') +
                       QString::fromUtf8(results[int(result)]) + QLatin1Char('\n');
  log.write(line.toUtf8());
}

void reportResult(SaveResult result)
{
  const QString failedTitle = QStringLiteral("파일저장 실패");
  switch (result) {
  case SaveResult::Saved:
    notice(QStringLiteral("엑셀파일이 정상적으로 저장되었습니다."), Icon::Information);
    return;
  case SaveResult::TooLarge:
    notice(QStringLiteral("엑셀 97-2003 형식(.xls)의 시트에는 제목 3행을 포함하여 65,536행, 256열까지만 "
                          "저장할 수 있습니다.\n\n파일 형식을 *.xlsx로 골라 다시 저장하여주세요."),
           Icon::Exclamation);
    return;
  case SaveResult::Refused:
    ui().message(QStringLiteral("엑셀 파일 저장을 실패하였습니다. 파일이 열려있는지 확인하세요."),
                 failedTitle, Icon::Critical);
    return;
  case SaveResult::CannotCreate:
    ui().message(QStringLiteral("엑셀 파일 저장을 실패하였습니다.\n\n선택한 폴더에 파일을 만들 수 "
                                "없습니다. 폴더의 쓰기 권한과 파일 이름을 확인하세요."),
                 failedTitle, Icon::Critical);
    return;
  }
}

/// Asks for the file until the member picks a new name, agrees to overwrite, or cancels
/// (empty result).
QString askExportPath(QString proposed)
{
  for (;;) {
    ui().setCursor(Cursor::Hourglass);
    ui().pumpEvents();
    const QString path = g_SaveFile_Dlg(proposed, kPattern, QStringLiteral("노임내역 저장"), kExtension,
                                        {QStringLiteral("*.xlsx")});
    if (path.isEmpty() || !QFileInfo::exists(path))
      return path;
    if (notice(QStringLiteral("같은 이름의 파일이 존재합니다. 덮어쓰시겠습니까?"), Icon::Question,
               Buttons::YesNo) == Answer::Yes)
      return path;
    proposed = path;
  }
}

} // namespace

QString proposedExportName(const QString& listName, const QDate& today)
{
  QString name = listName;
  for (QChar& ch : name) {
    switch (ch.unicode()) {
    case u'[': ch = u'('; break;
    case u']': ch = u')'; break;
    case u'"': ch = u'\''; break;
    // Characters no file name may hold go the way of the slash.
    case u'/': case u'\\': case u':': case u'*': case u'?': case u'<': case u'>': case u'|':
      ch = u' ';
      break;
    default:
      if (ch.unicode() < 0x20)
        ch = u' ';
    }
  }
  return today.toString(QStringLiteral("yyMMdd")) + QLatin1Char('_') + name + kExtension;
}

void g_EXCEL_CH(const Grid& grid, const QString& listName, const QString& titleText,
                const QString& captionBackColour, qint16 titleOption, bool whiteSheet,
                qint16 freezeOption)
{
  Q_UNUSED(titleOption);
  Q_UNUSED(freezeOption);
  Session.CurrentProcedure = QStringLiteral("g_EXCEL_CH");
  try {
    if (grid.rowCount() < 1) {
      notice(QStringLiteral("엑셀파일로 변환할 내역이 없습니다. 확인 후 변환하여주세요."),
             Icon::Exclamation);
      return;
    }
    const QString path = askExportPath(proposedExportName(listName, QDate::currentDate()));
    if (!path.isEmpty()) {
      // The colour is needed only once there is a sheet to write.
      Colour captionBack = colours::White;
      if (!parseColourText(captionBackColour, captionBack))
        throw RuntimeError(13, QStringLiteral("형식이 일치하지 않습니다."));
      const ExportSheet sheet(grid, titleText, captionBack, whiteSheet);
      const SaveResult result = saveWorkbook(sheet, path);
      logExport(path, grid.rowCount(), result);
      reportResult(result);
    }
    ui().setCursor(Cursor::Normal);
  } catch (const RuntimeError& e) {
    if (e.number != CancelledError)
      g_Err_Msg(e, QStringLiteral("SUB"));
    ui().setCursor(Cursor::Normal);
  }
}

QString g_SaveFile_Dlg(const QString& proposedName, const QString& pattern, const QString& title,
                       const QString& extension, const QStringList& morePatterns)
{
  try {
    QString filter = pattern + QStringLiteral(" (") + pattern + QLatin1Char(')');
    QStringList keptExtensions{extension.trimmed()};
    for (const QString& p : morePatterns) {
      filter += QStringLiteral(";;") + p + QStringLiteral(" (") + p + QLatin1Char(')');
      if (p.startsWith(QLatin1Char('*')))
        keptExtensions << p.mid(1);
    }
    const QString chosen = ui().saveFileName(title, filter, proposedName).trimmed();
    if (chosen.isEmpty())
      return QString();
    // The dialog's buffer starts out holding the proposed name; the chosen path and its
    // terminating NUL overwrite its beginning, and all of it is measured.
    if (std::max(chosen.size() + 1, proposedName.size()) > MaxPathLength) {
      notice(QStringLiteral("저장경로 및 저장명이 너무 길니다.저장을 취소합니다."), Icon::Exclamation);
      return QString();
    }
    QString path = QDir::toNativeSeparators(chosen);
    const bool kept = std::any_of(keptExtensions.cbegin(), keptExtensions.cend(),
                                  [&](const QString& e) { return !e.isEmpty() && path.endsWith(e); });
    if (!kept)
      path += extension.trimmed();
    return path;
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, QStringLiteral("Function"));
    return QString();
  }
}

} // namespace vcm
