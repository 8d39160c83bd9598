#pragma once
// The stored e-mails macros send by name: the name list (also the macro
// editor's pick list), loading one, saving with its four checks in order,
// and deleting. A new e-mail never takes the number of a deleted one, so a
// macro line that named a deleted e-mail keeps sending nothing.

#include "features/reactions/editor_result.h"

#include <QString>

#include <optional>
#include <vector>

namespace qv::store {
class Database;
}

namespace qv::editors {

struct StoredEmail {
    int id = 0;  // Email_ID
    QString name;
    QString recipients;
    QString subject;
    QString message;
};

class EmailStore {
public:
    static inline const QString kNeedName =
        QStringLiteral("you need to have an name to refer to this email before you can save it");
    static inline const QString kNeedRecipient =
        QStringLiteral("you need to include someone to send the email to");
    static inline const QString kNeedSubject = QStringLiteral("please enter a subject for the message");
    static inline const QString kNeedMessage = QStringLiteral("You have not entered a message");

    explicit EmailStore(store::Database& db);

    // Each throws store::StoreError.
    std::vector<StoredEmail> all();  // by name
    std::optional<StoredEmail> find(const QString& name);
    // The e-mail a macro line names by its Email_ID.
    std::optional<StoredEmail> byId(int id);

    // Rewrites the e-mail of that name, or adds one. Refusals are critical.
    reactions::EditorResult save(const StoredEmail& email);
    reactions::EditorResult remove(const QString& name);

private:
    store::Database& m_db;
};

}  // namespace qv::editors
