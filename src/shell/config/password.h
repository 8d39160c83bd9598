#pragma once
// The configuration password: its rules, and how it is kept. A password is
// stored as a salted Argon2id hash; a password stored in plain text by an
// older program still opens the configuration and is replaced by its hash the
// next time the configuration is saved.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace qv::store {
class Database;
}

namespace qv::config {

struct StoredPassword {
    qint64 rowid = 0;
    QString value;  // a hash, a plain password, or blank
};

// The rows of Password, oldest first. Throws StoreError.
std::vector<StoredPassword> readStoredPasswords(store::Database& main);

// No row, or a first row that is blank once trimmed, means no password.
bool passwordRequired(const std::vector<StoredPassword>& stored);
// True when the typed text matches a stored password, hashed or plain.
// The typed text never reaches SQL, so quotes in it are just characters.
bool passwordAccepted(const std::vector<StoredPassword>& stored, const QString& typed);

bool isPasswordHash(const QString& stored);

// Interactive: what the program stores (about 64 MiB and a fraction of a
// second per guess). Minimum: for callers that only need a valid hash
// quickly, such as fixtures; it is still verified the same way.
enum class HashCost { Interactive, Minimum };
// A salted hash of the password. Throws std::runtime_error when the hashing
// cannot get its memory.
QString hashPassword(const QString& plain, HashCost cost = HashCost::Interactive);

// Letters and digits only, not beginning with a digit. Returns the message to
// show when the text breaks the rule; an empty text is no new password.
std::optional<QString> checkNewPassword(const QString& text);

}  // namespace qv::config
