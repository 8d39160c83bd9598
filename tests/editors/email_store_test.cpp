#include "editors/email_store.h"
#include "features/reactions/reactions_fixture.h"

namespace qv::editors {
namespace {

class EmailStoreTest : public ::testing::Test {
protected:
    reactions::test::MainDb main;
    EmailStore emails{main.db};
};

TEST_F(EmailStoreTest, TheFourChecksComeInOrderAndStoreNothing) {
    auto result = emails.save({0, "", "", "", ""});
    EXPECT_EQ(result.message, EmailStore::kNeedName);
    EXPECT_EQ(result.icon, reactions::MessageIcon::Critical);
    EXPECT_EQ(emails.save({0, "Alarm", "", "", "body"}).message, EmailStore::kNeedRecipient);
    EXPECT_EQ(emails.save({0, "Alarm", "a@b.c", "", "body"}).message, EmailStore::kNeedSubject);
    EXPECT_EQ(emails.save({0, "Alarm", "a@b.c", "Hi", ""}).message, EmailStore::kNeedMessage);
    EXPECT_TRUE(emails.all().empty());
}

TEST_F(EmailStoreTest, SavingByNameRewritesAndADeletedEmailsLineFindsNothing) {
    ASSERT_TRUE(emails.save({0, "O'Brien's alarm", "a@b.c", "Hi", "one"}).done);
    ASSERT_TRUE(emails.save({0, "o'brien's ALARM", "x@y.z", "Hi", "two"}).done);
    ASSERT_EQ(emails.all().size(), 1u);
    const StoredEmail stored = *emails.find("O'Brien's alarm");
    EXPECT_EQ(stored.recipients, "x@y.z");
    EXPECT_EQ(stored.message, "two");

    // A macro line names the e-mail by number; after deleting it and adding
    // another (even under the same name) the line still names nothing.
    const int macro = main.addMacro("Demo Mail");
    main.exec("INSERT INTO MacrosDetails (Macro_ID, Email_ID) VALUES (?, ?)", {macro, stored.id});
    ASSERT_TRUE(emails.remove("O'Brien's alarm").done);
    ASSERT_TRUE(emails.save({0, "O'Brien's alarm", "a@b.c", "Hi", "three"}).done);
    ASSERT_TRUE(emails.save({0, "Other", "a@b.c", "Hi", "four"}).done);
    const int lineEmail = main.count("SELECT Email_ID FROM MacrosDetails WHERE Macro_ID = ?", {macro});
    EXPECT_EQ(emails.byId(lineEmail), std::nullopt);
    EXPECT_GT(emails.find("O'Brien's alarm")->id, stored.id);
    EXPECT_EQ(main.count("SELECT count(*) FROM Emails WHERE Email_ID = ?", {stored.id}), 0);
}

}  // namespace
}  // namespace qv::editors
