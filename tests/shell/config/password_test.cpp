// The configuration password as stored: salted hashes, plain passwords left
// by older programs, blank passwords, and typed text that looks like SQL.

#include "config_fixture.h"

#include <cstring>
#include "shell/config/password.h"
#include "shell/config/settings.h"
#include "shell/config/settings_writer.h"
#include "support/case_names.h"

namespace qv::config {
namespace {

using test::ConfigTest;

class PasswordTest : public ConfigTest {
protected:
    void storePassword(const QString& value) { exec("UPDATE Password SET Password = ?", {value}); }
    std::vector<StoredPassword> stored() { return readStoredPasswords(*main); }
};

TEST_F(PasswordTest, AHashIsSaltedAndOnlyTheRightPasswordMatchesIt) {
    const QString first = hashPassword("Lights42", HashCost::Minimum);
    const QString second = hashPassword("Lights42", HashCost::Minimum);
    EXPECT_TRUE(isPasswordHash(first));
    EXPECT_TRUE(first.startsWith("$argon2id$"));
    EXPECT_FALSE(first.contains("Lights42"));
    EXPECT_NE(first, second);  // salted: the same password never gives the same text

    storePassword(first);
    EXPECT_TRUE(passwordRequired(stored()));
    EXPECT_TRUE(passwordAccepted(stored(), "Lights42"));
    EXPECT_FALSE(passwordAccepted(stored(), "lights42"));
    EXPECT_FALSE(passwordAccepted(stored(), "Lights4"));
    EXPECT_FALSE(passwordAccepted(stored(), ""));
}

struct BlankRow {
    const char* stored;
};

void PrintTo(const BlankRow& row, std::ostream* os) {
    *os << qv::test::caseName("length", std::strlen(row.stored));
}
class BlankPassword : public PasswordTest, public ::testing::WithParamInterface<BlankRow> {};
TEST_P(BlankPassword, OpensWithoutAsking) {
    storePassword(GetParam().stored);
    EXPECT_FALSE(passwordRequired(stored()));
    EXPECT_TRUE(passwordAccepted(stored(), "anything"));
}
INSTANTIATE_TEST_SUITE_P(Rows, BlankPassword, ::testing::Values(BlankRow{""}, BlankRow{"   "}));

TEST_F(PasswordTest, AnEmptyPasswordTableOpensWithoutAsking) {
    exec("DELETE FROM Password");
    EXPECT_FALSE(passwordRequired(stored()));
}

TEST_F(PasswordTest, APlainPasswordFromAnOlderProgramStillOpens) {
    storePassword("Manager7");
    EXPECT_TRUE(passwordRequired(stored()));
    EXPECT_TRUE(passwordAccepted(stored(), "Manager7"));
    EXPECT_FALSE(passwordAccepted(stored(), "Manager"));
}

TEST_F(PasswordTest, TypedQuotesAreNeverSql) {
    storePassword("Manager7");
    for (const char* attack : {"' OR ''='", "x' OR '1'='1", "Manager7' --", "'; DELETE FROM Password; --"})
        EXPECT_FALSE(passwordAccepted(stored(), attack)) << attack;
    EXPECT_EQ(count("Password"), 1);
}

TEST_F(PasswordTest, SavingReplacesAPlainPasswordByItsHash) {
    storePassword("Manager7");
    storeSettings(*main, loadSettings(*main).settings, std::nullopt);
    const QString now = scalar("SELECT Password FROM Password").toString();
    EXPECT_TRUE(isPasswordHash(now));
    EXPECT_TRUE(passwordAccepted(stored(), "Manager7"));
    EXPECT_FALSE(passwordAccepted(stored(), now));  // the hash itself is not the password
}

TEST_F(PasswordTest, SavingKeepsABlankPasswordBlank) {
    storePassword("   ");
    storeSettings(*main, loadSettings(*main).settings, std::nullopt);
    EXPECT_FALSE(passwordRequired(stored()));
}

TEST_F(PasswordTest, ANewPasswordBecomesTheOnlyRowAlsoInAnEmptyTable) {
    for (const char* before :
         {"INSERT INTO Password (Password) VALUES ('Second1')", "DELETE FROM Password"}) {
        SCOPED_TRACE(before);
        exec(before);
        storeSettings(*main, loadSettings(*main).settings, hashPassword("Fresh9", HashCost::Minimum));
        EXPECT_EQ(count("Password"), 1);
        EXPECT_TRUE(passwordAccepted(stored(), "Fresh9"));
        EXPECT_FALSE(passwordAccepted(stored(), "Second1"));
    }
}

}  // namespace
}  // namespace qv::config
