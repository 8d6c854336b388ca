// The downloader control against the real HTTP peer.
#include "update/Ctl_DN.h"

#include "platform/ScriptedUi.h"
#include "support/TestBackend.h"
#include "update/UpdateTestSupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vcm {
namespace {

/// Every event of a control as one line, in the order raised.
struct EventLog {
  QStringList lines;
  QList<qint32> bytes;

  void attach(Ctl_DN& dn)
  {
    auto& e = dn.events();
    e.DLComplete = [this] { lines << QStringLiteral("complete"); };
    e.DLError = [this](QString& t) { lines << QStringLiteral("error:") + t; };
    e.DLECode = [this](qint32& c) { lines << QStringLiteral("code:%1").arg(c); };
    e.StatusChange = [this](QString& t) { lines << QStringLiteral("status:") + t; };
    e.ConnectionState = [this](QString& t) { lines << QStringLiteral("conn:") + t; };
    e.RecievedBytes = [this](qint32& b) { bytes << b; };
  }
  QStringList without(const QString& prefix) const
  {
    QStringList out;
    for (const QString& l : lines)
      if (!l.startsWith(prefix))
        out << l;
    return out;
  }
};

using test::fileBytes;

void writeFile(const QString& path, const QByteArray& bytes)
{
  ASSERT_TRUE(test::writeFileBytes(path, bytes)) << path.toStdString();
}

class CtlDnTest : public test::HttpPeerTest {
protected:
  void SetUp() override
  {
    HttpPeerTest::SetUp();
    if (setUpStopped())
      return;
    QRandomGenerator rng(1500);
    m_small.resize(1500);
    for (char& c : m_small)
      c = char(rng.generate());
    writeFile(be->httpRoot() + QStringLiteral("/dn1500.exe"), m_small);
    log.attach(dn);
  }

  QString url(const QString& name) const
  {
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(be->httpPort()).arg(name);
  }
  QString local(const QString& name) const { return m_dir.filePath(name); }

  /// Requests of the HTTP peer so far.
  int httpRequests() const
  {
    return int(fileBytes(be->value(QStringLiteral("HTTP_LOG"))).count('\n'));
  }

  void fetch(const QString& name, const QString& target)
  {
    dn.SetUrl(url(name));
    dn.GetFileInformation();
    dn.SetSaveLocation(target);
    dn.DownLoad();
  }

