// The macro tree: node keys and order, name rules and uniqueness, moves
// (never into a folder's own branch), reordering within a folder, pasting a
// copy with its lines, and the delete rules.

#include "macro_fixture.h"

#include "macros/macro_store.h"
#include "macros/macro_tree.h"
#include "support/case_names.h"

namespace qv::macros::test {
namespace {

class MacroTreeTest : public MacroDbTest {
protected:
    void SetUp() override {
        MacroDbTest::SetUp();
        tree.emplace(*db);
    }

    // "key<parentKey" per node, in load order.
    QStringList shape() {
        QStringList out;
        QString error;
        for (const TreeNode& node : tree->load(&error)) out << node.key + QLatin1Char('<') + node.parentKey;
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return out;
    }

    QStringList macroOrder(qint64 folder) {
        QStringList names;
        QSqlQuery q(db->handle());
        q.prepare(
            "SELECT Macro FROM Macros WHERE coalesce(MacroFolder_ID, 0) = ? ORDER BY SortOrder, Macro_ID");
        q.addBindValue(folder);
        q.exec();
        while (q.next()) names << q.value(0).toString();
        return names;
    }

    std::optional<MacroTree> tree;
};

struct NameRow {
    const char* name;
    bool allowed;
};

void PrintTo(const NameRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.name);
}

class TreeNameTest : public ::testing::TestWithParam<NameRow> {};

TEST_P(TreeNameTest, OnlyLettersDigitsAndBlanksNotStartingWithANumber) {
    const QString message = checkTreeName(QString::fromUtf8(GetParam().name));
    EXPECT_EQ(message.isEmpty(), GetParam().allowed) << GetParam().name;
    if (!GetParam().allowed) {
        EXPECT_EQ(message,
                  QStringLiteral("Sorry, you can only use Letters and Numbers for names in the tree... "
                                 "names can not begin with a numeric..."));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, TreeNameTest,
                         ::testing::Values(NameRow{"Evening Scene", true}, NameRow{"Level 2 lights", true},
                                           NameRow{"0 to start", true}, NameRow{"", false},
                                           NameRow{"2nd floor", false}, NameRow{" 5 blank first", false},
                                           NameRow{"O'Brien", false}, NameRow{"a-b", false},
                                           NameRow{"x (copy)", false}, NameRow{"Caf\xc3\xa9", false},
                                           NameRow{"Robert'); DROP TABLE Macros;--", false}));

TEST_F(MacroTreeTest, RootFoldersAndMacrosWithTheirKeys) {
    const qint64 a = tree->createFolder("Lobby", kTopLevel).id;
    const qint64 b = tree->createFolder("Evening", a).id;
    const qint64 m1 = tree->createMacro("Lights on", b).id;
    const qint64 m2 = tree->createMacro("Top macro", kTopLevel).id;
    const QStringList expected = {
        QStringLiteral("Root<"),
        folderKey(a) + QStringLiteral("<Root"),
        folderKey(b) + QLatin1Char('<') + folderKey(a),
        macroKey(m1) + QLatin1Char('<') + folderKey(b),
        macroKey(m2) + QStringLiteral("<Root"),
    };
    EXPECT_EQ(shape(), expected);
    const std::vector<TreeNode> nodes = tree->load();
    EXPECT_EQ(nodes.front().caption, QStringLiteral("Macros"));
    EXPECT_TRUE(nodes.back().enabled);
    EXPECT_EQ(scalar("SELECT SortOrder FROM Macros WHERE Macro_ID = ?", {m2}).toLongLong(), m2);

    const auto ref = parseNodeKey(macroKey(m1));
    ASSERT_TRUE(ref);
    EXPECT_EQ(ref->kind, TreeNode::Kind::Macro);
    EXPECT_EQ(ref->id, m1);
    EXPECT_FALSE(parseNodeKey(QStringLiteral("Macro/x")));
}

TEST_F(MacroTreeTest, OrphanedFoldersAndMacrosHangUnderTheRoot) {
    exec("INSERT INTO MacroFolders (MacroFolder_ID, MacroFolder, Parent_ID) VALUES (5, 'Lost', 99)");
    // Two folders that name each other as parent.
    exec(
        "INSERT INTO MacroFolders (MacroFolder_ID, MacroFolder, Parent_ID) VALUES (6, 'Loop a', 7), "
        "(7, 'Loop b', 6)");
    addMacro("Stray", 1, 42);
    const QStringList nodes = shape();
    EXPECT_TRUE(nodes.contains(QStringLiteral("Folder/5<Root")));
    EXPECT_TRUE(nodes.contains(QStringLiteral("Folder/7<Root")));
    EXPECT_TRUE(nodes.contains(QStringLiteral("Folder/6<Folder/7")));
    EXPECT_TRUE(nodes.last().endsWith(QStringLiteral("<Root")));
    EXPECT_EQ(nodes.size(), 5);
}

TEST_F(MacroTreeTest, NamesAreUniqueWhateverTheirCase) {
    ASSERT_TRUE(tree->createMacro("Night", kTopLevel).ok);
    EXPECT_EQ(tree->createMacro("NIGHT", kTopLevel).message,
              QStringLiteral("That Macro name already exists. You need to call this Macro something else."));
    ASSERT_TRUE(tree->createFolder("Night", kTopLevel).ok);  // folders are another name space
    EXPECT_EQ(
        tree->createFolder("night", kTopLevel).message,
        QStringLiteral("That Folder name already exists. You need to call this Folder something else."));
    EXPECT_FALSE(tree->createMacro("9 lives", kTopLevel).ok);
    EXPECT_FALSE(tree->createMacro("In nowhere", 1234).ok);
    EXPECT_EQ(count("Macros"), 1);
}

TEST_F(MacroTreeTest, RenameChecksTheNameButAllowsTheSameNameInAnotherCase) {
    const qint64 night = tree->createMacro("Night", kTopLevel).id;
    tree->createMacro("Day", kTopLevel);
    EXPECT_TRUE(tree->renameMacro(night, "NIGHT").ok);
    EXPECT_FALSE(tree->renameMacro(night, "day").ok);
    EXPECT_FALSE(tree->renameMacro(night, "Night!").ok);
    EXPECT_FALSE(tree->renameMacro(999, "Other").ok);
    EXPECT_EQ(scalar("SELECT Macro FROM Macros WHERE Macro_ID = ?", {night}).toString(),
              QStringLiteral("NIGHT"));

    const qint64 folder = tree->createFolder("Old", kTopLevel).id;
    EXPECT_TRUE(tree->renameFolder(folder, "New").ok);
    EXPECT_FALSE(tree->renameFolder(folder, "").ok);
}

TEST_F(MacroTreeTest, FolderCannotMoveIntoItselfOrItsOwnBranch) {
    const qint64 a = tree->createFolder("A", kTopLevel).id;
    const qint64 b = tree->createFolder("B", a).id;
    const qint64 c = tree->createFolder("C", b).id;
    for (qint64 target : {a, b, c}) {
        const TreeResult r = tree->moveFolder(a, target);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message,
                  QStringLiteral("A folder can not be moved into itself or into one of its own folders."));
    }
    EXPECT_TRUE(tree->moveFolder(c, kTopLevel).ok);
    EXPECT_TRUE(tree->moveFolder(a, c).ok);  // c is no longer below a
    EXPECT_EQ(scalar("SELECT Parent_ID FROM MacroFolders WHERE MacroFolder_ID = ?", {a}).toLongLong(), c);
}

TEST_F(MacroTreeTest, MacroDroppedOnAFolderMovesIntoIt) {
    const qint64 f = tree->createFolder("F", kTopLevel).id;
    const qint64 m = tree->createMacro("M", kTopLevel).id;
    EXPECT_TRUE(tree->moveMacro(m, f).ok);
    EXPECT_EQ(macroOrder(f), QStringList{"M"});
    EXPECT_TRUE(tree->moveMacro(m, kTopLevel).ok);
    EXPECT_FALSE(tree->moveMacro(m, 777).ok);
}

struct ReorderRow {
    const char* dragged;
    const char* onto;
    const char* order;
};

void PrintTo(const ReorderRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.dragged, row.onto);
}

