#include "shell/config/password.h"

#include "shell/config/logging.h"
#include "shell/config/messages.h"
#include "store/database.h"

#include <sodium.h>

#include <stdexcept>

namespace qv::config {

namespace {

void ensureSodium() {
    // sodium_init is safe to call again; -1 means the library cannot work.
    if (sodium_init() < 0) throw std::runtime_error("libsodium could not be initialised");
}

bool isAsciiLetter(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

}  // namespace

std::vector<StoredPassword> readStoredPasswords(store::Database& main) {
    std::vector<StoredPassword> rows;
    QSqlQuery query = main.run(QStringLiteral("SELECT rowid, Password FROM Password ORDER BY rowid"));
    while (query.next()) rows.push_back({query.value(0).toLongLong(), query.value(1).toString()});
    return rows;
}

bool passwordRequired(const std::vector<StoredPassword>& stored) {
    return !stored.empty() && !stored.front().value.trimmed().isEmpty();
}

bool isPasswordHash(const QString& stored) {
    return stored.startsWith(QLatin1String("$argon2"));
}

bool passwordAccepted(const std::vector<StoredPassword>& stored, const QString& typed) {
    if (!passwordRequired(stored)) return true;
    const QByteArray typedUtf8 = typed.toUtf8();
    for (const StoredPassword& row : stored) {
        if (row.value.trimmed().isEmpty()) continue;
        if (isPasswordHash(row.value)) {
            ensureSodium();
            const QByteArray hash = row.value.toLatin1();
            if (crypto_pwhash_str_verify(hash.constData(), typedUtf8.constData(),
                                         static_cast<unsigned long long>(typedUtf8.size())) == 0)
                return true;
        } else if (row.value == typed) {
            return true;
        }
    }
    qCInfo(lcConfig) << "a wrong configuration password was typed";
    return false;
}

QString hashPassword(const QString& plain, HashCost cost) {
    ensureSodium();
    const QByteArray utf8 = plain.toUtf8();
    const bool interactive = cost == HashCost::Interactive;
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                          interactive ? crypto_pwhash_OPSLIMIT_INTERACTIVE : crypto_pwhash_OPSLIMIT_MIN,
                          interactive ? crypto_pwhash_MEMLIMIT_INTERACTIVE : crypto_pwhash_MEMLIMIT_MIN) != 0)
        throw std::runtime_error("the password could not be hashed (out of memory)");
    return QString::fromLatin1(hash);
}

std::optional<QString> checkNewPassword(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    if (isAsciiDigit(text.front())) return msg::kPasswordRule;
    for (const QChar c : text)
        if (!isAsciiLetter(c) && !isAsciiDigit(c)) return msg::kPasswordRule;
    return std::nullopt;
}

}  // namespace qv::config
