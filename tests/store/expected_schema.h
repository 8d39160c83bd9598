#pragma once
// The tables and fields each file must carry, read from data/expected_schema.txt
// (written out there on their own, not taken from the store's definitions).

#include <QFile>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <map>

namespace qv::store::test {

using Schema = std::map<QString, QStringList>;

// One section of the file by its name: "main v1" to "main v4", "monitor log",
// "sensor log", "energy usage", "roll call", "winrights".
inline Schema expectedSchema(const QString& name) {
    static const std::map<QString, Schema> sections = [] {
        std::map<QString, Schema> all;
        QFile file(QStringLiteral(QUORVEL_STORE_TEST_DATA "/expected_schema.txt"));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            ADD_FAILURE() << "cannot read " << file.fileName().toStdString();
        Schema* current = nullptr;
        for (const QString& raw : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            const QString line = raw.trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
            if (line.startsWith(QLatin1Char('['))) {
                const QStringList names = line.mid(1, line.size() - 2).split(QLatin1Char(':'));
                current = &all[names[0].trimmed()];
                if (names.size() > 1) *current = all.at(names[1].trimmed());
            } else if (current) {
                const qsizetype colon = line.indexOf(QLatin1Char(':'));
                (*current)[line.left(colon)]
                    << line.mid(colon + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            }
        }
        for (auto& [section, schema] : all)
            for (auto& [table, fields] : schema) fields.sort();
        return all;
    }();
    const auto found = sections.find(name);
    if (found == sections.end()) ADD_FAILURE() << "no section " << name.toStdString();
    return found == sections.end() ? Schema{} : found->second;
}

inline Schema expectedMain() {
    return expectedSchema(QStringLiteral("main v4"));
}

}  // namespace qv::store::test
