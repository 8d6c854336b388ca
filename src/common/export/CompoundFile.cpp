#include "common/export/CompoundFile.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <vector>

namespace vcm {

namespace {

constexpr quint32 FreeSect = 0xFFFFFFFF;
constexpr quint32 EndOfChain = 0xFFFFFFFE;
constexpr quint32 FatSect = 0xFFFFFFFD;
constexpr quint32 DifSect = 0xFFFFFFFC;
constexpr quint32 NoStream = 0xFFFFFFFF;
constexpr int SectorSize = 512;
constexpr int MiniSectorSize = 64;
constexpr quint64 MiniCutoff = 4096;
constexpr int EntriesPerSector = SectorSize / 4;
constexpr int HeaderDifat = 109;
constexpr int DirEntrySize = 128;

quint32 sectorsFor(quint64 bytes, int size) { return quint32((bytes + size - 1) / size); }

void put16(char* p, quint16 v) { qToLittleEndian(v, p); }
void put32(char* p, quint32 v) { qToLittleEndian(v, p); }
void put64(char* p, quint64 v) { qToLittleEndian(v, p); }

/// Appends a chain of `count` consecutive sectors starting at `first` to a table.
void chain(std::vector<quint32>& table, quint32 first, quint32 count)
{
  for (quint32 i = 0; i < count; ++i)
    table[first + i] = i + 1 < count ? first + i + 1 : EndOfChain;
}

bool writeAll(QIODevice& out, const char* data, qint64 size)
{
  return out.write(data, size) == size;
}

bool writeZeros(QIODevice& out, qint64 count)
{
  static const char zeros[SectorSize] = {};
  while (count > 0) {
    const qint64 n = std::min<qint64>(count, SectorSize);
    if (!writeAll(out, zeros, n))
      return false;
    count -= n;
  }
  return true;
}

bool writeTable(QIODevice& out, const std::vector<quint32>& table, quint32 sectors)
{
  QByteArray bytes(qsizetype(sectors) * SectorSize, '\xFF');
  for (size_t i = 0; i < table.size(); ++i)
    put32(bytes.data() + i * 4, table[i]);
  return writeAll(out, bytes.constData(), bytes.size());
}

/// Directory order: shorter names first, then by upper-cased name.
bool directoryLess(const QString& a, const QString& b)
{
  if (a.size() != b.size())
    return a.size() < b.size();
  return a.toUpper() < b.toUpper();
}

void directoryEntry(char* e, const QString& name, quint8 type, quint32 right, quint32 child,
                    quint32 start, quint64 size)
{
  const int chars = std::min<int>(name.size(), 31);
  for (int i = 0; i < chars; ++i)
    put16(e + 2 * i, name.at(i).unicode());
  put16(e + 0x40, quint16((chars + 1) * 2));
  e[0x42] = char(type);
  e[0x43] = 1; // black
  put32(e + 0x44, NoStream);
  put32(e + 0x48, right);
  put32(e + 0x4C, child);
  put32(e + 0x74, start);
  put64(e + 0x78, size);
}

} // namespace

void CompoundFile::addStream(const QString& name, QList<QByteArray> parts)
{
  Stream s{name, std::move(parts), 0};
  for (const QByteArray& p : s.parts)
    s.size += quint64(p.size());
  m_streams.append(std::move(s));
}

bool CompoundFile::write(QIODevice& out) const
{
  QList<const Stream*> order;
  for (const Stream& s : m_streams)
    order.append(&s);
  std::stable_sort(order.begin(), order.end(),
                   [](const Stream* a, const Stream* b) { return directoryLess(a->name, b->name); });

  // Place the streams: large ones in regular sectors from sector 0, short ones in the
  // short-stream area.
  std::vector<quint32> starts(size_t(order.size()));
  quint32 sector = 0;
  quint32 miniSectors = 0;
  for (int i = 0; i < order.size(); ++i) {
    const Stream& s = *order[i];
    if (s.size >= MiniCutoff) {
      starts[size_t(i)] = sector;
      sector += sectorsFor(s.size, SectorSize);
    } else {
      starts[size_t(i)] = s.size ? miniSectors : EndOfChain;
      miniSectors += sectorsFor(s.size, MiniSectorSize);
    }
  }
  const quint32 regularSectors = sector;
  const quint32 miniStreamSectors = sectorsFor(quint64(miniSectors) * MiniSectorSize, SectorSize);
  const quint32 miniFatSectors = sectorsFor(quint64(miniSectors) * 4, SectorSize);
  const quint32 dirSectors = sectorsFor(quint64(order.size() + 1) * DirEntrySize, SectorSize);
  const quint32 miniStreamStart = regularSectors;
  const quint32 miniFatStart = miniStreamStart + miniStreamSectors;
  const quint32 dirStart = miniFatStart + miniFatSectors;
  const quint32 fatStart = dirStart + dirSectors;

  // The allocation table describes its own sectors and those of its extension, so grow
  // both until they hold every sector.
  quint32 fatSectors = 1;
  quint32 difatSectors = 0;
  for (;;) {
    const quint32 total = fatStart + fatSectors + difatSectors;
    const quint32 needFat = sectorsFor(quint64(total) * 4, SectorSize);
    const quint32 needDifat =
        needFat > HeaderDifat ? (needFat - HeaderDifat + EntriesPerSector - 2) / (EntriesPerSector - 1) : 0;
    if (needFat == fatSectors && needDifat == difatSectors)
      break;
    fatSectors = std::max(needFat, fatSectors);
    difatSectors = std::max(needDifat, difatSectors);
  }
  const quint32 difatStart = fatStart + fatSectors;

  std::vector<quint32> fat(size_t(fatSectors) * EntriesPerSector, FreeSect);
  std::vector<quint32> miniFat;
  miniFat.assign(size_t(miniSectors), FreeSect);
  for (int i = 0; i < order.size(); ++i) {
    const Stream& s = *order[i];
    if (s.size >= MiniCutoff)
      chain(fat, starts[size_t(i)], sectorsFor(s.size, SectorSize));
    else if (s.size)
      chain(miniFat, starts[size_t(i)], sectorsFor(s.size, MiniSectorSize));
  }
  chain(fat, miniStreamStart, miniStreamSectors);
  chain(fat, miniFatStart, miniFatSectors);
  chain(fat, dirStart, dirSectors);
  for (quint32 i = 0; i < fatSectors; ++i)
    fat[fatStart + i] = FatSect;
  for (quint32 i = 0; i < difatSectors; ++i)
    fat[difatStart + i] = DifSect;

  // Header.
  char header[SectorSize];
  std::fill(std::begin(header), std::end(header), '\0');
  static const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  std::copy(std::begin(signature), std::end(signature), header);
  put16(header + 0x18, 0x003E);
  put16(header + 0x1A, 0x0003);
  put16(header + 0x1C, 0xFFFE);
  put16(header + 0x1E, 9);
  put16(header + 0x20, 6);
  put32(header + 0x2C, fatSectors);
  put32(header + 0x30, dirStart);
  put32(header + 0x38, quint32(MiniCutoff));
  put32(header + 0x3C, miniFatSectors ? miniFatStart : EndOfChain);
  put32(header + 0x40, miniFatSectors);
  put32(header + 0x44, difatSectors ? difatStart : EndOfChain);
  put32(header + 0x48, difatSectors);
  for (int i = 0; i < HeaderDifat; ++i)
    put32(header + 0x4C + 4 * i, quint32(i) < fatSectors ? fatStart + quint32(i) : FreeSect);
  if (!writeAll(out, header, SectorSize))
    return false;

  // Regular streams, then the short-stream area; each stream padded to its sectors.
  auto writeStreams = [&](bool regular, int sectorSize) {
    for (const Stream* s : order) {
      if ((s->size >= MiniCutoff) != regular || s->size == 0)
        continue;
      for (const QByteArray& p : s->parts)
        if (!writeAll(out, p.constData(), p.size()))
          return false;
      if (!writeZeros(out, qint64(sectorsFor(s->size, sectorSize)) * sectorSize - qint64(s->size)))
        return false;
    }
    return true;
  };
  if (!writeStreams(true, SectorSize) || !writeStreams(false, MiniSectorSize))
    return false;
  if (!writeZeros(out, qint64(miniStreamSectors) * SectorSize - qint64(miniSectors) * MiniSectorSize))
    return false;
  if (miniFatSectors && !writeTable(out, miniFat, miniFatSectors))
    return false;

  // Directory: the root storage, whose children form a chain of right siblings in
  // directory order (a valid, if unbalanced, tree).
  QByteArray dir(qsizetype(dirSectors) * SectorSize, '\0');
  for (int i = 0; i < dir.size() / DirEntrySize; ++i) {
    char* e = dir.data() + i * DirEntrySize;
    put32(e + 0x44, NoStream);
    put32(e + 0x48, NoStream);
    put32(e + 0x4C, NoStream);
  }
  directoryEntry(dir.data(), QStringLiteral("Root Entry"), 5, NoStream,
                 order.isEmpty() ? NoStream : 1, miniStreamSectors ? miniStreamStart : EndOfChain,
                 quint64(miniSectors) * MiniSectorSize);
  for (int i = 0; i < order.size(); ++i) {
    const quint32 right = i + 1 < order.size() ? quint32(i + 2) : NoStream;
    directoryEntry(dir.data() + (i + 1) * DirEntrySize, order[i]->name, 2, right, NoStream,
                   starts[size_t(i)], order[i]->size);
  }
  if (!writeAll(out, dir.constData(), dir.size()))
    return false;

  if (!writeTable(out, fat, fatSectors))
    return false;

  // Extension of the allocation table's sector list beyond the header's 109 entries.
  if (difatSectors) {
    std::vector<quint32> difat(size_t(difatSectors) * EntriesPerSector, FreeSect);
    quint32 next = HeaderDifat;
    for (quint32 d = 0; d < difatSectors; ++d) {
      quint32* row = difat.data() + size_t(d) * EntriesPerSector;
      for (int i = 0; i < EntriesPerSector - 1 && next < fatSectors; ++i, ++next)
        row[i] = fatStart + next;
      row[EntriesPerSector - 1] = d + 1 < difatSectors ? difatStart + d + 1 : EndOfChain;
    }
    if (!writeTable(out, difat, difatSectors))
      return false;
  }
  return true;
}

} // namespace vcm
