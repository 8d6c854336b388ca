#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

namespace vcm {

/// Writer of a compound document (the container of Office 97-2003 files): version 3,
/// 512-byte sectors, one root storage holding streams. Streams shorter than 4096 bytes
/// go into the short-stream area (64-byte sectors), as readers expect; the sector
/// allocation table grows extension sectors when it no longer fits the header.
class CompoundFile {
public:
  /// Adds a stream whose content is `parts` one after the other (kept, not copied:
  /// QByteArray shares its data).
  void addStream(const QString& name, QList<QByteArray> parts);

  /// Writes the whole document. False when the device refuses a write.
  bool write(QIODevice& out) const;

private:
  struct Stream {
    QString name;
    QList<QByteArray> parts;
    quint64 size = 0;
  };
  QList<Stream> m_streams;
};

} // namespace vcm
