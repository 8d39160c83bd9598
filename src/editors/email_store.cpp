#include "editors/email_store.h"

#include "store/database.h"
#include "store/store_error.h"
#include "store/transaction.h"

#include <QSqlQuery>
#include <QVariant>

namespace qv::editors {

namespace {

const QString kColumns =
    QStringLiteral("SELECT Email_ID, EmailName, Receipients, Subject, Message FROM Emails ");

StoredEmail fromRow(const QSqlQuery& q) {
    return {q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
            q.value(4).toString()};
}

reactions::EditorResult critical(const QString& text) {
    return reactions::EditorResult::refused(text, reactions::MessageIcon::Critical);
}

}  // namespace

EmailStore::EmailStore(store::Database& db) : m_db(db) {}

std::vector<StoredEmail> EmailStore::all() {
    QSqlQuery q = m_db.run(kColumns + QStringLiteral("ORDER BY EmailName"), {});
    std::vector<StoredEmail> out;
    while (q.next()) out.push_back(fromRow(q));
    return out;
}

std::optional<StoredEmail> EmailStore::find(const QString& name) {
    QSqlQuery q = m_db.run(kColumns + QStringLiteral("WHERE EmailName = ? COLLATE NOCASE"), {name});
    if (!q.next()) return std::nullopt;
    return fromRow(q);
}

std::optional<StoredEmail> EmailStore::byId(int id) {
    QSqlQuery q = m_db.run(kColumns + QStringLiteral("WHERE Email_ID = ?"), {id});
    if (!q.next()) return std::nullopt;
    return fromRow(q);
}

reactions::EditorResult EmailStore::save(const StoredEmail& email) {
    if (email.name.trimmed().isEmpty()) return critical(kNeedName);
    if (email.recipients.trimmed().isEmpty()) return critical(kNeedRecipient);
    if (email.subject.trimmed().isEmpty()) return critical(kNeedSubject);
    if (email.message.trimmed().isEmpty()) return critical(kNeedMessage);
    try {
        store::Transaction transaction(m_db);
        if (const auto stored = find(email.name))
            m_db.run(QStringLiteral(
                         "UPDATE Emails SET Receipients = ?, Subject = ?, Message = ? WHERE Email_ID = ?"),
                     {email.recipients, email.subject, email.message, stored->id});
        else
            // Past every number stored here and every number a macro line
            // names, so a deleted e-mail's number is never taken over.
            m_db.run(QStringLiteral(
                         "INSERT INTO Emails (Email_ID, EmailName, Receipients, Subject, Message) VALUES ("
                         "MAX(COALESCE((SELECT MAX(Email_ID) FROM Emails), 0), "
                         "COALESCE((SELECT MAX(Email_ID) FROM MacrosDetails), 0)) + 1, ?, ?, ?, ?)"),
                     {email.name, email.recipients, email.subject, email.message});
        transaction.commit();
        return reactions::EditorResult::ok();
    } catch (const store::StoreError& e) {
        return critical(QString::fromUtf8(e.what()));
    }
}

reactions::EditorResult EmailStore::remove(const QString& name) {
    try {
        m_db.run(QStringLiteral("DELETE FROM Emails WHERE EmailName = ? COLLATE NOCASE"), {name});
        return reactions::EditorResult::ok();
    } catch (const store::StoreError& e) {
        return critical(QString::fromUtf8(e.what()));
    }
}

}  // namespace qv::editors
