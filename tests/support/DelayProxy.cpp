#include "support/DelayProxy.h"

#include "support/TestBackend.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

namespace vcm::test {

DelayProxy::DelayProxy(int targetPort, double delayMs)
{
  if (!m_dir.isValid())
    throw BackendError("cannot create a folder for the delaying proxy");
  QString stats = m_dir.filePath(QStringLiteral("stats.json"));
  const QStringList options{QStringLiteral("--target-port"), QString::number(targetPort),
                            QStringLiteral("--delay-ms"), QString::number(delayMs)};
#ifdef Q_OS_WIN
  // Wine hands a host program's output to no one: the backend's control port starts the
  // proxy and answers its port. It lives while the marker file does.
  QString marker = m_dir.filePath(QStringLiteral("alive"));
  if (!QFile(marker).open(QIODevice::WriteOnly))
    throw BackendError("cannot create the delaying proxy's marker file");
  for (QString* path : {&stats, &marker})
    if (path->startsWith(QStringLiteral("Z:"), Qt::CaseInsensitive))
      *path = path->mid(2); // the host's own name for the file
  const QJsonObject reply = Backend::control(QStringList{QStringLiteral("delay-proxy")} + options +
                                             QStringList{QStringLiteral("--stats"), stats,
                                                         QStringLiteral("--while-exists"), marker});
  const QString line = reply.value(QStringLiteral("stdout")).toString().trimmed();
  if (reply.value(QStringLiteral("rc")).toInt(-1) != 0 || !line.startsWith(QStringLiteral("PORT ")))
    throw BackendError("the delaying proxy did not start: " +
                       reply.value(QStringLiteral("output")).toString().toStdString());
  m_port = line.mid(5).toInt();
#else
  m_process.setProgram(QStringLiteral(VCM_SYSTEM_PYTHON));
  m_process.setArguments(QStringList{QStringLiteral(VCM_DELAY_PROXY_SCRIPT)} + options +
                         QStringList{QStringLiteral("--stats"), stats, QStringLiteral("--lifetime"),
                                     QStringLiteral("900")});
  m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  m_process.start();
  while (m_process.waitForReadyRead(10'000)) {
    const QByteArray line = m_process.readLine().trimmed();
    if (line.startsWith("PORT ")) {
      m_port = line.mid(5).toInt();
      return;
    }
  }
  m_process.kill();
  m_process.waitForFinished(5'000);
  throw BackendError("the delaying proxy did not start");
#endif
}

DelayProxy::~DelayProxy()
{
#ifdef Q_OS_WIN
  // The proxy removes its stats file when it ends and writes none after: then the folder
  // can go without a late write of the proxy's keeping it.
  QFile::remove(m_dir.filePath(QStringLiteral("alive")));
  const QString stats = m_dir.filePath(QStringLiteral("stats.json"));
  for (int i = 0; i < 100 && QFile::exists(stats); ++i)
    QThread::msleep(20);
#else
  m_process.kill();
  m_process.waitForFinished(5'000);
#endif
}

LinkCounts DelayProxy::counts() const
{
  QFile f(m_dir.filePath(QStringLiteral("stats.json")));
  if (!f.open(QIODevice::ReadOnly))
    return {};
  const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
  return {o.value(QStringLiteral("connections")).toInt(), o.value(QStringLiteral("bursts")).toInt(),
          static_cast<qint64>(o.value(QStringLiteral("client_bytes")).toDouble()),
          static_cast<qint64>(o.value(QStringLiteral("server_bytes")).toDouble())};
}

} // namespace vcm::test
