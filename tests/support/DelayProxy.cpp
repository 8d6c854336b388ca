#include "support/DelayProxy.h"

#include "support/TestBackend.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace vcm::test {

DelayProxy::DelayProxy(int targetPort, double delayMs)
{
  if (!m_dir.isValid())
    throw BackendError("cannot create a folder for the delaying proxy");
  QString stats = m_dir.filePath(QStringLiteral("stats.json"));
#ifdef Q_OS_WIN
  if (stats.startsWith(QStringLiteral("Z:"), Qt::CaseInsensitive))
    stats = stats.mid(2); // the host's own name for the file
#endif
  m_process.setProgram(QStringLiteral(VCM_SYSTEM_PYTHON));
  m_process.setArguments({QStringLiteral(VCM_DELAY_PROXY_SCRIPT), QStringLiteral("--target-port"),
                          QString::number(targetPort), QStringLiteral("--delay-ms"),
                          QString::number(delayMs), QStringLiteral("--stats"), stats,
                          QStringLiteral("--lifetime"),
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
}

DelayProxy::~DelayProxy()
{
  m_process.kill();
  m_process.waitForFinished(5'000);
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
