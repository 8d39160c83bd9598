#pragma once
// Writes a small Excel 97-2003 workbook (BIFF8 records inside a compound
// file) for the import tests, so they need no spreadsheet program and no
// file checked in. Only what a reader needs is written: one shared-string
// table, the sheets with their dimensions, number cells and text cells.

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QtEndian>

#include <cstring>
#include <vector>

namespace qv::config::test {

struct XlsSheet {
    QString name;
    // rows[r][c]: an int or double gives a number cell, a non-empty text a
    // text cell, anything else no cell.
    std::vector<std::vector<QVariant>> rows;
};

class XlsWriter {
public:
    static QByteArray workbook(const std::vector<XlsSheet>& sheets) {
        std::vector<QString> strings;
        const auto stringIndex = [&strings](const QString& s) {
            for (std::size_t i = 0; i < strings.size(); ++i)
                if (strings[i] == s) return static_cast<quint32>(i);
            strings.push_back(s);
            return static_cast<quint32>(strings.size() - 1);
        };

        // Sheet substreams first, so the shared strings are known.
        std::vector<QByteArray> sheetStreams;
        for (const XlsSheet& sheet : sheets) {
            QByteArray s;
            s += record(0x0809, bof(0x0010));
            quint16 columns = 0;
            for (const auto& row : sheet.rows)
                columns = std::max<quint16>(columns, static_cast<quint16>(row.size()));
            QByteArray dimension;
            put32(dimension, 0);
            put32(dimension, static_cast<quint32>(sheet.rows.size()));
            put16(dimension, 0);
            put16(dimension, columns);
            put16(dimension, 0);
            s += record(0x0200, dimension);
            for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
                for (std::size_t c = 0; c < sheet.rows[r].size(); ++c) {
                    const QVariant& value = sheet.rows[r][c];
                    QByteArray cell;
                    put16(cell, static_cast<quint16>(r));
                    put16(cell, static_cast<quint16>(c));
                    put16(cell, 0);  // cell format
                    if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::Double) {
                        const double number = value.toDouble();
                        char bytes[8];
                        std::memcpy(bytes, &number, 8);  // little-endian machine, as the format
                        cell.append(bytes, 8);
                        s += record(0x0203, cell);
                    } else if (value.typeId() == QMetaType::QString && !value.toString().isEmpty()) {
                        put32(cell, stringIndex(value.toString()));
                        s += record(0x00FD, cell);
                    }
                }
            }
            s += record(0x000A, {});
            sheetStreams.push_back(s);
        }

        QByteArray sst;
        put32(sst, static_cast<quint32>(strings.size()));
        put32(sst, static_cast<quint32>(strings.size()));
        for (const QString& s : strings) {
            put16(sst, static_cast<quint16>(s.size()));
            sst.append('\x01');  // UTF-16 characters
            for (const QChar c : s) put16(sst, c.unicode());
        }

        // Globals; the sheet offsets depend on the globals' own length, which
        // does not depend on the offsets' values.
        const auto globals = [&](const std::vector<quint32>& offsets) {
            QByteArray g;
            g += record(0x0809, bof(0x0005));
            QByteArray codepage;
            put16(codepage, 0x04B0);
            g += record(0x0042, codepage);
            // Filler records a reader skips, so the stream is too long for the
            // compound file's small-stream area.
            for (int i = 0; i < 5; ++i) g += record(0x00E2, QByteArray(1000, '\0'));
            for (std::size_t i = 0; i < sheets.size(); ++i) {
                QByteArray sheet;
                put32(sheet, offsets[i]);
                sheet.append('\0');  // visible
                sheet.append('\0');  // worksheet
                sheet.append(static_cast<char>(sheets[i].name.size()));
                sheet.append('\0');  // one byte per character
                sheet.append(sheets[i].name.toLatin1());
                g += record(0x0085, sheet);
            }
            g += record(0x00FC, sst);
            g += record(0x000A, {});
            return g;
        };
        std::vector<quint32> offsets(sheets.size(), 0);
        quint32 at = static_cast<quint32>(globals(offsets).size());
        for (std::size_t i = 0; i < sheets.size(); ++i) {
            offsets[i] = at;
            at += static_cast<quint32>(sheetStreams[i].size());
        }
        QByteArray stream = globals(offsets);
        for (const QByteArray& s : sheetStreams) stream += s;
        return compoundFile(stream);
    }

