#include "portal/local_store.h"
#include "test_support.h"
#include "text/codepage.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace zorvia {
namespace {

// The game library's statements on a database made from the shipped schema.
class LocalStore : public test::RealDatabase {
protected:
    void SetUp() override {
        RealDatabase::SetUp();
        std::ifstream schema(ZORVIA_EMPTY_DB_SCHEMA);
        std::stringstream text;
        text << schema.rdbuf();
        ASSERT_FALSE(text.str().empty());
        db.Open();
        exec(text.str());
        db.Close();
    }

    void insert(const std::string& subject, const std::string& filename, const std::string& help) {
        portal::recordLocalGame(db, query, subject, filename, help);
    }
    bool exists(const std::string& filename) {
        return portal::localGameRecorded(db, query, filename);
    }
    void remove(const std::string& filename) { portal::deleteLocalGame(db, query, filename); }
};

TEST_F(LocalStore, AnyTitleFileNameAndHelpTextIsStoredAndMatchedExactly) {
    struct Game {
        std::string subject;
        std::string filename;
        std::string help;
    };
    const Game games[] = {
        {"Tom's \"Big\" Game", "tom's game.swf", "Press ' and \" -- not a comment"},
        {"\xD3\xCE\xCF\xB7'\xC3\xFB", "\xD3\xCE\xCF\xB7'.swf", "<p>line\r\nline2</p>"},
        {"semi; colon :name", "a;b.swf", "/* not */ a comment; drop table iflash"},
        {"''", "'", ""},
    };
    for (const Game& game : games) {
        ASSERT_FALSE(exists(game.filename)) << game.filename;
        insert(game.subject, game.filename, game.help);
        EXPECT_TRUE(exists(game.filename)) << game.filename;
    }

    db.Open();
    query.SQL().SetText("select * from iflash order by id desc");
    query.Open();
    for (int i = 3; i >= 0; --i, query.Next()) {
        ASSERT_FALSE(query.Eof());
        EXPECT_EQ(query.FieldByName("subject").AsString(), games[i].subject);
        EXPECT_EQ(query.FieldByName("filename").AsString(), games[i].filename);
        EXPECT_EQ(text::utf8ToAnsi(query.FieldByName("gamehelp").AsString()), games[i].help);
    }
    EXPECT_TRUE(query.Eof());
    query.Close();
    db.Close();

    remove(games[1].filename);
    EXPECT_FALSE(exists(games[1].filename));
    EXPECT_TRUE(exists(games[0].filename));
    EXPECT_FALSE(db.LibraryLoaded());
}

} // namespace
} // namespace zorvia
