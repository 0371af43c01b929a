#pragma once

#include <string>
#include <vector>

// What the player can ask of the game.
constexpr int COMMAND_NONE = -1;
constexpr int COMMAND_LEFT = 0;
constexpr int COMMAND_RIGHT = 1;
constexpr int COMMAND_FIRE = 2;
constexpr int COMMAND_AUTO = 3;
constexpr int COMMAND_PAUSE = 4;
constexpr int COMMAND_FAST = 5;
constexpr int COMMAND_HUD = 6;
constexpr int COMMAND_STATS = 7;
constexpr int COMMAND_GRAPH = 8;
constexpr int COMMAND_WATCH = 9;
constexpr int COMMAND_EVOLVED = 10;
constexpr int COMMAND_BLANK = 11;
constexpr int COMMAND_SAVE = 12;
constexpr int COMMAND_LOAD = 13;
constexpr int COMMAND_CAPTURE = 14;
constexpr int COMMAND_HELP = 15;
constexpr int COMMAND_QUIT = 16;
constexpr int COMMAND_ESCAPE = 17;
constexpr int COMMAND_INSPECT = 18;
constexpr int COMMAND_UNINSPECT = 19;
constexpr int COMMAND_DRIVE = 20; // a finger held on the picture: the gun slides to it
constexpr int COMMAND_CHALLENGE = 21;
constexpr int COMMAND_MUTE = 22;

// Special keys by GLUT's codes, which the window passes on as they are.
constexpr int SPECIAL_KEY_F1 = 1;
constexpr int SPECIAL_KEY_LEFT = 100;
constexpr int SPECIAL_KEY_RIGHT = 102;

// Every command the player can give, in the one table that the keyboard, the page's buttons,
// the touch screen's buttons and the help page go by: no control can run another command than
// the table gives it, and the help page is checked against it. A command has a name (the page
// asks for it by name), the keys that run it as the help page names them, the key or special
// key that runs it, and, where it has one, the label of its button: on the touch bar, among
// the page's buttons, or both.
class CCommands
{
public:
    struct SCommand
    {
        int iId;
        const char* szName;
        const char* szHelpKey; // as the help page's key column names it: "Space", "left click"
        int iKey;              // the character that runs it, or 0
        int iSpecialKey;       // the special key that runs it, or 0
        const char* szLabel;   // its button's label, or nullptr
        bool bTouch;           // a button on touch screens
        bool bPage;            // a button among the page's
        const char* szDoes;    // what it does, in a few words, for a button's help
    };

    static const std::vector<SCommand>& all();
    // COMMAND_NONE when nothing runs it.
    static int forKey(int key);
    static int forSpecialKey(int key);
    static int forName(const std::string& name);
    // The buttons, for the page to make: a JSON array of {"name", "label", "touch", "page",
    // "help"}.
    static std::string buttonsJson();
};