private:
    static void put16(QByteArray& b, quint16 v) {
        char bytes[2];
        qToLittleEndian(v, bytes);
        b.append(bytes, 2);
    }
    static void put32(QByteArray& b, quint32 v) {
        char bytes[4];
        qToLittleEndian(v, bytes);
        b.append(bytes, 4);
    }
    static QByteArray record(quint16 type, const QByteArray& body) {
        QByteArray r;
        put16(r, type);
        put16(r, static_cast<quint16>(body.size()));
        return r + body;
    }
    static QByteArray bof(quint16 kind) {
        QByteArray b;
        put16(b, 0x0600);  // BIFF8
        put16(b, kind);
        put16(b, 0x0DBB);
        put16(b, 0x07CC);
        put32(b, 0);
        put32(b, 0x06);
        return b;
    }

    // One FAT sector (0), one directory sector (1), then the stream.
    static QByteArray compoundFile(const QByteArray& stream) {
        constexpr int kSector = 512;
        constexpr quint32 kFree = 0xFFFFFFFF, kEnd = 0xFFFFFFFE, kFat = 0xFFFFFFFD;
        const int streamSectors = static_cast<int>((stream.size() + kSector - 1) / kSector);

        QByteArray header;
        header.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
        header.append(QByteArray(16, '\0'));
        put16(header, 0x003E);
        put16(header, 0x0003);
        put16(header, 0xFFFE);
        put16(header, 9);  // 512-byte sectors
        put16(header, 6);
        header.append(QByteArray(6, '\0'));
        put32(header, 0);  // directory sectors (version 3)
        put32(header, 1);  // FAT sectors
        put32(header, 1);  // first directory sector
        put32(header, 0);
        put32(header, 4096);  // small-stream cut-off
        put32(header, kEnd);  // no mini FAT
        put32(header, 0);
        put32(header, kEnd);  // no DIFAT
        put32(header, 0);
        put32(header, 0);  // the FAT is sector 0
        while (header.size() < kSector) put32(header, kFree);

        QByteArray fat;
        put32(fat, kFat);
        put32(fat, kEnd);  // the directory
        for (int i = 0; i < streamSectors; ++i)
            put32(fat, i + 1 < streamSectors ? static_cast<quint32>(i + 3) : kEnd);
        while (fat.size() < kSector) put32(fat, kFree);

        const auto entry = [](const QString& name, quint8 type, quint32 child, quint32 start, quint32 size) {
            QByteArray e;
            for (const QChar c : name) put16(e, c.unicode());
            e.append(QByteArray(64 - e.size(), '\0'));
            put16(e, static_cast<quint16>((name.size() + 1) * 2));
            e.append(static_cast<char>(type));
            e.append('\x01');  // black
            put32(e, 0xFFFFFFFF);
            put32(e, 0xFFFFFFFF);
            put32(e, child);
            e.append(QByteArray(16 + 4 + 16, '\0'));  // class, state bits, times
            put32(e, start);
            put32(e, size);
            put32(e, 0);
            return e;
        };
        QByteArray directory;
        directory += entry(QStringLiteral("Root Entry"), 5, 1, kEnd, 0);
        directory += entry(QStringLiteral("Workbook"), 2, 0xFFFFFFFF, 2, static_cast<quint32>(stream.size()));
        while (directory.size() < kSector) directory += entry(QString(), 0, 0xFFFFFFFF, 0, 0);

        QByteArray padded = stream;
        padded.append(QByteArray(streamSectors * kSector - stream.size(), '\0'));
        return header + fat + directory + padded;
    }
};

}  // namespace qv::config::test
