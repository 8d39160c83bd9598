#pragma once
// Shared set-up for the macro tests: a real main database in a temporary
// directory, helpers that put rows in it the way other parts of the program
// (the e-mail, custom-code and light-box editors, the plan view) would, a
// manual delay clock and a fixed wall clock.

#include "clock/clock.h"
#include "store/database.h"
#include "support/manual_clock.h"
#include "support/qt_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace qv::macros::test {

// Wall time stands still; tests look at record texts, not at times.
class FixedClock final : public qv::Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 3, 9), QTime(18, 30, 0)); }
    qint64 monotonicMs() const override { return 0; }
};

class MacroDbTest : public ::testing::Test {
public:  // the helpers are also used from data rows
    void SetUp() override {
        qv::test::qtApp();
        ASSERT_TRUE(m_dir.isValid());
        // A copy of a freshly created database: building the schema for every
        // test would cost most of the test run.
        const QString path = m_dir.filePath(QStringLiteral("master/quorvel.db"));
        ASSERT_TRUE(QDir().mkpath(m_dir.filePath(QStringLiteral("master"))));
        ASSERT_TRUE(QFile::copy(templateDb(), path));
        db.emplace(store::Database::open(path, store::DbKind::Main));
    }
    void TearDown() override { db.reset(); }

    QString dirPath() const { return m_dir.path(); }

    // Runs a statement with bound values; returns the new row's id.
    qint64 exec(const QString& sql, const QVariantList& values = {}) {
        QSqlQuery query(db->handle());
        if (!query.prepare(sql)) {
            ADD_FAILURE() << sql.toStdString() << ": " << query.lastError().text().toStdString();
            return -1;
        }
        for (const QVariant& v : values) query.addBindValue(v);
        if (!query.exec())
            ADD_FAILURE() << sql.toStdString() << ": " << query.lastError().text().toStdString();
        return query.lastInsertId().toLongLong();
    }

    QVariant scalar(const QString& sql, const QVariantList& values = {}) {
        QSqlQuery query(db->handle());
        query.prepare(sql);
        for (const QVariant& v : values) query.addBindValue(v);
        if (!query.exec() || !query.next()) {
            ADD_FAILURE() << sql.toStdString() << ": " << query.lastError().text().toStdString();
            return {};
        }
        return query.value(0);
    }

    qint64 count(const QString& table) {
        return scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toLongLong();
    }

    qint64 addMacro(const QString& name, const QVariant& enabled = 1, qint64 folder = 0) {
        const qint64 id =
            exec(QStringLiteral("INSERT INTO Macros (Macro, Enabled, MacroFolder_ID) VALUES (?, ?, ?)"),
                 {name, enabled, folder});
        exec(QStringLiteral("UPDATE Macros SET SortOrder = Macro_ID WHERE Macro_ID = ?"), {id});
        return id;
    }

    qint64 addEmail(const QString& name, const QVariant& receipients, const QVariant& subject,
                    const QVariant& message) {
        return exec(QStringLiteral(
                        "INSERT INTO Emails (EmailName, Receipients, Subject, Message) VALUES (?, ?, ?, ?)"),
                    {name, receipients, subject, message});
    }

    qint64 addCustomCode(const QString& name, const QByteArray& raw) {
        return exec(QStringLiteral("INSERT INTO CustomCodes (CustomCodeName, CustomCode, CustomCodeRS232) "
                                   "VALUES (?, ?, ?)"),
                    {name, QString::fromLatin1(raw.toHex(' ').toUpper()), raw});
    }

    // A light box channel and one named level of it; returns the level's id.
    qint64 addLightBoxLevel(int box, int area, int channel, const QString& channelDesc, int level,
                            const QString& levelDesc, const QByteArray& raw) {
        const qint64 boxRow =
            exec(QStringLiteral("INSERT INTO CorvalinLightBox (CorvalinBoxNumber, Area, Channel, "
                                "ChannelDesc) VALUES (?, ?, ?, ?)"),
                 {box, area, channel, channelDesc});
        return exec(QStringLiteral("INSERT INTO CorvalinChannelLevels (CorvalinLightBox_ID, ChannelLevel, "
                                   "ChannelLevelDesc, CorvalinRS232) VALUES (?, ?, ?, ?)"),
                    {boxRow, level, levelDesc, raw});
    }

    qint64 addView(const QString& label, qint64 childOf) {
        return exec(QStringLiteral("INSERT INTO TreeView (Label, ChildOf) VALUES (?, ?)"), {label, childOf});
    }

    std::optional<store::Database> db;

private:
    static QString templateDb() {
        static QTemporaryDir dir;
        static const QString path = [] {
            const QString file = dir.filePath(QStringLiteral("template.db"));
            store::Database::open(file, store::DbKind::Main).close();  // closing folds the WAL back in
            return file;
        }();
        return path;
    }

    QTemporaryDir m_dir;
};

inline QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) out.append(static_cast<char>(v));
    return out;
}

}  // namespace qv::macros::test

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '[' << list.join(QStringLiteral(" | ")).toStdString() << ']';
}
inline void PrintTo(const QByteArray& data, std::ostream* out) {
    *out << data.toHex(' ').toStdString();
}