class ReorderTest : public MacroTreeTest, public ::testing::WithParamInterface<ReorderRow> {};

TEST_P(ReorderTest, DroppedMacroTakesThePlaceOfTheTarget) {
    std::map<QString, qint64> ids;
    for (const char* name : {"A", "B", "C", "D"})
        ids[QString::fromLatin1(name)] = tree->createMacro(QString::fromLatin1(name), kTopLevel).id;
    const TreeResult r = tree->reorderMacro(ids[GetParam().dragged], ids[GetParam().onto]);
    EXPECT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(macroOrder(kTopLevel).join(QString()), QString::fromLatin1(GetParam().order));
}

INSTANTIATE_TEST_SUITE_P(Rows, ReorderTest,
                         ::testing::Values(ReorderRow{"A", "C", "BCAD"}, ReorderRow{"D", "A", "DABC"},
                                           ReorderRow{"B", "C", "ACBD"}, ReorderRow{"C", "B", "ACBD"},
                                           ReorderRow{"B", "B", "ABCD"}));

TEST_F(MacroTreeTest, NewMacroComesLastAfterARenumbering) {
    const qint64 a = tree->createMacro("A", kTopLevel).id;
    const qint64 b = tree->createMacro("B", kTopLevel).id;
    tree->reorderMacro(b, a);
    tree->createMacro("C", kTopLevel);
    EXPECT_EQ(macroOrder(kTopLevel), QStringList({"B", "A", "C"}));
}

