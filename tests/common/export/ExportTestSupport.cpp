#include "ExportTestSupport.h"

#include "support/TestBackend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>

#include <gtest/gtest.h>

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <string>
#endif

namespace vcm::test {

void fillSampleList(Grid& grid)
{
  grid.setColumnCount(4);
  grid.setRowCount(3);
  const QStringList captions{QStringLiteral("거래일자"), QStringLiteral("적요"),
                             QStringLiteral("수입금액"), QStringLiteral("계좌CD")};
  for (int c = 1; c <= 4; ++c)
    grid.setText(c, 0, captions[c - 1]);
  grid.setColumnWidth(1, 10);
  grid.setColumnWidth(2, 17.37);
  grid.setColumnWidth(3, 10.75);
  grid.setColumnHidden(4, true);
  grid.setNumberCells(CellRange::column(3), -999999999999.0, 999999999999.0, 0, true);
  grid.setBorder(CellRange::sheet(), 0x00FF00);
  grid.setBackground(CellRange::row(2), 0x99FFFF);
  grid.setForeground(CellRange::row(2), 0x0000FF);
  grid.setAlignment(CellRange::column(1), HAlign::Centre);
  grid.setRowHeight(2, 20);
  const char16_t* summaries[] = {u"가나다센터 운영비", u"", u"급식비(3월)"};
  const double amounts[] = {1234, -56000, 123456789012.0};
  for (int r = 1; r <= 3; ++r) {
    grid.setText(1, r, QStringLiteral("2015.03.0%1").arg(r));
    grid.setText(2, r, QString::fromUtf16(summaries[r - 1]));
    grid.setNumber(3, r, amounts[r - 1]);
    grid.setText(4, r, QStringLiteral("B%1").arg(r));
  }
}

QStringList gridSnapshot(const Grid& g)
{
  QStringList out;
  out << QStringLiteral("size %1x%2").arg(g.columnCount()).arg(g.rowCount());
  for (int c = 0; c <= g.columnCount(); ++c)
    out << QStringLiteral("col %1 w%2 h%3").arg(c).arg(g.columnWidth(c)).arg(g.isColumnHidden(c));
  for (int r = 0; r <= g.rowCount(); ++r)
    for (int c = 1; c <= g.columnCount(); ++c)
      out << QStringLiteral("%1,%2 %3|%4|%5|%6|%7|%8")
                 .arg(c)
                 .arg(r)
                 .arg(g.text(c, r))
                 .arg(g.background(c, r), 0, 16)
                 .arg(g.foreground(c, r), 0, 16)
                 .arg(g.hasBorder(c, r) ? QString::number(g.borderColour(c, r), 16) : QString())
                 .arg(int(g.cellType(c, r)))
                 .arg(g.rowHeight(r));
  out << QStringLiteral("spans %1").arg(g.spans().size());
  return out;
}

QString hostPath(const QString& path)
{
#ifdef Q_OS_WIN
  // Wine tells where a Windows path lies in the host's file system.
  using UnixName = char*(__cdecl*)(const wchar_t*);
  const auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName)
    return path;
  const std::wstring native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdWString();
  char* name = unixName(native.c_str());
  if (!name)
    return path;
  const QString out = QString::fromUtf8(name);
  HeapFree(GetProcessHeap(), 0, name);
  return out;
#else
  return path;
#endif
}

QString runWorkbookReader(const QStringList& args)
{
#ifdef Q_OS_WIN
  // A Windows program under Wine cannot start the host's python reliably: the backend's
  // control port runs the reader on the host instead.
  try {
    const QJsonObject reply = Backend::control(QStringList{QStringLiteral("read-workbook")} + args);
    if (reply.value(QStringLiteral("rc")).toInt(-1) == 0)
      return reply.value(QStringLiteral("stdout")).toString();
    ADD_FAILURE() << "workbook reader failed: " << reply.value(QStringLiteral("output")).toString().toStdString();
  } catch (const BackendError& e) {
    ADD_FAILURE() << e.what();
  }
  return QString();
#else
  const QString script =
      qEnvironmentVariable("VCM_SOURCE_DIR") + QStringLiteral("/tests/common/export/read_workbook.py");
  QProcess p;
  p.start(QStringLiteral("/usr/bin/python3"), QStringList{script} + args);
  if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
    ADD_FAILURE() << "workbook reader failed: " << p.readAllStandardError().toStdString();
    return QString();
  }
  return QString::fromUtf8(p.readAllStandardOutput());
#endif
}

QJsonObject readWorkbook(const QString& path, int rows)
{
  // VCM_KEEP_EXPORTS names a folder that keeps a copy of every workbook read, to open it
  // in a spreadsheet program.
  const QString keep = qEnvironmentVariable("VCM_KEEP_EXPORTS");
  if (!keep.isEmpty())
    QFile::copy(path, QDir(keep).filePath(QFileInfo(path).fileName()));
  const QString out = runWorkbookReader({hostPath(path), QString::number(rows)});
  return QJsonDocument::fromJson(out.toUtf8()).object();
}

} // namespace vcm::test
