#include "update/Ctl_DN.h"

#include "common/RuntimeError.h"
#include "platform/Ui.h"
#include "update/DownloadTexts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <limits>

namespace vcm {

namespace {

constexpr int kFileError = 75;  // path/file access error
constexpr int kHeaderError = 13;  // a header that is missing or not a number
constexpr int kNetworkWaitMs = 20;

const QString kNoConnection = QStringLiteral("No Connection Found!");
const QString kAbortedNoConnection = QStringLiteral("Download aborted, no connection present!");

QString statusOf(const QString& headers) { return headers.mid(9, 3); }
QString protocolOf(const QString& headers) { return headers.mid(5, 3); }

} // namespace

Ctl_DN::Ctl_DN() : m_connectedState(&internetConnectedState)
{
  ReadProperties({});
  m_clock.start();
}

void Ctl_DN::propertyChanged(const char* name)
{
  if (m_events.PropertyChanged)
    m_events.PropertyChanged(QLatin1String(name));
}

void Ctl_DN::SetUrl(const QString& url)
{
  m_url = url;
  propertyChanged("Url");
}

void Ctl_DN::SetCHUNK(qint32 bytes)
{
  m_chunk = bytes;
  propertyChanged("CHUNK");
}

void Ctl_DN::SetSaveLocation(const QString& path)
{
  m_saveLocation = path;
  propertyChanged("SaveLocation");
}

void Ctl_DN::SetKeepType(bool keep)
{
  m_keepType = keep;
  propertyChanged("KeepType");
}

void Ctl_DN::SetOnlineCheck(bool check)
{
  m_onlineCheck = check;
  propertyChanged("OnlineCheck");
}

void Ctl_DN::SetPromptOverwrite(bool prompt)
{
  m_promptOverwrite = prompt;
  propertyChanged("PromptOverwrite");
}

void Ctl_DN::SetROLLBACK(qint32 value)
{
  m_rollback = value;
  propertyChanged("ROLLBACK");
}

void Ctl_DN::ReadProperties(const QVariantMap& bag)
{
  m_url = bag.value(QStringLiteral("URL"), QString()).toString();
  m_chunk = bag.value(QStringLiteral("CHUNK"), 1024).toInt();
  m_saveLocation = bag.value(QStringLiteral("SaveLocation"), QString()).toString();
  m_keepType = bag.value(QStringLiteral("KeepType"), false).toBool();
  m_onlineCheck = bag.value(QStringLiteral("OnlineCheck"), false).toBool();
  m_promptOverwrite = bag.value(QStringLiteral("PromptOverwrite"), false).toBool();
}

QVariantMap Ctl_DN::WriteProperties() const
{
  QVariantMap bag;
  const auto put = [&bag](const char* key, const QVariant& value, const QVariant& standard) {
    if (value != standard)
      bag.insert(QLatin1String(key), value);
  };
  put("URL", m_url, QString());
  put("CHUNK", m_chunk, 1024);
  put("SaveLocation", m_saveLocation, QString());
  put("KeepType", m_keepType, false);
  put("OnlineCheck", m_onlineCheck, false);
  put("PromptOverwrite", m_promptOverwrite, false);
  return bag;
}

void Ctl_DN::Resize(int, int)
{
  m_height = SizeTwips;
  m_width = SizeTwips;
}

void Ctl_DN::setConnectedStateSource(std::function<ConnectedState()> source)
{
  m_connectedState = std::move(source);
}

void Ctl_DN::raiseText(const std::function<void(QString&)>& handler, const QString& text)
{
  if (handler) {
    QString argument = text;
    handler(argument);
  }
}

void Ctl_DN::raiseCode(qint32 code)
{
  if (m_events.DLECode)
    m_events.DLECode(code);
}

float Ctl_DN::secondsSinceStart() const
{
  return float(m_clock.elapsed() / 1000.0) - m_startTime;
}

bool Ctl_DN::runOnlineCheck()
{
  const ConnectedState state = m_connectedState();
  if (state.flags & ConnectedState::Modem)
    raiseText(m_events.ConnectionState, QStringLiteral("Connected Via Modem."));
  if (state.flags & ConnectedState::Lan)
    raiseText(m_events.ConnectionState, QStringLiteral("Connected Via LAN."));
  if (state.flags & ConnectedState::Proxy)
    raiseText(m_events.ConnectionState, QStringLiteral("Connected Through A Proxy."));
  return state.connected;
}

bool Ctl_DN::refuseWithoutConnection()
{
  if (!m_onlineCheck || m_connected)
    return false;
  raiseCode(5);
  error(kNoConnection);
  status(kAbortedNoConnection);
  m_fetch.cancel();
  return true;
}

void Ctl_DN::waitForHeaders()
{
  while (m_fetch.stillExecuting()) {
    m_fetch.wait(kNetworkWaitMs);
    ui().pumpEvents();
  }
}

void Ctl_DN::cancelledBeforeBody()
{
  m_cancelRequested = false;
  raiseCode(4);
  status(QStringLiteral("cancelled."));
}

void Ctl_DN::GetFileInformation()
{
  m_cancelRequested = false;
  if (m_onlineCheck) {
    if (!runOnlineCheck()) {
      ui().message(QStringLiteral("You are not currently connected to the internet!\n"
                                  "The download will be aborted!"),
                   QCoreApplication::applicationName(), Icon::None, Buttons::Ok);
      m_connected = false;
      raiseCode(5);
      error(kNoConnection);
      status(kAbortedNoConnection);
      return;
    }
    m_connected = true;
  }
  try {
    m_fetch.start(m_url);
    status(QStringLiteral("Initiating Connection."));
    waitForHeaders();
    status(QStringLiteral("Connection Accepted, Retrieving File Information."));
    if (m_cancelRequested) {
      cancelledBeforeBody();
      return;
    }
    takeResponse();
  } catch (const RuntimeError&) {
    error(QStringLiteral("Error Reading File Headers."));
    status(QStringLiteral("Error Reading File Headers!"));
    raiseCode(3);
  }
}

void Ctl_DN::takeResponse()
{
  const QString headers = m_fetch.headersText();
  const QString code = statusOf(headers);
  if (code == QLatin1String("401")) {
    status(QStringLiteral("Unauthorized Access, Download Terminated!"));
    raiseCode(401);
    error(QStringLiteral("Unauthorized Access!"));
    m_resumeSupported = false;
    m_fetch.cancel();
    m_fileExists = true;
    m_fileSize = 0;
  } else if (code == QLatin1String("403")) {
    status(QStringLiteral("Access Denied, Download Terminated!"));
    raiseCode(403);
    error(QStringLiteral("Access Denied!"));
    m_resumeSupported = false;
    m_fileExists = true;
    m_fileSize = 0;
    m_fetch.cancel();
  } else if (code == QLatin1String("404")) {
    error(QStringLiteral("File Not Found!"));
    status(QStringLiteral("File Not Found!"));
    raiseCode(2);
    m_fileExists = false;
    m_fileSize = 0;
    m_fetch.cancel();
  } else if (m_cancelRequested) {
    cancelledBeforeBody();
  } else {
    // Every other status counts as an answer with a body.
    m_resumeSupported = protocolOf(headers) == QLatin1String("1.1");
    m_fileExists = true;
    // One second back, so that the first rate never divides by zero.
    m_startTime = float(m_clock.elapsed() / 1000.0) - 1.0f;
    m_fileSize = contentLength();
    status(QStringLiteral("Retrieving File Information Complete!"));
  }
}

qint32 Ctl_DN::contentLength() const
{
  const QString text = m_fetch.header(QStringLiteral("Content-Length"));
  bool ok = false;
  const qint64 value = text.toLongLong(&ok);
  if (!ok || value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
    throw RuntimeError(kHeaderError, QStringLiteral("Content-Length: ") + text);
  return qint32(value);
}

QString Ctl_DN::overwriteTarget(const QString& target)
{
  if (ui().message(QStringLiteral("Would you like to overwrite the file at: ") + target +
                       QStringLiteral(" ?"),
                   QStringLiteral("Overwrite?"), Icon::Information, Buttons::YesNo) == Answer::Yes) {
    QFile::remove(target);
    return target;
  }
  for (;;) {
    const QString answer =
        ui().inputText(QStringLiteral("Please type in a new file path and name.\nExample: C:\\File2.txt"),
                       QStringLiteral("New File..."), target);
    if (answer.isEmpty()) {
      ui().message(QStringLiteral("You didn't specify a file!"), QStringLiteral("Error!"),
                   Icon::Exclamation, Buttons::Ok);
      continue;
    }
    if (answer != target)
      return answer;
    if (ui().message(QStringLiteral("You typed in the same file! Would you like type in a different file?"),
                     QStringLiteral("Try Again?"), Icon::Critical, Buttons::YesNo) != Answer::Yes)
      return target;
  }
}

void Ctl_DN::prepareTarget(QString& target)
{
  if (m_keepType)
    target = download::keepTypeTarget(m_url, target);
  if (!QFileInfo::exists(target))
    return;
  if (m_promptOverwrite)
    target = overwriteTarget(target);
  else
    QFile::remove(target);
}

void Ctl_DN::openTarget(QFile& file, const QString& path, bool append)
{
  file.setFileName(path);
  // Every chunk goes to the file as it arrives; the file's own small buffer only joins
  // them into fewer system calls. A file kept after the overwrite question is truncated:
  // a shorter download must not leave old bytes behind.
  const QIODevice::OpenMode mode =
      QIODevice::WriteOnly | (append ? QIODevice::Append : QIODevice::Truncate);
  if (!file.open(mode))
    throw RuntimeError(kFileError, file.errorString());
  status(QStringLiteral("Opening ") + path + QStringLiteral(" For DATA Input."));
  m_inDL = true;
}

Ctl_DN::LoopEnd Ctl_DN::transfer(QFile& file, qint32 existing)
{
  QByteArray chunk;
  qint32 received = 0;
  qsizetype read = 0;
  const auto idle = [] { ui().pumpEvents(); };
  do {
    if (m_cancelRequested) {
      m_cancelRequested = false;
      return LoopEnd::Cancelled;
    }
    read = m_fetch.readChunk(chunk, m_chunk, idle);
    if (read > 0 && file.write(chunk) != read)
      throw RuntimeError(kFileError, file.errorString());
    received += qint32(read);
    const qint32 inFile = existing + received;
    const float rate = float(received) / secondsSinceStart();
    const float secondsLeft = float(m_fileSize - inFile) / rate;
    // The texts are made only for a host that listens: formatting them for every
    // kilobyte would cost more than the transfer itself.
    if (m_events.Rate)
      raiseText(m_events.Rate, download::rateText(rate));
    if (m_events.TimeLeft)
      raiseText(m_events.TimeLeft, download::timeLeftText(secondsLeft));
    if (m_events.RecievedBytes) {
      qint32 bytes = inFile;
      m_events.RecievedBytes(bytes);
    }
    if (m_events.Percent) {
      qint32 percent = download::percentOf(inFile, m_fileSize);
      m_events.Percent(percent);
    }
    status(QStringLiteral("Recieving File, Inputting DATA to File."));
    while (m_paused) {
      ui().pause(kNetworkWaitMs);
      status(QStringLiteral("Paused."));
    }
  } while (read > 1);
  return LoopEnd::Complete;
}

void Ctl_DN::finishTransfer(QFile& file, LoopEnd end)
{
  file.close();
  m_inDL = false;
  if (end == LoopEnd::Cancelled) {
    m_fetch.cancel();
    raiseCode(4);
    status(QStringLiteral("Cancelled."));
    return;
  }
  if (m_events.DLComplete)
    m_events.DLComplete();
  status(QStringLiteral("Download Successful!"));
  m_fetch.cancel();
}

void Ctl_DN::transferFailed(QFile& file)
{
  file.close();
  m_inDL = false;
  error(QStringLiteral("Error Downloading File from : ") + m_url);
  status(QStringLiteral("Download Aborted Due To Error In Download!"));
  raiseCode(1);
  m_fetch.cancel();
}

void Ctl_DN::DownLoad()
{
  if (m_cancelRequested || refuseWithoutConnection())
    return;
  QString target = m_saveLocation;
  QFile file;
  try {
    prepareTarget(target);
    openTarget(file, target, false);
    finishTransfer(file, transfer(file, 0));
  } catch (const RuntimeError&) {
    transferFailed(file);
  }
}

void Ctl_DN::DLResume()
{
  if (m_cancelRequested || refuseWithoutConnection())
    return;
  const QString path = m_saveLocation;
  if (!QFileInfo::exists(path)) {
    error(QStringLiteral("Resume File Not Found!"));
    raiseCode(6);
    status(QStringLiteral("Resume File Not Found, Aborting Download!"));
    return;
  }
  const auto notSupported = [this] {
    error(QStringLiteral("Resume Not Supported!"));
    raiseCode(7);
    status(QStringLiteral("Resume NotSupported, Aborting Download!"));
  };
  if (!m_resumeSupported) {
    notSupported();
    return;
  }
  QFile file;
  try {
    const qint32 existing = qint32(QFileInfo(path).size());
    m_fetch.start(m_url, "Range: bytes=" + QByteArray::number(existing) + '-');
    waitForHeaders();
    // Anything but the asked-for rest (the whole file again, an error page) would be
    // appended to the bytes already there and spoil the file.
    const QString headers = m_fetch.headersText();
    if (!headers.isEmpty() && statusOf(headers) != QLatin1String("206")) {
      m_fetch.cancel();
      notSupported();
      return;
    }
    openTarget(file, path, true);
    finishTransfer(file, transfer(file, existing));
  } catch (const RuntimeError&) {
    transferFailed(file);
  }
}

void Ctl_DN::Cancel()
{
  m_cancelRequested = true;
  status(QStringLiteral("Cancelling.."));
}

void Ctl_DN::Pause(bool paused)
{
  m_paused = paused;
  if (!paused)
    status(QStringLiteral("Unpausing"));
}

void Ctl_DN::GetFileInformationFirst(const QList<HttpAddress>& addresses, TlsMode mode,
                                     const TransportSecurity& trust)
{
  SetTls(mode, trust);
  for (const HttpAddress& address : addresses) {
    SetUrl(address.url);
    GetFileInformation();
    if (FileSize() > 0 || !mayFallBackToClear(TransportResult(), trust))
      return;
  }
}

} // namespace vcm
