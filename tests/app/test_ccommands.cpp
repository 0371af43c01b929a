#include "app/ccommands.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "app/cquitconfirm.h"
#include "app/helppage.h"

namespace
{
// The keys the shipped help page names in its key column ("s, l" names two).
std::set<std::string> helpPageKeys()
{
    std::set<std::string> keys;
    for (const std::string& line : readHelpLines(KA_SOURCE_DIR "/HelpPage.txt"))
    {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        const std::string column = line.substr(0, tab);
        static const std::regex separator(", ");
        for (std::sregex_token_iterator key(column.begin(), column.end(), separator, -1), end; key != end; ++key)
            keys.insert(*key);
    }
    return keys;
}

// The help page lists exactly the table's commands, each under the key the table gives it: a
// key added to one and not the other fails here.
TEST(CCommandsTest, TheHelpPageListsEveryCommandOfTheTableAndNothingElse)
{
    std::set<std::string> table;
    for (const CCommands::SCommand& command : CCommands::all())
        EXPECT_TRUE(table.insert(command.szHelpKey).second) << command.szHelpKey << " twice in the table";
    EXPECT_EQ(helpPageKeys(), table);
}

// Every key, special key, name and button finds its own command and no other; nothing unknown
// finds one; the page's buttons are the labelled commands, the touch bar's those it asks for.
TEST(CCommandsTest, EachWayOfAskingFindsItsOwnCommand)
{
    std::set<int> ids, keys, specials;
    for (const CCommands::SCommand& command : CCommands::all())
    {
        EXPECT_TRUE(ids.insert(command.iId).second);
        EXPECT_EQ(CCommands::forName(command.szName), command.iId);
        if (command.iKey != 0)
        {
            EXPECT_TRUE(keys.insert(command.iKey).second);
            EXPECT_EQ(CCommands::forKey(command.iKey), command.iId);
        }
        if (command.iSpecialKey != 0)
        {
            EXPECT_TRUE(specials.insert(command.iSpecialKey).second);
            EXPECT_EQ(CCommands::forSpecialKey(command.iSpecialKey), command.iId);
        }
        EXPECT_TRUE(command.szLabel || (!command.bTouch && !command.bPage)) << command.szName;
    }
    EXPECT_EQ(CCommands::forKey('x'), COMMAND_NONE);
    EXPECT_EQ(CCommands::forKey(0), COMMAND_NONE);
    EXPECT_EQ(CCommands::forName("format c:"), COMMAND_NONE);
    const std::string buttons = CCommands::buttonsJson();
    EXPECT_NE(buttons.find(R"({"name":"fire","label":"Fire","touch":true,"page":false,"help":"start or stop firing"})"),
              std::string::npos);
    EXPECT_NE(buttons.find(R"({"name":"watch","label":"Watch evolution","touch":true,"page":true,"help":"the gun )"
                           R"(plays, fast, with the graph; again to stop"})"),
              std::string::npos);
    EXPECT_EQ(buttons.find("\"save\""), std::string::npos) << "no button for a command without a label";
}

// A second q within three seconds ends the game; a slower one asks again.
TEST(CQuitConfirmTest, OnlyASecondPressWithinTheWindowEnds)
{
    CQuitConfirm confirm;
    EXPECT_FALSE(confirm.press(1000));
    EXPECT_FALSE(confirm.press(1000 + CQuitConfirm::kWindowMs + 1));
    EXPECT_TRUE(confirm.press(1000 + CQuitConfirm::kWindowMs + 2000));
}

// q, Escape, q: Escape took the question back, so the second q asks again and ends nothing.
TEST(CQuitConfirmTest, QEscapeQEndsTheGameIsMended)
{
    CQuitConfirm confirm;
    EXPECT_FALSE(confirm.withdraw(500)) << "nothing asked yet";
    EXPECT_FALSE(confirm.press(1000));
    EXPECT_TRUE(confirm.withdraw(1500));
    EXPECT_FALSE(confirm.press(2000));
    EXPECT_TRUE(confirm.press(2500));
}
} // namespace
