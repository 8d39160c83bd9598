#include "store/version_history.h"

#include "store/database.h"
#include "store/date_text.h"

namespace qv::store {

void appendVersionHistory(Database& main, const QString& version, const QDateTime& when) {
    main.run(QStringLiteral("INSERT INTO VersionHistory (Version, \"Date\") VALUES (?, ?)"),
             {version, when.isValid() ? QVariant(dateTimeText(when)) : QVariant()});
}

}  // namespace qv::store
