#include <gtest/gtest.h>

#include "db/progress_quote_database.h"
#include "volume_test_support.h"

TEST(ProgressDatabase, CountsEveryReadableEntryOfEachCopyAndHidesItsWindowBetween)
{
    ScratchFolder folder;
    ProgressQuoteDatabase db;
    append_quotes(db, 10);
    for (uint32_t n : {2u, 5u, 7u})
        delete_item(db, n);
    EXPECT_EQ(-1, db.busy());
    QuoteEntry deleted = stored_entry(db, 2);
    ASSERT_EQ(1u, db.undelete_item(deleted));
    EXPECT_EQ(0u, db.progress().Count());  // no copy ran

    ASSERT_EQ(1u, db.pack());
    EXPECT_EQ(10u, db.progress().Count());
    EXPECT_EQ(0, db.busy());
    ASSERT_TRUE(db.progress().Handle());
    EXPECT_FALSE(IsWindowVisible(db.progress().Handle()));

    ASSERT_EQ(1u, db.pack());
    EXPECT_EQ(8u, db.progress().Count());
    EXPECT_EQ((std::vector<std::string>{"quote 0", "quote 1", "quote 2", "quote 3", "quote 4",
                                        "quote 6", "quote 8", "quote 9"}),
              item_texts(db));
}
