#pragma once
// Custom codes: named network messages typed byte by byte. The store checks
// the hex, keeps one name per code, and gives the raw form and the dollar
// notation of a typed code; the listener hands the editor every message
// heard while listening is on.

#include "comms/decode_reactions.h"
#include "features/reactions/editor_result.h"
#include "net/message.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

namespace qv::store {
class Database;
}

namespace qv::editors {

struct StoredCustomCode {
    int id = 0;  // CustomCode_ID
    QString name;
    QString code;  // as typed: "1C 01 68 07 00 00 42 32"
};

class CustomCodeStore {
public:
    static inline const QString kNotHex = QStringLiteral("you can only use 0-9 and A-F for Hex notation");
    static inline const QString kNeedName = QStringLiteral("you must give the Custom Code a name to save.");
    static inline const QString kAlreadySaved = QStringLiteral("This code is already saved in the Database");

    explicit CustomCodeStore(store::Database& db);

    // Every character but the separating spaces is a hex digit.
    static bool isHex(const QString& code);
    // Each three-character group read as one byte; missing bytes are zero.
    static net::RawMessage rawForm(const QString& code);
    // "$1C,$01,$68,..." cut to 31 characters.
    static QString dollarNotation(const QString& code);
    // The 16 digits heard ("1C0168...") as the code box shows them.
    static QString spaced(const QString& compactHex);

    // Each throws store::StoreError.
    std::vector<StoredCustomCode> all();  // by name
    std::optional<StoredCustomCode> find(const QString& name);

    // Rewrites the code of that name, or adds one if no other name holds the
    // same code. Refusals are critical and store nothing.
    reactions::EditorResult save(const QString& name, const QString& code);
    reactions::EditorResult remove(const QString& name);

private:
    store::Database& m_db;
};

// Registered with the in box for the editor's life; passes on the digits of
// every message heard while listening.
class CustomCodeListener : public QObject, public comms::DecodeReactions {
    Q_OBJECT
public:
    using QObject::QObject;
    void setListening(bool on) { m_listening = on; }
    bool listening() const { return m_listening; }
    void compactCodeHeard(const std::string& compactHex) override;

signals:
    void heard(const QString& compactHex);

private:
    bool m_listening = false;
};

}  // namespace qv::editors
