#pragma once
// Shared set-up for the configuration tests: a data directory in a temporary
// folder with a real main database, a monitor that keeps its records, a
// fixed clock and per-user settings in an ini file of their own.

#include "clock/clock.h"
#include "store/store.h"
#include "support/manual_clock.h"
#include "support/qt_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>
#include <optional>

namespace qv::config::test {

// Stands still until a test advances it; its timers fire then.
struct FixedClock : qv::test::ManualClock {
    FixedClock() : qv::test::ManualClock({QDate(2024, 3, 1), QTime(9, 30)}) {}
};

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class ConfigTest : public ::testing::Test {
protected:
    ConfigTest() { qv::test::qtApp(); }

    void SetUp() override {
        ASSERT_TRUE(m_data.isValid());
        paths.dir = m_data.path();
        main.emplace(store::Database::open(paths.mainDb(), store::DbKind::Main));
        userSettings = std::make_unique<QSettings>(m_data.filePath("user.ini"), QSettings::IniFormat);
    }
    void TearDown() override {
        if (main) main->close();
    }

    QString inData(const QString& relative) const { return m_data.filePath(relative); }

    // Runs one statement with bound values on the main database.
    void exec(const QString& sql, const QVariantList& values = {}) { main->run(sql, values); }
    QVariant scalar(const QString& sql, const QVariantList& values = {}) { return main->value(sql, values); }
    int count(const QString& table) {
        return scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt();
    }

    store::DataPaths paths;
    std::optional<store::Database> main;
    std::unique_ptr<QSettings> userSettings;
    qv::test::RecordingMonitor monitor;
    FixedClock clock;

private:
    QTemporaryDir m_data;
};

}  // namespace qv::config::test

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
