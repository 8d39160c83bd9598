#include "macros/macro_tree.h"

#include "macros/logging.h"
#include "macros/macro_rows.h"
#include "macros/number_text.h"
#include "store/field_values.h"
#include "store/store_error.h"
#include "store/transaction.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>

#include <algorithm>
#include <deque>
#include <map>

namespace qv::macros {

namespace {

const QString kRootKey = QStringLiteral("Root");

TreeResult refused(const char* message) {
    return {false, QString::fromLatin1(message), 0};
}

TreeResult failed(const store::StoreError& e) {
    const QString text =
        QStringLiteral("The macro tree could not be changed: %1").arg(QString::fromUtf8(e.what()));
    qCWarning(lcMacros) << text;
    return {false, text, 0};
}

TreeResult done(qint64 id = 0, const QString& message = {}) {
    return {true, message, id};
}

bool macroNameTaken(store::Database& db, const QString& name, qint64 exceptId) {
    return db.value(QStringLiteral("SELECT count(*) FROM Macros WHERE Macro = ? AND Macro_ID <> ?"),
                    {name, exceptId})
               .toLongLong() > 0;
}

bool folderNameTaken(store::Database& db, const QString& name, qint64 exceptId) {
    return db.value(QStringLiteral(
                        "SELECT count(*) FROM MacroFolders WHERE MacroFolder = ? AND MacroFolder_ID <> ?"),
                    {name, exceptId})
               .toLongLong() > 0;
}

bool folderExists(store::Database& db, qint64 folderId) {
    return db.value(QStringLiteral("SELECT count(*) FROM MacroFolders WHERE MacroFolder_ID = ?"), {folderId})
               .toLongLong() > 0;
}

bool macroExists(store::Database& db, qint64 macroId) {
    return db.value(QStringLiteral("SELECT count(*) FROM Macros WHERE Macro_ID = ?"), {macroId})
               .toLongLong() > 0;
}

// The folder holding the macro; 0 (the top) for a macro without one.
std::optional<qint64> folderOfMacro(store::Database& db, qint64 macroId) {
    QSqlQuery query =
        db.run(QStringLiteral("SELECT MacroFolder_ID FROM Macros WHERE Macro_ID = ?"), {macroId});
    if (!query.next()) return std::nullopt;
    return query.value(0).toLongLong();
}

// True when candidate is folderId or lies below it. Walks up from candidate;
// a loop already in the data ends the walk.
bool isSameOrBelow(store::Database& db, qint64 candidate, qint64 folderId) {
    QSet<qint64> seen;
    for (qint64 at = candidate; at != kTopLevel && !seen.contains(at);) {
        if (at == folderId) return true;
        seen.insert(at);
        QSqlQuery query =
            db.run(QStringLiteral("SELECT Parent_ID FROM MacroFolders WHERE MacroFolder_ID = ?"), {at});
        if (!query.next()) return false;
        at = query.value(0).toLongLong();
    }
    return false;
}

qint64 insertMacro(store::Database& db, const QString& name, qint64 folderId) {
    QSqlQuery add =
        db.run(QStringLiteral(
                   "INSERT INTO Macros (Macro, Enabled, Description, MacroFolder_ID) VALUES (?, 1, '', ?)"),
               {name, folderId});
    const qint64 id = add.lastInsertId().toLongLong();
    db.run(QStringLiteral("UPDATE Macros SET SortOrder = Macro_ID WHERE Macro_ID = ?"), {id});
    return id;
}

}  // namespace

std::optional<NodeRef> parseNodeKey(const QString& key) {
    if (key == kRootKey) return NodeRef{TreeNode::Kind::Root, 0};
    const auto numberAfter = [&key](const QString& prefix) -> std::optional<qint64> {
        if (!key.startsWith(prefix)) return std::nullopt;
        bool ok = false;
        const qint64 id = key.mid(prefix.size()).toLongLong(&ok);
        return ok ? std::optional<qint64>(id) : std::nullopt;
    };
    if (const auto id = numberAfter(QStringLiteral("Folder/"))) return NodeRef{TreeNode::Kind::Folder, *id};
    if (const auto id = numberAfter(QStringLiteral("Macro/"))) return NodeRef{TreeNode::Kind::Macro, *id};
    return std::nullopt;
}

QString folderKey(qint64 folderId) {
    return QStringLiteral("Folder/") + QString::number(folderId);
}

QString macroKey(qint64 macroId) {
    return QStringLiteral("Macro/") + QString::number(macroId);
}

QString checkTreeName(const QString& name) {
    bool allowed = !name.isEmpty();
    for (QChar c : name) {
        const char16_t u = c.unicode();
        const bool letter = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
        const bool digit = u >= u'0' && u <= u'9';
        if (!letter && !digit && u != u' ') allowed = false;
    }
    if (allowed && leadingNumber(name) != 0) allowed = false;
    return allowed ? QString() : QString::fromLatin1(tree_text::kBadName);
}

MacroTree::MacroTree(store::Database& db) : m_db(db) {}

std::vector<TreeNode> MacroTree::load(QString* error) {
    std::vector<TreeNode> nodes;
    try {
        nodes.push_back(
            {TreeNode::Kind::Root, 0, kRootKey, QString(), QStringLiteral("Macros"), QString(), false});

        struct Folder {
            qint64 id;
            qint64 parent;
            QString name;
            QString description;
        };
        std::vector<Folder> folders;
        QSet<qint64> folderIds;
        QSqlQuery query = m_db.run(
            QStringLiteral("SELECT MacroFolder_ID, MacroFolder, Description, Parent_ID FROM MacroFolders "
                           "ORDER BY Parent_ID, MacroFolder_ID"));
        while (query.next()) {
            folders.push_back({query.value(0).toLongLong(), query.value(3).toLongLong(),
                               query.value(1).toString(), query.value(2).toString()});
            folderIds.insert(folders.back().id);
        }

        // Each folder after its parent; folders whose parent is gone (or that
        // sit in a loop of parents) go under the root rather than vanish.
        std::map<qint64, std::vector<const Folder*>> children;
        for (const Folder& f : folders) children[f.parent].push_back(&f);
        QSet<qint64> placed;
        std::deque<std::pair<const Folder*, QString>> queue;
        const auto hangChildren = [&](qint64 parent, const QString& parentKey) {
            const auto it = children.find(parent);
            if (it == children.end()) return;
            for (const Folder* f : it->second) queue.emplace_back(f, parentKey);
        };
        const auto drain = [&] {
            while (!queue.empty()) {
                const auto [f, parentKey] = queue.front();
                queue.pop_front();
                if (placed.contains(f->id)) continue;
                placed.insert(f->id);
                nodes.push_back({TreeNode::Kind::Folder, f->id, folderKey(f->id), parentKey, f->name,
                                 f->description, false});
                hangChildren(f->id, folderKey(f->id));
            }
        };
        hangChildren(kTopLevel, kRootKey);
        drain();
        for (const Folder& f : folders) {
            if (placed.contains(f.id)) continue;
            queue.emplace_back(&f, kRootKey);
            drain();
        }

        QSqlQuery macros = m_db.run(
            QStringLiteral("SELECT Macro_ID, Macro, Description, Enabled, MacroFolder_ID FROM Macros "
                           "ORDER BY SortOrder, Macro_ID"));
        while (macros.next()) {
            const qint64 id = macros.value(0).toLongLong();
            const qint64 folder = macros.value(4).toLongLong();
            nodes.push_back({TreeNode::Kind::Macro, id, macroKey(id),
                             folderIds.contains(folder) ? folderKey(folder) : kRootKey,
                             macros.value(1).toString(), macros.value(2).toString(),
                             store::yesNoOr(macros.value(3), false)});
        }
    } catch (const store::StoreError& e) {
        nodes.clear();
        if (error)
            *error = QStringLiteral("The macro tree could not be read: %1").arg(QString::fromUtf8(e.what()));
    }
    return nodes;
}

TreeResult MacroTree::createFolder(const QString& name, qint64 parentFolderId) {
    if (const QString bad = checkTreeName(name); !bad.isEmpty()) return {false, bad, 0};
    try {
        store::Transaction transaction(m_db);
        if (folderNameTaken(m_db, name, 0)) return refused(tree_text::kFolderExists);
        if (parentFolderId != kTopLevel && !folderExists(m_db, parentFolderId))
            return refused(tree_text::kNoSuchFolder);
        QSqlQuery add =
            m_db.run(QStringLiteral(
                         "INSERT INTO MacroFolders (MacroFolder, Description, Parent_ID) VALUES (?, '', ?)"),
                     {name, parentFolderId});
        const qint64 id = add.lastInsertId().toLongLong();
        transaction.commit();
        return done(id);
    } catch (const store::StoreError& e) {
        return failed(e);
    }
}

TreeResult MacroTree::createMacro(const QString& name, qint64 folderId) {
    if (const QString bad = checkTreeName(name); !bad.isEmpty()) return {false, bad, 0};
    try {
        store::Transaction transaction(m_db);
        if (macroNameTaken(m_db, name, 0)) return refused(tree_text::kMacroExists);
        if (folderId != kTopLevel && !folderExists(m_db, folderId)) return refused(tree_text::kNoSuchFolder);
        const qint64 id = insertMacro(m_db, name, folderId);
        transaction.commit();
        return done(id);
    } catch (const store::StoreError& e) {
        return failed(e);
    }
}

TreeResult MacroTree::renameFolder(qint64 folderId, const QString& name) {
    if (const QString bad = checkTreeName(name); !bad.isEmpty()) return {false, bad, 0};
    try {
        store::Transaction transaction(m_db);
        if (!folderExists(m_db, folderId)) return refused(tree_text::kNoSuchFolder);
        if (folderNameTaken(m_db, name, folderId)) return refused(tree_text::kFolderExists);
        m_db.run(QStringLiteral("UPDATE MacroFolders SET MacroFolder = ? WHERE MacroFolder_ID = ?"),
                 {name, folderId});
        transaction.commit();
        return done(folderId);
    } catch (const store::StoreError& e) {
        return failed(e);
    }
}

TreeResult MacroTree::renameMacro(qint64 macroId, const QString& name) {
    if (const QString bad = checkTreeName(name); !bad.isEmpty()) return {false, bad, 0};
    try {
        store::Transaction transaction(m_db);
        if (!macroExists(m_db, macroId)) return refused(tree_text::kNoSuchMacro);
        if (macroNameTaken(m_db, name, macroId)) return refused(tree_text::kMacroExists);
        m_db.run(QStringLiteral("UPDATE Macros SET Macro = ? WHERE Macro_ID = ?"), {name, macroId});
        transaction.commit();
        return done(macroId);
    } catch (const store::StoreError& e) {
        return failed(e);
    }
}

TreeResult MacroTree::moveFolder(qint64 folderId, qint64 newParentId) {
    try {
        store::Transaction transaction(m_db);
        if (!folderExists(m_db, folderId)) return refused(tree_text::kNoSuchFolder);
        if (newParentId != kTopLevel && !folderExists(m_db, newParentId))
            return refused(tree_text::kNoSuchFolder);
        // A folder inside its own branch would drop out of the tree with everything in it.
        if (isSameOrBelow(m_db, newParentId, folderId)) return refused(tree_text::kFolderIntoItself);
        m_db.run(QStringLiteral("UPDATE MacroFolders SET Parent_ID = ? WHERE MacroFolder_ID = ?"),
                 {newParentId, folderId});
        transaction.commit();
        return done(folderId);
    } catch (const store::StoreError& e) {
        return failed(e);
    }
}

TreeResult MacroTree::moveMacro(qint64 macroId, qint64 folderId) {
    try {
        store::Transaction transaction(m_db);
        if (!macroExists(m_db, macroId)) return refused(tree_text::kNoSuchMacro);
        if (folderId != kTopLevel && !folderExists(m_db, folderId)) return refused(tree_text::kNoSuchFolder);
        m_db.run(QStringLiteral("UPDATE Macros SET MacroFolder_ID = ? WHERE Macro_ID = ?"),
                 {folderId, macroId});
        transaction.commit();
        return done(macroId);
    } catch (const store::StoreError& e) {
        return failed(e);
    }
}

TreeResult MacroTree::reorderMacro(qint64 macroId, qint64 ontoMacroId) {
    try {
        store::Transaction transaction(m_db);
        const auto folder = folderOfMacro(m_db, macroId);
        const auto ontoFolder = folderOfMacro(m_db, ontoMacroId);
        if (!folder || !ontoFolder) return refused(tree_text::kNoSuchMacro);
        if (*folder != *ontoFolder) return refused(tree_text::kOtherFolderOrder);
        if (macroId == ontoMacroId) return done(macroId);

        std::vector<qint64> order;
        QSqlQuery query =
            m_db.run(QStringLiteral("SELECT Macro_ID FROM Macros WHERE coalesce(MacroFolder_ID, 0) = ? "
                                    "ORDER BY SortOrder, Macro_ID"),
                     {*folder});
        while (query.next()) order.push_back(query.value(0).toLongLong());
        query.finish();
        const auto ontoAt = std::find(order.begin(), order.end(), ontoMacroId) - order.begin();
        order.erase(std::find(order.begin(), order.end(), macroId));
        order.insert(order.begin() + ontoAt, macroId);

        QSqlQuery renumber =
            m_db.prepare(QStringLiteral("UPDATE Macros SET SortOrder = ? WHERE Macro_ID = ?"));
        for (std::size_t i = 0; i < order.size(); ++i) {
            renumber.addBindValue(static_cast<qint64>(i + 1));
            renumber.addBindValue(order[i]);
            m_db.exec(renumber);
        }
        transaction.commit();
        return done(macroId);
    } catch (const store::StoreError& e) {
        return failed(e);
    }
}

TreeResult MacroTree::pasteMacro(const QString& copiedName, qint64 folderId) {
    const QString name = copiedName + QString::fromLatin1(kCopySuffix);
    try {
        store::Transaction transaction(m_db);
        const auto copied = rows::macroIdByName(m_db, copiedName);
        if (!copied) return refused(tree_text::kNoSuchMacro);
        if (macroNameTaken(m_db, name, 0)) return refused(tree_text::kMacroExists);
        if (folderId != kTopLevel && !folderExists(m_db, folderId)) return refused(tree_text::kNoSuchFolder);
        const qint64 id = insertMacro(m_db, name, folderId);
        QStringList messages;
        rows::writeMacroLines(m_db, id, rows::readMacroLines(m_db, *copied), messages);
        transaction.commit();
        return done(id, messages.join(QLatin1Char('\n')));
    } catch (const store::StoreError& e) {
        return failed(e);
    }
}

TreeResult MacroTree::deleteMacro(qint64 macroId) {
    try {
        store::Transaction transaction(m_db);
        if (!macroExists(m_db, macroId)) return refused(tree_text::kNoSuchMacro);
        rows::deleteMacroLines(m_db, macroId);
        m_db.run(QStringLiteral("DELETE FROM Macros WHERE Macro_ID = ?"), {macroId});
        transaction.commit();
        return done(macroId);
    } catch (const store::StoreError& e) {
        return failed(e);
    }
}

TreeResult MacroTree::deleteFolder(qint64 folderId) {
    try {
        store::Transaction transaction(m_db);
        if (!folderExists(m_db, folderId)) return refused(tree_text::kNoSuchFolder);
        const qint64 held =
            m_db.value(QStringLiteral("SELECT count(*) FROM MacroFolders WHERE Parent_ID = ?"), {folderId})
                .toLongLong() +
            m_db.value(QStringLiteral("SELECT count(*) FROM Macros WHERE MacroFolder_ID = ?"), {folderId})
                .toLongLong();
        if (held > 0) return refused(tree_text::kFolderNotEmpty);
        m_db.run(QStringLiteral("DELETE FROM MacroFolders WHERE MacroFolder_ID = ?"), {folderId});
        transaction.commit();
        return done(folderId);
    } catch (const store::StoreError& e) {
        return failed(e);
    }
}

}  // namespace qv::macros