  ScopedScriptedUi ui;
  QByteArray m_small;
  Ctl_DN dn;
  EventLog log;
};

const QString Initiating = QStringLiteral("status:Initiating Connection.");
const QString Accepted = QStringLiteral("status:Connection Accepted, Retrieving File Information.");

TEST_F(CtlDnTest, HeaderOutcomes)
{
  const struct {
    int status;
    bool noLength;
    QStringList events;
    qint32 size;
    bool exists;
  } cases[] = {
      {404, false, {QStringLiteral("error:File Not Found!"), QStringLiteral("status:File Not Found!"),
                    QStringLiteral("code:2")}, 0, false},
      {401, false, {QStringLiteral("status:Unauthorized Access, Download Terminated!"),
                    QStringLiteral("code:401"), QStringLiteral("error:Unauthorized Access!")}, 0, true},
      {403, false, {QStringLiteral("status:Access Denied, Download Terminated!"),
                    QStringLiteral("code:403"), QStringLiteral("error:Access Denied!")}, 0, true},
      // Any other status with a length is an answer with a body.
      {500, false, {QStringLiteral("status:Retrieving File Information Complete!")},
       qint32(QByteArray("<html><body>500</body></html>").size()), true},
      // Without a length the size stays what the previous fetch found.
      {0, true, {QStringLiteral("error:Error Reading File Headers."),
                 QStringLiteral("status:Error Reading File Headers!"), QStringLiteral("code:3")}, 1500, true},
  };
  for (const auto& c : cases) {
    Ctl_DN control;
    EventLog events;
    events.attach(control);
    control.SetUrl(url(QStringLiteral("dn1500.exe")));
    control.GetFileInformation();  // a first, plain fetch: 1500 bytes
    ASSERT_EQ(control.FileSize(), 1500);
    events.lines.clear();
    test::HttpBehaviour behaviour;
    behaviour.status = c.status;
    behaviour.noContentLength = c.noLength;
    be->setHttp(behaviour);
    control.GetFileInformation();
    be->resetHttp();
    EXPECT_EQ(events.lines, QStringList({Initiating, Accepted}) + c.events) << c.status;
    EXPECT_EQ(control.FileSize(), c.size) << c.status;
    EXPECT_EQ(control.FileExists(), c.exists) << c.status;
  }
}

TEST_F(CtlDnTest, BodyArrivesChunkByChunk)
{
  QStringList order;
  auto& e = dn.events();
  e.Rate = [&](QString&) { order << QStringLiteral("rate"); };
  e.TimeLeft = [&](QString&) { order << QStringLiteral("left"); };
  e.Percent = [&](qint32& p) { order << QStringLiteral("percent:%1").arg(p); };
  fetch(QStringLiteral("dn1500.exe"), local(QStringLiteral("a.exe")));

  EXPECT_EQ(log.bytes, QList<qint32>({1024, 1500, 1500}));
  EXPECT_EQ(order.mid(0, 4), QStringList({QStringLiteral("rate"), QStringLiteral("left"),
                                          QStringLiteral("percent:68"), QStringLiteral("rate")}));
  EXPECT_EQ(log.lines.mid(log.lines.size() - 2),
            QStringList({QStringLiteral("complete"), QStringLiteral("status:Download Successful!")}));
  EXPECT_TRUE(log.lines.contains(QStringLiteral("status:Opening ") + local(QStringLiteral("a.exe")) +
                                 QStringLiteral(" For DATA Input.")));
  EXPECT_EQ(fileBytes(local(QStringLiteral("a.exe"))), m_small);
  EXPECT_FALSE(dn.InDL());
}

TEST_F(CtlDnTest, ExistingTargetWithoutPromptIsReplacedAndKeepTypeRenames)
{
  writeFile(local(QStringLiteral("old.exe")), QByteArray(4000, 'x'));
  fetch(QStringLiteral("dn1500.exe"), local(QStringLiteral("old.exe")));
  EXPECT_EQ(fileBytes(local(QStringLiteral("old.exe"))), m_small);
  EXPECT_TRUE(ui->messages.isEmpty());

  dn.SetKeepType(true);
  fetch(QStringLiteral("dn1500.exe"), local(QStringLiteral("kept.tmp")));
  EXPECT_EQ(fileBytes(local(QStringLiteral("kept.exe"))), m_small);
  EXPECT_FALSE(QFile::exists(local(QStringLiteral("kept.tmp"))));
}

TEST_F(CtlDnTest, PromptOverwriteAnswers)
{
  const QString target = local(QStringLiteral("t.exe"));
  const QString other = local(QStringLiteral("other.exe"));
  const struct {
    const char* what;
    QList<Answer> answers;
    QStringList inputs;
    QStringList titles;
    QString written;
  } cases[] = {
      {"yes", {Answer::Yes}, {}, {QStringLiteral("Overwrite?")}, target},
      {"empty, then another name", {Answer::No, Answer::Ok}, {QString(), other},
       {QStringLiteral("Overwrite?"), QStringLiteral("Error!")}, other},
      {"same name, keep it", {Answer::No, Answer::No}, {target},
       {QStringLiteral("Overwrite?"), QStringLiteral("Try Again?")}, target},
      {"same name, try again", {Answer::No, Answer::Yes}, {target, other},
       {QStringLiteral("Overwrite?"), QStringLiteral("Try Again?")}, other},
  };
  dn.SetPromptOverwrite(true);
  for (const auto& c : cases) {
    QFile::remove(other);
    writeFile(target, QByteArray(4000, 'x'));
    ui->clear();
    ui->answers = QQueue<Answer>(c.answers);
    ui->inputAnswers = QQueue<QString>(c.inputs);
    fetch(QStringLiteral("dn1500.exe"), target);
    QStringList titles;
    for (const auto& m : ui->messages)
      titles << m.title;
    EXPECT_EQ(titles, c.titles) << c.what;
    EXPECT_EQ(fileBytes(c.written), m_small) << c.what;
    if (c.written != target) {
      EXPECT_EQ(fileBytes(target), QByteArray(4000, 'x')) << c.what;
    }
  }
  EXPECT_EQ(ui->messages.last().text,
            QStringLiteral("You typed in the same file! Would you like type in a different file?"));
}

TEST_F(CtlDnTest, CancelDuringHeadersAndDuringTransfer)
{
  ui->onPump = [&] {
    if (!log.lines.contains(QStringLiteral("status:Cancelling..")))
      dn.Cancel();
  };
  dn.SetUrl(url(QStringLiteral("dn1500.exe")));
  dn.GetFileInformation();
  EXPECT_EQ(log.without(QStringLiteral("status:Cancelling")).mid(2),
            QStringList({QStringLiteral("code:4"), QStringLiteral("status:cancelled.")}));

  ui->onPump = nullptr;
  log.lines.clear();
  dn.events().RecievedBytes = [&](qint32&) { dn.Cancel(); };
  fetch(QFileInfo(be->installerFile()).fileName(), local(QStringLiteral("c.exe")));
  EXPECT_EQ(log.lines.mid(log.lines.size() - 2),
            QStringList({QStringLiteral("code:4"), QStringLiteral("status:Cancelled.")}));
  EXPECT_EQ(QFileInfo(local(QStringLiteral("c.exe"))).size(), 1024);
  EXPECT_FALSE(dn.InDL());
}

TEST_F(CtlDnTest, PauseHoldsTheTransferUntilUnpaused)
{
  int pausedPumps = 0;
  dn.events().RecievedBytes = [&](qint32& b) {
    if (b == 1024)
      dn.Pause(true);
  };
  ui->onPump = [&] {
    if (dn.InDL() && ++pausedPumps == 3)
      dn.Pause(false);
  };
  fetch(QStringLiteral("dn1500.exe"), local(QStringLiteral("p.exe")));
  EXPECT_GE(log.lines.count(QStringLiteral("status:Paused.")), 2);
  EXPECT_EQ(log.lines.count(QStringLiteral("status:Unpausing")), 1);
  EXPECT_EQ(fileBytes(local(QStringLiteral("p.exe"))), m_small);
}

TEST_F(CtlDnTest, Resume)
{
  const QString installer = QFileInfo(be->installerFile()).fileName();
  const QString part = local(QStringLiteral("part.exe"));
  dn.SetUrl(url(installer));
  dn.SetSaveLocation(part);

  // No file to continue: nothing is asked of the server.
  const int before = httpRequests();
  dn.DLResume();
  EXPECT_EQ(log.lines, QStringList({QStringLiteral("error:Resume File Not Found!"), QStringLiteral("code:6"),
                                    QStringLiteral("status:Resume File Not Found, Aborting Download!")}));
  EXPECT_EQ(httpRequests(), before);

  // An HTTP/1.0 server cannot be asked for the rest.
  writeFile(part, m_installer.left(m_installer.size() / 2));
  test::HttpBehaviour old;
  old.protocol = QStringLiteral("HTTP/1.0");
  be->setHttp(old);
  dn.GetFileInformation();
  be->resetHttp();
  log.lines.clear();
  dn.DLResume();
  EXPECT_EQ(log.lines, QStringList({QStringLiteral("error:Resume Not Supported!"), QStringLiteral("code:7"),
                                    QStringLiteral("status:Resume NotSupported, Aborting Download!")}));

  // The rest of a half file arrives and completes it.
  dn.SetCHUNK(65536);
  dn.GetFileInformation();
  log.lines.clear();
  dn.DLResume();
  EXPECT_TRUE(log.lines.contains(QStringLiteral("complete"))) << log.lines.join('\n').toStdString();
  EXPECT_EQ(log.bytes.last(), m_installer.size());
  EXPECT_EQ(fileBytes(part), m_installer);
}

TEST_F(CtlDnTest, TransferCutMidwayIsAnError)
{
  test::HttpBehaviour cut;
  cut.dropAfter = 100000;
  be->setHttp(cut);
  const QString installer = QFileInfo(be->installerFile()).fileName();
  fetch(installer, local(QStringLiteral("cut.exe")));
  EXPECT_EQ(log.lines.mid(log.lines.size() - 3),
            QStringList({QStringLiteral("error:Error Downloading File from : ") + url(installer),
                         QStringLiteral("status:Download Aborted Due To Error In Download!"),
                         QStringLiteral("code:1")}));
  EXPECT_FALSE(log.lines.contains(QStringLiteral("complete")));
  EXPECT_EQ(QFileInfo(local(QStringLiteral("cut.exe"))).size(), 100000);
}

TEST_F(CtlDnTest, OnlineCheck)
{
  dn.SetOnlineCheck(true);
  dn.setConnectedStateSource([] { return ConnectedState{false, 0}; });
  dn.SetUrl(url(QStringLiteral("dn1500.exe")));
  dn.GetFileInformation();
  ASSERT_EQ(ui->messages.size(), 1);
  EXPECT_EQ(ui->messages[0].text, QStringLiteral("You are not currently connected to the internet!\n"
                                                 "The download will be aborted!"));
  EXPECT_EQ(ui->messages[0].icon, Icon::None);
  EXPECT_EQ(log.lines, QStringList({QStringLiteral("code:5"), QStringLiteral("error:No Connection Found!"),
                                    QStringLiteral("status:Download aborted, no connection present!")}));
  EXPECT_FALSE(dn.Connected());

  log.lines.clear();
  dn.setConnectedStateSource([] { return ConnectedState{true, ConnectedState::Lan | ConnectedState::Proxy}; });
  dn.GetFileInformation();
  EXPECT_EQ(log.lines.mid(0, 2), QStringList({QStringLiteral("conn:Connected Via LAN."),
                                              QStringLiteral("conn:Connected Through A Proxy.")}));
  EXPECT_TRUE(dn.Connected());
  EXPECT_EQ(dn.FileSize(), 1500);
}

TEST_F(CtlDnTest, PropertiesRoundTripAndReportChanges)
{
  QStringList changed;
  dn.events().PropertyChanged = [&](const QString& name) { changed << name; };
  EXPECT_TRUE(dn.WriteProperties().isEmpty());
  dn.SetUrl(QStringLiteral("http://h/x.exe"));
  dn.SetCHUNK(4096);
  dn.SetSaveLocation(QStringLiteral("/tmp/x.exe"));
  dn.SetKeepType(true);
  dn.SetOnlineCheck(true);
  dn.SetPromptOverwrite(true);
  dn.SetROLLBACK(3);
  EXPECT_EQ(changed, QStringList({"Url", "CHUNK", "SaveLocation", "KeepType", "OnlineCheck",
                                  "PromptOverwrite", "ROLLBACK"}));
  const QVariantMap bag = dn.WriteProperties();
  EXPECT_EQ(bag.keys(), QStringList({"CHUNK", "KeepType", "OnlineCheck", "PromptOverwrite",
                                     "SaveLocation", "URL"}));
  Ctl_DN copy;
  copy.ReadProperties(bag);
  EXPECT_EQ(copy.WriteProperties(), bag);
  EXPECT_EQ(copy.ROLLBACK(), 0);
  copy.Resize(2000, 100);
  EXPECT_EQ(copy.Width(), 480);
  EXPECT_EQ(copy.Height(), 480);
}

} // namespace
} // namespace vcm
