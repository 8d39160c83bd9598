#pragma once
// The macro tree: folders and macros as the editor shows them, and the
// operations on them (create, rename, move, reorder, paste a copy, delete).
// Each operation returns its outcome; the message is what the user is told.

#include "store/database.h"

#include <QString>

#include <optional>
#include <vector>

namespace qv::macros {

namespace tree_text {
inline constexpr char kBadName[] =
    "Sorry, you can only use Letters and Numbers for names in the tree... names can not begin with a "
    "numeric...";
inline constexpr char kMacroExists[] =
    "That Macro name already exists. You need to call this Macro something else.";
inline constexpr char kFolderExists[] =
    "That Folder name already exists. You need to call this Folder something else.";
inline constexpr char kOtherFolderOrder[] =
    "You can only change the order of Macros that appear in the same Folder.\n"
    "If you wish to move a Macro to another Folder, you need to drop it onto the actual Folder itself.";
inline constexpr char kFolderNotEmpty[] =
    "This folder is not empty and can not be deleted.\n"
    "You should delete, or move its contents elsewhere before trying to delete it";
inline constexpr char kFolderIntoItself[] =
    "A folder can not be moved into itself or into one of its own folders.";
inline constexpr char kNoSuchMacro[] = "That Macro no longer exists.";
inline constexpr char kNoSuchFolder[] = "That Folder no longer exists.";
}  // namespace tree_text

// The top level of the tree: folder number 0.
inline constexpr qint64 kTopLevel = 0;
// " (copy)" is appended to the name of a pasted macro.
inline constexpr char kCopySuffix[] = " (copy)";

struct TreeNode {
    enum class Kind { Root, Folder, Macro };
    Kind kind = Kind::Root;
    qint64 id = 0;      // MacroFolder_ID or Macro_ID; 0 for the root
    QString key;        // "Root", "Folder/" + id, "Macro/" + id
    QString parentKey;  // empty for the root
    QString caption;    // "Macros" for the root, else the name
    QString description;
    bool enabled = false;  // macros only
};

// A node key taken apart.
struct NodeRef {
    TreeNode::Kind kind = TreeNode::Kind::Root;
    qint64 id = 0;
};
std::optional<NodeRef> parseNodeKey(const QString& key);
QString folderKey(qint64 folderId);
QString macroKey(qint64 macroId);

struct TreeResult {
    bool ok = false;
    QString message;  // the user's message when refused or failed
    qint64 id = 0;    // the new folder or macro
};

// Empty when the name may be used in the tree, else the message: letters,
// digits and blanks only, not empty, not starting with a non-zero number.
QString checkTreeName(const QString& name);

class MacroTree {
public:
    explicit MacroTree(store::Database& db);

    // The root first, then folders (ascending Parent_ID, each after its
    // parent), then macros per folder in ascending SortOrder. A folder or
    // macro whose parent is gone hangs under the root. Empty on a database
    // failure, with the reason in error.
    std::vector<TreeNode> load(QString* error = nullptr);

    // In the given folder (kTopLevel for the top). A new macro is enabled and
    // takes its own Macro_ID as SortOrder, so it comes last in its folder.
    TreeResult createFolder(const QString& name, qint64 parentFolderId);
    TreeResult createMacro(const QString& name, qint64 folderId);

    TreeResult renameFolder(qint64 folderId, const QString& name);
    TreeResult renameMacro(qint64 macroId, const QString& name);

    // Dropping onto a folder (or kTopLevel for the root) moves into it.
    TreeResult moveFolder(qint64 folderId, qint64 newParentId);
    TreeResult moveMacro(qint64 macroId, qint64 folderId);
    // Dropping a macro onto another macro of the same folder: the dropped one
    // takes that place and the folder is renumbered 1, 2, 3, ...
    TreeResult reorderMacro(qint64 macroId, qint64 ontoMacroId);

    // A new macro named copied + " (copy)" in the folder, with the copied
    // macro's lines, all in one transaction.
    TreeResult pasteMacro(const QString& copiedName, qint64 folderId);

    // With its lines and the Orvanet and WAVfiles rows they own.
    TreeResult deleteMacro(qint64 macroId);
    // Only an empty folder.
    TreeResult deleteFolder(qint64 folderId);

private:
    store::Database& m_db;
};

}  // namespace qv::macros
