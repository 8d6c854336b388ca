#pragma once

#include "platform/ConnectedState.h"
#include "common/CurlTls.h"
#include "update/HttpFetch.h"

#include <QElapsedTimer>
#include <QString>
#include <QVariantMap>

#include <functional>

class QFile;

namespace vcm {

/// Handlers the host sets for the downloader's events; unset handlers are skipped.
/// Arguments are references, as the host may change them. Every property write reports
/// the property's name through PropertyChanged.
struct Ctl_DNEvents {
  std::function<void()> DLComplete;
  std::function<void(QString& text)> DLError;
  /// 1 transfer error, 2 status 404, 3 header error, 4 cancelled, 5 no connection,
  /// 6 resume file missing, 7 resume not supported, 401 and 403 the statuses.
  std::function<void(qint32& code)> DLECode;
  std::function<void(qint32& bytes)> RecievedBytes;
  std::function<void(qint32& percent)> Percent;
  std::function<void(QString& text)> StatusChange;
  std::function<void(QString& text)> Rate;
  std::function<void(QString& text)> TimeLeft;
  std::function<void(QString& text)> ConnectionState;
  std::function<void(const QString& name)> PropertyChanged;
};

/// The downloader control: fetches one file over HTTP into a local file and tells its
/// host through events what it is doing. Non-visual; it runs entirely on the interface
/// thread and lets events run while it waits for the network and after every chunk, so
/// a host handler may call Cancel or Pause in the middle of a fetch.
///
///   dn.SetUrl(url); dn.GetFileInformation();      // one GET; headers read, body waits
///   if (dn.FileSize() > 0) { dn.SetSaveLocation(path); dn.DownLoad(); }
///
/// Failures are reported through DLError, DLECode and StatusChange, never by a result.
class Ctl_DN {
public:
  /// Fixed size in twips, whatever the host asks for.
  static constexpr int SizeTwips = 480;

  Ctl_DN();

  Ctl_DNEvents& events() { return m_events; }

  QString Url() const { return m_url; }
  void SetUrl(const QString& url);
  /// TLS settings for an https Url.
  void SetTls(TlsMode mode, const TransportSecurity& trust) { m_fetch.setTls(mode, trust); }
  /// curl's result of the last fetch (0 when it succeeded or none ended yet).
  int TransportResult() const { return m_fetch.result(); }

  /// GetFileInformation on each address in turn (Url is set to it) until one announces
  /// a size. A failed HTTPS address is followed by the next one (plain HTTP under
  /// Preferred) unless a CA or pin in `trust` rejected the certificate.
  void GetFileInformationFirst(const QList<HttpAddress>& addresses, TlsMode mode,
                               const TransportSecurity& trust);
  qint32 CHUNK() const { return m_chunk; }
  void SetCHUNK(qint32 bytes);
  QString SaveLocation() const { return m_saveLocation; }
  void SetSaveLocation(const QString& path);
  bool KeepType() const { return m_keepType; }
  void SetKeepType(bool keep);
  bool OnlineCheck() const { return m_onlineCheck; }
  void SetOnlineCheck(bool check);
  bool PromptOverwrite() const { return m_promptOverwrite; }
  void SetPromptOverwrite(bool prompt);
  /// Stored only; no operation looks at it.
  qint32 ROLLBACK() const { return m_rollback; }
  void SetROLLBACK(qint32 value);

  qint32 FileSize() const { return m_fileSize; }
  bool FileExists() const { return m_fileExists; }
  bool Connected() const { return m_connected; }
  bool InDL() const { return m_inDL; }
  /// Part of the interface, false in every state: no host reads them.
  bool ResumeSupported() const { return false; }
  bool AResume() const { return false; }
  bool CPause() const { return false; }
  bool CCancel() const { return false; }

  /// Loads a saved design (keys URL, CHUNK, SaveLocation, KeepType, OnlineCheck,
  /// PromptOverwrite); a missing key gives the default. An empty bag is a new control.
  void ReadProperties(const QVariantMap& bag);
  /// The design to save: only the values that differ from their defaults.
  QVariantMap WriteProperties() const;

  /// The host resizes the control; it keeps 480 × 480 twips.
  void Resize(int widthTwips, int heightTwips);
  int Width() const { return m_width; }
  int Height() const { return m_height; }

  /// Starts the GET of Url and reads its response headers: FileSize, FileExists.
  void GetFileInformation();
  /// Writes the body of that response to SaveLocation, chunk by chunk.
  void DownLoad();
  /// Continues the partial file at SaveLocation with a Range request for the rest.
  void DLResume();
  void Cancel();
  void Pause(bool paused);

  /// Replaces the system's connection state for the online check (tests).
  void setConnectedStateSource(std::function<ConnectedState()> source);

private:
  enum class LoopEnd { Complete, Cancelled };

  void propertyChanged(const char* name);
  void raiseText(const std::function<void(QString&)>& handler, const QString& text);
  void raiseCode(qint32 code);
  void status(const QString& text) { raiseText(m_events.StatusChange, text); }
  void error(const QString& text) { raiseText(m_events.DLError, text); }

  bool runOnlineCheck();
  bool refuseWithoutConnection();
  void waitForHeaders();
  void cancelledBeforeBody();
  void takeResponse();
  qint32 contentLength() const;
  QString overwriteTarget(const QString& target);
  void prepareTarget(QString& target);
  void openTarget(QFile& file, const QString& path, bool append);
  LoopEnd transfer(QFile& file, qint32 existing);
  void finishTransfer(QFile& file, LoopEnd end);
  void transferFailed(QFile& file);
  float secondsSinceStart() const;

  Ctl_DNEvents m_events;
  HttpFetch m_fetch;
  std::function<ConnectedState()> m_connectedState;

  QString m_url;
  qint32 m_chunk = 1024;
  QString m_saveLocation;
  bool m_keepType = false;
  bool m_onlineCheck = false;
  bool m_promptOverwrite = false;
  qint32 m_rollback = 0;
  qint32 m_fileSize = 0;
  bool m_fileExists = false;
  bool m_connected = false;
  bool m_inDL = false;
  int m_width = SizeTwips;
  int m_height = SizeTwips;

  bool m_cancelRequested = false;
  bool m_paused = false;
  bool m_resumeSupported = false;
  QElapsedTimer m_clock;
  float m_startTime = 0;
};

} // namespace vcm
