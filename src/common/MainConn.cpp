#include "common/MainConn.h"

#include "common/ErrMsg.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "platform/Ui.h"

namespace vcm {

namespace {

std::function<void(const DbLinkProtection&)>& linkObserver()
{
  static std::function<void(const DbLinkProtection&)> observer;
  return observer;
}

DbTlsOptions sessionDbTls()
{
  return {Session.Tls.db, Session.Tls.caFile, Session.Tls.pinnedSha256};
}

void openOnce(const QDeadlineTimer& deadline)
{
  Session.Connection = std::make_unique<Connection>();
  Session.Connection->setHiddenTexts({Session.CryptKey, Session.InfoCryptKey});
  Session.Connection->setTls(sessionDbTls());
  Session.Connection->open(Session.ConnectionString, deadline);
  Session.DbLink = Session.Connection->protection();
  if (linkObserver())
    linkObserver()(Session.DbLink);
}

Connection& requireConnection()
{
  if (!Session.Connection)
    throw RuntimeError(errors::kObjectClosed,
                       QStringLiteral("개체가 닫혀 있으면 작업이 허용되지 않습니다."));
  return *Session.Connection;
}

} // namespace

void setDbLinkObserver(std::function<void(const DbLinkProtection&)> observer)
{
  linkObserver() = std::move(observer);
}

bool SharedMainConn::joinable()
{
  return s_depth > 0 && Session.Connection && Session.Connection->isOpen();
}

void g_Open_MainConn()
{
  // Both attempts share one limit: a server that does not answer costs the member
  // 15 seconds, not twice that.
  const QDeadlineTimer deadline(Connection::kConnectLimitMs);
  try {
    openOnce(deadline);
  } catch (const RuntimeError&) {
    // One immediate retry with a fresh object; its failure travels to the caller.
    openOnce(deadline);
  }
  ui().pumpEvents();
}

void g_Nothing_MainConn()
{
  if (!Session.Connection)
    return;
  try {
    Session.Connection->close();
    Session.Connection.reset();
  } catch (const RuntimeError& e) {
    notice(QStringLiteral("연결종료시 오류가 발생하였습니다. 잠시 후 다시 시도하세요."),
           Icon::Exclamation);
    g_Err_Msg(e, QStringLiteral("g_Nothing_MainConn"));
  }
}

namespace {

void releaseRecordSet(std::unique_ptr<RecordSet>& rs, bool removeFilter)
{
  // Both routines leave this name as the current procedure, as callers' notices show it.
  Session.CurrentProcedure = QStringLiteral("g_Rs_Nothing");
  try {
    if (rs) {
      if (removeFilter && rs->isOpen())
        rs->removeFilter();
      if (rs->isOpen())
        rs->close();
      rs.reset();
    }
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, QStringLiteral("Sub"));
  }
}

} // namespace

void g_Rs_Nothing(std::unique_ptr<RecordSet>& rs)
{
  releaseRecordSet(rs, false);
}

void g_Rs_Nothing_Filter(std::unique_ptr<RecordSet>& rs)
{
  releaseRecordSet(rs, true);
}

std::unique_ptr<RecordSet> openRecordSet(const QString& sql)
{
  return requireConnection().openRecordSet(sql);
}

void sendQuery(const QString& sql)
{
  requireConnection().sendQuery(sql);
}

std::unique_ptr<RecordSet> receiveRecordSet()
{
  return requireConnection().receiveRecordSet();
}

qint64 executeSql(const QString& sql)
{
  return requireConnection().execute(sql);
}

void executeSqlBatch(const QStringList& statements, const std::function<void(int, qint64)>& written)
{
  Connection& connection = requireConnection();
  // The first few statements go in a small exchange of their own, the bulk only once
  // they are confirmed: a connection or a server that fails at once then leaves at most
  // those few rows unconfirmed rather than the whole save.
  constexpr int kFirstExchange = 3;
  const int first = qMin(kFirstExchange, static_cast<int>(statements.size()));
  if (first > 0)
    connection.executeBatch(statements.mid(0, first),
                            [&](int i, Connection::StatementResult& r) { written(i, r.affected); });
  if (first < statements.size())
    connection.executeBatch(statements.mid(first),
                            [&](int i, Connection::StatementResult& r) { written(first + i, r.affected); });
}

} // namespace vcm
