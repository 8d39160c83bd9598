#include "store/version_history.h"

#include "store/database.h"
#include "store/date_text.h"

namespace qv::store {

void appendVersionHistory(Database& main, const QString& version, const QDateTime& when) {
    QSqlQuery insert =
        main.prepare(QStringLiteral("INSERT INTO VersionHistory (Version, \"Date\") VALUES (?, ?)"));
    insert.addBindValue(version);
    insert.addBindValue(when.isValid() ? QVariant(dateTimeText(when)) : QVariant());
    main.exec(insert);
}

}  // namespace qv::store
