#pragma once

#include "common/db/Connection.h"
#include "common/db/RecordSet.h"

#include <QStringList>

#include <functional>
#include <memory>

namespace vcm {

/// Opens Session.Connection with Session.ConnectionString (a new connection object each
/// time), then lets pending interface events run. On failure it tries once more at once
/// with another new object; the second failure is thrown to the caller unchanged.
void g_Open_MainConn();

/// Called after every successful g_Open_MainConn with how the link is protected (the
/// main window shows it on its status line). One observer; an empty function removes it.
void setDbLinkObserver(std::function<void(const DbLinkProtection&)> observer);

/// Closes and drops Session.Connection. When closing fails, shows the close-failure
/// notice and the standard error notice; the failed object is kept.
void g_Nothing_MainConn();

/// While alive, an operation run inside another one (a save's reload of the month) uses
/// the connection the outer operation holds open: one connection, no second set-up
/// across a slow link. Nothing changes when no connection is open.
class SharedMainConn {
public:
  /// `share` false makes the guard do nothing (the caller decided against sharing).
  explicit SharedMainConn(bool share = true) : m_share(share) { s_depth += m_share; }
  ~SharedMainConn() { s_depth -= m_share; }
  SharedMainConn(const SharedMainConn&) = delete;
  SharedMainConn& operator=(const SharedMainConn&) = delete;
  /// True inside a SharedMainConn while Session.Connection is open.
  static bool joinable();

private:
  static inline int s_depth = 0;
  int m_share;
};

/// The session's connection for one operation. It is closed with g_Nothing_MainConn
/// exactly once, by close() or at the end of the scope, on every path (opening failed
/// included, as the operations always close after trying). Call close() where a notice
/// must come after the close.
class MainConnScope {
public:
  MainConnScope() = default;
  ~MainConnScope() { close(); }
  MainConnScope(const MainConnScope&) = delete;
  MainConnScope& operator=(const MainConnScope&) = delete;

  /// g_Open_MainConn: throws its second failure. Inside a SharedMainConn the scope
  /// joins the connection that is already open instead, and leaves closing it to the
  /// operation that opened it.
  void open()
  {
    if (SharedMainConn::joinable()) {
      m_joined = true;
      return;
    }
    g_Open_MainConn();
  }
  void close()
  {
    if (!m_closed) {
      m_closed = true;
      if (!m_joined)
        g_Nothing_MainConn();
    }
  }

private:
  bool m_joined = false;
  bool m_closed = false;
};

/// Closes (when open) and empties a record set variable. Leaves "g_Rs_Nothing" as the
/// current procedure.
void g_Rs_Nothing(std::unique_ptr<RecordSet>& rs);

/// As g_Rs_Nothing, but removes the record set's filter first.
void g_Rs_Nothing_Filter(std::unique_ptr<RecordSet>& rs);

/// Opens a static, read-only record set on Session.Connection (throws when it is not open).
std::unique_ptr<RecordSet> openRecordSet(const QString& sql);

/// openRecordSet in two halves, for a caller that works while the server computes.
void sendQuery(const QString& sql);
std::unique_ptr<RecordSet> receiveRecordSet();

/// Executes a write statement on Session.Connection; returns the number of rows it matched.
qint64 executeSql(const QString& sql);

/// Executes write statements on Session.Connection in order, a few exchanges for any
/// number of them, calling `written(index, rows matched)` as each one's result arrives. The first
/// failing statement is thrown after the results before it; those after it were not
/// run (Connection::executeBatch).
void executeSqlBatch(const QStringList& statements,
                     const std::function<void(int index, qint64 matched)>& written);

} // namespace vcm
