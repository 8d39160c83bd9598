#include "features/devices/lamp_editors.h"

#include "features/devices/messages.h"
#include "store/transaction.h"

#include <QSqlQuery>

#include <cmath>

namespace qv::devices {

namespace {

std::optional<int> wholeNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

LampEditors::LampEditors(store::Database& main) : m_main(main) {}

store::Outcome LampEditors::failed(const QString& what, const std::exception& error) {
    return store::Outcome::refused(QStringLiteral("%1: %2").arg(what, QString::fromUtf8(error.what())));
}

std::vector<LampTypeRow> LampEditors::lampTypes() {
    QSqlQuery q =
        m_main.run(QStringLiteral("SELECT LampFitting_ID, LampDescription, RatedWattage, Losses FROM "
                                  "LampFittings ORDER BY LampDescription"));
    std::vector<LampTypeRow> rows;
    while (q.next())
        rows.push_back(
            {q.value(0).toInt(), q.value(1).toString(), q.value(2).toDouble(), q.value(3).toDouble()});
    return rows;
}

std::vector<LampsOnChannelRow> LampEditors::lampsOnChannel(int area, int channel) {
    QSqlQuery q = m_main.run(QStringLiteral("SELECT Area, Channel, LampFitting_ID, Number FROM "
                                            "LampFittingsonChannel WHERE Area = ? AND Channel = ? "
                                            "ORDER BY LampFitting_ID"),
                             {area, channel});
    std::vector<LampsOnChannelRow> rows;
    while (q.next())
        rows.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt()});
    return rows;
}

bool LampEditors::fittingExists(int fittingId) {
    return m_main
               .value(QStringLiteral("SELECT count(*) FROM LampFittings WHERE LampFitting_ID = ?"),
                      {fittingId})
               .toInt() > 0;
}

store::Outcome LampEditors::addLampType(const QString& description, double ratedWattage, double losses,
                                        int* newId) {
    const QString name = description.trimmed();
    if (name.isEmpty()) return store::Outcome::refused(msg::kNeedFittingName);
    try {
        store::Transaction transaction(m_main);
        // The text columns compare without regard to case, as the names always did.
        if (m_main
                .value(QStringLiteral("SELECT count(*) FROM LampFittings WHERE LampDescription = ?"), {name})
                .toInt() > 0)
            return store::Outcome::refused(msg::kFittingExists);
        QSqlQuery insert = m_main.run(
            QStringLiteral(
                "INSERT INTO LampFittings (LampDescription, RatedWattage, Losses) VALUES (?, ?, ?)"),
            {name, ratedWattage, losses});
        if (newId) *newId = insert.lastInsertId().toInt();
        transaction.commit();
    } catch (const std::exception& error) {
        return failed(QStringLiteral("The Fitting Type could not be added"), error);
    }
    return store::Outcome::done();
}

store::Outcome LampEditors::updateLampType(int fittingId, const QString& description, double ratedWattage,
                                           double losses) {
    const QString name = description.trimmed();
    if (name.isEmpty()) return store::Outcome::refused(msg::kNeedFittingName);
    try {
        store::Transaction transaction(m_main);
        if (m_main
                .value(QStringLiteral("SELECT count(*) FROM LampFittings WHERE LampDescription = ? AND "
                                      "LampFitting_ID <> ?"),
                       {name, fittingId})
                .toInt() > 0)
            return store::Outcome::refused(msg::kFittingExists);
        QSqlQuery update =
            m_main.run(QStringLiteral("UPDATE LampFittings SET LampDescription = ?, RatedWattage = ?, "
                                      "Losses = ? WHERE LampFitting_ID = ?"),
                       {name, ratedWattage, losses, fittingId});
        if (update.numRowsAffected() == 0) return store::Outcome::refused(msg::kNoSuchFitting);
        transaction.commit();
    } catch (const std::exception& error) {
        return failed(QStringLiteral("The Fitting Type could not be saved"), error);
    }
    return store::Outcome::done();
}

store::Outcome LampEditors::deleteLampType(int fittingId) {
    try {
        store::Transaction transaction(m_main);
        for (const char* sql : {"DELETE FROM LampInterpolations WHERE LampFitting_ID = ?",
                                "DELETE FROM LampProperties WHERE LampFitting_ID = ?",
                                "DELETE FROM LampFittingsonChannel WHERE LampFitting_ID = ?",
                                "DELETE FROM LampFittings WHERE LampFitting_ID = ?"}) {
            m_main.run(QString::fromLatin1(sql), {fittingId});
        }
        transaction.commit();
    } catch (const std::exception& error) {
        return failed(QStringLiteral("The Fitting Type could not be deleted"), error);
    }
    return store::Outcome::done();
}

store::Outcome LampEditors::enterMeasuredPoint(int fittingId, const QString& percentageText,
                                               const QString& loadText) {
    const std::optional<int> percentage = wholeNumber(percentageText);
    if (!percentage || *percentage < 0 || *percentage > 100)
        return store::Outcome::refused(msg::kPercentageRange);
    bool ok = false;
    const double load = loadText.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(load) || load < 0) return store::Outcome::refused(msg::kLoadNotNumber);
    try {
        if (!fittingExists(fittingId)) return store::Outcome::refused(msg::kNoSuchFitting);
        storeMeasuredPoint(m_main, fittingId, *percentage, load);
    } catch (const std::exception& error) {
        return failed(QStringLiteral("The measured point could not be stored"), error);
    }
    return store::Outcome::done();
}

store::Outcome LampEditors::removeMeasuredPoint(int fittingId, int percentage) {
    try {
        deleteMeasuredPoint(m_main, fittingId, percentage);
    } catch (const std::exception& error) {
        return failed(QStringLiteral("The measured point could not be removed"), error);
    }
    return store::Outcome::done();
}

store::Outcome LampEditors::setLampsOnChannel(int area, int channel, int fittingId,
                                              const QString& numberText) {
    if (area < 1 || area > 255) return store::Outcome::refused(msg::kAreaRange);
    if (channel < 1 || channel > 256) return store::Outcome::refused(msg::kChannelRange);
    const std::optional<int> number = wholeNumber(numberText);
    if (!number || *number < 0) return store::Outcome::refused(msg::kLampCountRange);
    try {
        store::Transaction transaction(m_main);
        if (!fittingExists(fittingId)) return store::Outcome::refused(msg::kNoSuchFitting);
        m_main.run(
            QStringLiteral(
                "DELETE FROM LampFittingsonChannel WHERE Area = ? AND Channel = ? AND LampFitting_ID = ?"),
            {area, channel, fittingId});
        if (*number > 0) {
            m_main.run(QStringLiteral("INSERT INTO LampFittingsonChannel (Area, Channel, "
                                      "LampFitting_ID, Number) VALUES (?, ?, ?, ?)"),
                       {area, channel, fittingId, *number});
        }
        transaction.commit();
    } catch (const std::exception& error) {
        return failed(QStringLiteral("The lamps on the channel could not be saved"), error);
    }
    return store::Outcome::done();
}

}  // namespace qv::devices
