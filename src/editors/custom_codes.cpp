#include "editors/custom_codes.h"

#include "macros/stored_message.h"
#include "store/database.h"
#include "store/store_error.h"
#include "store/transaction.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QVariant>

namespace qv::editors {

namespace {

const QString kColumns = QStringLiteral("SELECT CustomCode_ID, CustomCodeName, CustomCode FROM CustomCodes ");

StoredCustomCode fromRow(const QSqlQuery& q) {
    return {q.value(0).toInt(), q.value(1).toString(), q.value(2).toString()};
}

reactions::EditorResult critical(const QString& text) {
    return reactions::EditorResult::refused(text, reactions::MessageIcon::Critical);
}

// The groups of the code text at positions 1, 4, 7, ..., trailing spaces removed.
QStringList groups(const QString& code) {
    QStringList out;
    for (qsizetype i = 0; i < code.size(); i += 3) {
        QString group = code.mid(i, 2);
        while (group.endsWith(QLatin1Char(' '))) group.chop(1);
        out << group;
    }
    return out;
}

}  // namespace

CustomCodeStore::CustomCodeStore(store::Database& db) : m_db(db) {}

bool CustomCodeStore::isHex(const QString& code) {
    static const QRegularExpression hex(QStringLiteral("^[a-fA-F0-9]*$"));
    return hex.match(QString(code).remove(QLatin1Char(' '))).hasMatch();
}

net::RawMessage CustomCodeStore::rawForm(const QString& code) {
    net::RawMessage raw{};
    const QStringList parts = groups(code);
    for (qsizetype i = 0; i < parts.size() && i < qsizetype(raw.size()); ++i)
        raw[std::size_t(i)] = std::uint8_t(parts[i].toUInt(nullptr, 16));
    return raw;
}

QString CustomCodeStore::dollarNotation(const QString& code) {
    QStringList bytes;
    for (const QString& group : groups(code))
        if (!group.isEmpty()) bytes << QStringLiteral("$") + group.toUpper();
    return bytes.join(QLatin1Char(',')).left(31);
}

QString CustomCodeStore::spaced(const QString& compactHex) {
    QStringList bytes;
    for (qsizetype i = 0; i < compactHex.size(); i += 2) bytes << compactHex.mid(i, 2).toUpper();
    return bytes.join(QLatin1Char(' '));
}

std::vector<StoredCustomCode> CustomCodeStore::all() {
    QSqlQuery q = m_db.run(kColumns + QStringLiteral("ORDER BY CustomCodeName"), {});
    std::vector<StoredCustomCode> out;
    while (q.next()) out.push_back(fromRow(q));
    return out;
}

std::optional<StoredCustomCode> CustomCodeStore::find(const QString& name) {
    QSqlQuery q = m_db.run(kColumns + QStringLiteral("WHERE CustomCodeName = ? COLLATE NOCASE"), {name});
    if (!q.next()) return std::nullopt;
    return fromRow(q);
}

reactions::EditorResult CustomCodeStore::save(const QString& name, const QString& code) {
    if (!isHex(code)) return critical(kNotHex);
    const QByteArray raw = macros::storedBytes(rawForm(code));
    try {
        store::Transaction transaction(m_db);
        if (const auto stored = find(name)) {
            m_db.run(QStringLiteral(
                         "UPDATE CustomCodes SET CustomCodeName = ?, CustomCode = ?, CustomCodeRS232 = ? "
                         "WHERE CustomCode_ID = ?"),
                     {name, code, raw, stored->id});
        } else {
            if (name.trimmed().isEmpty()) return critical(kNeedName);
            QSqlQuery same =
                m_db.run(QStringLiteral("SELECT 1 FROM CustomCodes WHERE CustomCode = ?"), {code});
            if (same.next()) return critical(kAlreadySaved);
            m_db.run(
                QStringLiteral(
                    "INSERT INTO CustomCodes (CustomCodeName, CustomCode, CustomCodeRS232) VALUES (?, ?, ?)"),
                {name, code, raw});
        }
        transaction.commit();
        return reactions::EditorResult::ok();
    } catch (const store::StoreError& e) {
        return critical(QString::fromUtf8(e.what()));
    }
}

reactions::EditorResult CustomCodeStore::remove(const QString& name) {
    try {
        m_db.run(QStringLiteral("DELETE FROM CustomCodes WHERE CustomCodeName = ? COLLATE NOCASE"), {name});
        return reactions::EditorResult::ok();
    } catch (const store::StoreError& e) {
        return critical(QString::fromUtf8(e.what()));
    }
}

void CustomCodeListener::compactCodeHeard(const std::string& compactHex) {
    if (m_listening) emit heard(QString::fromStdString(compactHex));
}

}  // namespace qv::editors
