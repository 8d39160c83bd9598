#pragma once
// What a processor runs: a macro's stored rows read once at the start of a
// run, each turned into one action with the text that describes it.

#include "store/database.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <vector>

namespace qv::macros {

struct RunLine {
    enum class Kind {
        Nothing,  // a row without an action: only traced
        Network,  // Orvanet, custom code or light box: `message` goes to sendRS232
        Delay,
        Wav,
        RollCall,
        SubMacro,
        CancelMacro,
        EnableMacro,
        DisableMacro,
        Email,
        PlanView,
    };
    Kind kind = Kind::Nothing;
    QByteArray message;  // Network: the stored message as it stands (normally 8 bytes)
    double seconds = 0;  // Delay
    QString text;        // path, roll call, macro name or e-mail name
    qint64 number = 0;   // PlanView: TreeView_ID
    QString command;     // what the line does, for line tracing
};

// The stored message of a field: BLOB bytes, or from a converted file a text
// whose character codes are the bytes.
QByteArray storedMessageBytes(const QVariant& field);

// The lines of the macro of that name (letter case ignored), in ascending
// MacroDetails_ID; empty for an unknown macro. Throws StoreError.
std::vector<RunLine> readRunLines(store::Database& db, const QString& macroName);

}  // namespace qv::macros
