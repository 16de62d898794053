// One user action, one transaction: the rows a reorder writes are stored all together or not
// at all, also when the process is killed half-way through writing them.

#include "store/DataManager.h"
#include "StoreTestSupport.h"

#include <sys/wait.h>
#include <unistd.h>

using tessaro::DataManager;

namespace {

class UserActionTransaction : public storetest::StoreTest {
protected:
    static constexpr int kFavorites = 500;

    void SetUp() override
    {
        DataManager db(file());
        ASSERT_TRUE(db.performInTransaction([&] {
            for (int person = 0; person < kFavorites; ++person) {
                if (!db.insertFavorite(std::to_string(person)))
                    return false;
            }
            return true;
        }));
    }

    // The stored order as person identifiers, top first.
    std::vector<std::string> order() const
    {
        DataManager db(file());
        std::vector<std::string> ids;
        for (const auto& favorite : db.selectFavorite())
            ids.push_back(favorite.contactID);
        return ids;
    }
    static std::vector<std::string> ascending()
    {
        std::vector<std::string> ids;
        for (int person = 0; person < kFavorites; ++person)
            ids.push_back(std::to_string(person));
        return ids;
    }
    static std::vector<std::string> reversed()
    {
        auto ids = ascending();
        std::reverse(ids.begin(), ids.end());
        return ids;
    }

    // Reverses the order, each favourite written in turn, stopping after `rows` of them:
    // by the writes answering false, or by the process dying on the spot.
    enum class Interruption { None, Refusal, Kill };
    bool reverseOrder(DataManager& db, int rows, Interruption interruption)
    {
        return db.performInTransaction([&] {
            for (int person = 0; person < kFavorites; ++person) {
                if (person == rows) {
                    if (interruption == Interruption::Kill)
                        _exit(0);
                    if (interruption == Interruption::Refusal)
                        return false;
                }
                if (!db.updateFavorite({ std::to_string(person), kFavorites - 1 - person }))
                    return false;
            }
            return true;
        });
    }
};

TEST_F(UserActionTransaction, AReorderKilledHalfWayLeavesTheOldOrder)
{
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        DataManager db(file());
        (void)reverseOrder(db, kFavorites / 2, Interruption::Kill);
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child did not die mid-way";
    EXPECT_EQ(order(), ascending());
}

TEST_F(UserActionTransaction, AReorderIsStoredWholeOrNotAtAll)
{
    {
        DataManager db(file());
        EXPECT_FALSE(reverseOrder(db, kFavorites / 2, Interruption::Refusal));
    }
    EXPECT_EQ(order(), ascending());
    {
        DataManager db(file());
        EXPECT_TRUE(reverseOrder(db, kFavorites, Interruption::None));
    }
    EXPECT_EQ(order(), reversed());
    {
        DataManager db(file());
        db.closeDatabese();
        EXPECT_FALSE(reverseOrder(db, kFavorites, Interruption::None)) << "a closed file stores nothing";
    }
}

} // namespace
