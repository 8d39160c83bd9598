#include "store/area_permissions.h"

#include "store/database.h"
#include "store/log.h"
#include "store/transaction.h"

namespace qv::store {

std::array<bool, 256> loadDoNotSendAreas(const QString& winrightsPath) {
    std::array<bool, 256> doNotSend{};
    Database db = Database::open(winrightsPath, DbKind::Winrights);
    {
        QSqlQuery query = db.run(QStringLiteral("SELECT Area FROM DoNotSendArea"));
        while (query.next()) {
            const QVariant value = query.value(0);
            bool ok = false;
            const int area = value.toInt(&ok);
            if (value.isNull() || !ok || area < 0 || area > 255) {
                qCDebug(lcStore) << winrightsPath << "ignores DoNotSendArea row" << value;
                continue;
            }
            doNotSend[static_cast<std::size_t>(area)] = true;
        }
    }
    db.close();
    return doNotSend;
}

void saveDoNotSendAreas(const QString& winrightsPath, const std::array<bool, 256>& doNotSend) {
    Database db = Database::open(winrightsPath, DbKind::Winrights);
    {
        Transaction transaction(db);
        db.exec(QStringLiteral("DELETE FROM DoNotSendArea"));
        QSqlQuery insert = db.prepare(QStringLiteral("INSERT INTO DoNotSendArea (Area) VALUES (?)"));
        for (int area = 0; area < 256; ++area) {
            if (!doNotSend[static_cast<std::size_t>(area)]) continue;
            insert.bindValue(0, area);
            db.exec(insert);
        }
        transaction.commit();
    }
    db.close();
}

}  // namespace qv::store