TEST_F(MacroTreeTest, PasteCreatesACopyWithTheSameLines) {
    const qint64 f = tree->createFolder("F", kTopLevel).id;
    tree->createMacro("Scene", kTopLevel);
    MacroStore store(*db);
    MacroLines lines;
    lines.append({}, "(ORVANET:) (AREA:)1 (PRESET:)2 (FADE:)1", "one");
    lines.append({}, "(WAV:)/a.wav", "two");
    ASSERT_TRUE(store.SaveMacroLines("Scene", lines).saved);

    const TreeResult pasted = tree->pasteMacro("Scene", f);
    ASSERT_TRUE(pasted.ok) << pasted.message.toStdString();
    const MacroLines copy = store.LoadMacroLines("Scene (copy)").lines;
    EXPECT_EQ(copy.commandLines, lines.commandLines);
    EXPECT_EQ(copy.comments, lines.comments);
    EXPECT_EQ(macroOrder(f), QStringList{"Scene (copy)"});
    // The copy owns its own rows.
    EXPECT_EQ(count("Orvanet"), 2);
    EXPECT_EQ(count("WAVfiles"), 2);

    EXPECT_EQ(tree->pasteMacro("Scene", f).message,
              QStringLiteral("That Macro name already exists. You need to call this Macro something else."));
    EXPECT_FALSE(tree->pasteMacro("Nothing", f).ok);
}

TEST_F(MacroTreeTest, DeletingAMacroTakesItsOwnedRowsAndLeavesSharedOnes) {
    const qint64 m = tree->createMacro("M", kTopLevel).id;
    const qint64 email = addEmail("Shared", "a@b", "s", "m");
    MacroStore store(*db);
    MacroLines lines;
    lines.append({}, "(ORVANET:) (AREA:)1 (PRESET:)2 (FADE:)1", {});
    lines.append({}, "(WAV:)/a.wav", {});
    lines.append({}, QStringLiteral("(EMAIL:)%1").arg(email), {});
    ASSERT_TRUE(store.SaveMacroLines("M", lines).saved);

    EXPECT_TRUE(tree->deleteMacro(m).ok);
    EXPECT_EQ(count("Macros"), 0);
    EXPECT_EQ(count("MacrosDetails"), 0);
    EXPECT_EQ(count("Orvanet"), 0);
    EXPECT_EQ(count("WAVfiles"), 0);
    EXPECT_EQ(count("Emails"), 1);
    EXPECT_FALSE(tree->deleteMacro(m).ok);
}

TEST_F(MacroTreeTest, OnlyAnEmptyFolderIsDeleted) {
    const qint64 outer = tree->createFolder("Outer", kTopLevel).id;
    const qint64 inner = tree->createFolder("Inner", outer).id;
    const qint64 m = tree->createMacro("M", inner).id;
    const QString notEmpty = QStringLiteral(
        "This folder is not empty and can not be deleted.\n"
        "You should delete, or move its contents elsewhere before trying to "
        "delete it");
    EXPECT_EQ(tree->deleteFolder(outer).message, notEmpty);
    EXPECT_EQ(tree->deleteFolder(inner).message, notEmpty);
    tree->deleteMacro(m);
    EXPECT_TRUE(tree->deleteFolder(inner).ok);
    EXPECT_TRUE(tree->deleteFolder(outer).ok);
    EXPECT_EQ(count("MacroFolders"), 0);
}

TEST_F(MacroTreeTest, DatabaseFailureIsReportedNotThrown) {
    exec("DROP TABLE MacroFolders");
    QString error;
    EXPECT_TRUE(tree->load(&error).empty());
    EXPECT_FALSE(error.isEmpty());
    const TreeResult r = tree->createFolder("F", kTopLevel);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QStringLiteral("could not be changed")));
}

}  // namespace
}  // namespace qv::macros::test
