#pragma once
// The macro editor's store operations: opening a macro as its three lists,
// saving the lists back, and editing one line's comment. They never show a
// window: what the old editor put in a message box comes back as text.

#include "macros/macro_lines.h"
#include "store/database.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace qv::macros {

struct LoadResult {
    MacroLines lines;
    QString error;  // the database could not be read; lines are empty
    bool ok() const { return error.isEmpty(); }
};

struct SaveReport {
    bool saved = false;    // the transaction was committed
    QStringList messages;  // one per line that could not be stored as written, or the failure
};

class MacroStore {
public:
    explicit MacroStore(store::Database& db);

    // The macro's lines in ascending MacroDetails_ID. An unknown macro gives
    // empty lists.
    LoadResult LoadMacroLines(const QString& macroName);

    // Replaces the macro's stored lines by the lists, in one transaction: old
    // lines and the Orvanet and WAVfiles rows they own are deleted, every
    // command line is written in list order. An unknown name gets a new macro
    // (enabled, at the top of the tree). An empty name saves nothing. On a
    // database failure nothing changes and the report says why.
    SaveReport SaveMacroLines(const QString& macroName, const MacroLines& lines);

    // Writes the comment of line index (0-based, in line order) straight into
    // its row. Returns the error text, empty on success.
    QString updateLineComment(const QString& macroName, qsizetype index, const QString& comment);

    // The editor's search: the Macro_IDs, ascending, of the macros whose name
    // or any line's display text contains text, ignoring case. Empty text
    // finds nothing. Throws StoreError.
    std::vector<qint64> findMacros(const QString& text);

private:
    store::Database& m_db;
};

}  // namespace qv::macros
