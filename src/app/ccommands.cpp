#include "app/ccommands.h"

#include <algorithm>

namespace
{
constexpr int kEscape = 27;

const std::vector<CCommands::SCommand> kCommands = {
    {COMMAND_LEFT, "left", "Left", 0, SPECIAL_KEY_LEFT, nullptr, false, false, "slide the gun left"},
    {COMMAND_RIGHT, "right", "Right", 0, SPECIAL_KEY_RIGHT, nullptr, false, false, "slide the gun right"},
    {COMMAND_CHALLENGE, "challenge", "n", 'n', 0, "Play", true, true, "a challenge: three lives, which red hits wear down, and kills score"},
    {COMMAND_FIRE, "fire", "Space", ' ', 0, "Fire", true, false, "start or stop firing"},
    {COMMAND_AUTO, "auto", "a", 'a', 0, "Auto", true, false, "the gun drives itself, or not"},
    {COMMAND_PAUSE, "pause", "p", 'p', 0, "Pause", true, false, "pause or resume the world"},
    {COMMAND_FAST, "fast", "f", 'f', 0, "Fast", true, false, "fast mode, up to 33 times real speed"},
    {COMMAND_HUD, "hud", "h", 'h', 0, nullptr, false, false, "the top line"},
    {COMMAND_STATS, "stats", "d", 'd', 0, nullptr, false, false, "statistics"},
    {COMMAND_GRAPH, "graph", "g", 'g', 0, "Graph", true, false, "how the dying ships fare against random brains"},
    {COMMAND_WATCH, "watch", "w", 'w', 0, "Watch evolution", true, true, "the gun plays, fast, with the graph; again to stop"},
    {COMMAND_EVOLVED, "evolved", "e", 'e', 0, "Meet evolved aliens", true, true, "a new world of evolved ships; again, of fresh ones"},
    {COMMAND_BLANK, "blank", "` (grave)", '`', 0, nullptr, false, false, "blank the screen"},
    {COMMAND_SAVE, "save", "s", 's', 0, nullptr, false, false, "save the green brain pool"},
    {COMMAND_LOAD, "load", "l", 'l', 0, nullptr, false, false, "load the green brain pool"},
    {COMMAND_CAPTURE, "capture", "C (capital)", 'C', 0, nullptr, false, false, "capture the picture"},
    {COMMAND_MUTE, "mute", "m", 'm', 0, "Mute", true, true, "sound off or on"},
    {COMMAND_HELP, "help", "F1", 0, SPECIAL_KEY_F1, "Help", true, false, "this page"},
    {COMMAND_QUIT, "quit", "q", 'q', 0, nullptr, false, false, "end the game"},
    {COMMAND_ESCAPE, "escape", "Escape", kEscape, 0, nullptr, false, false, "close what is open"},
    {COMMAND_INSPECT, "inspect", "left click", 0, 0, nullptr, false, false, "look into a ship"},
    {COMMAND_UNINSPECT, "uninspect", "right click", 0, 0, nullptr, false, false, "stop looking"},
    {COMMAND_DRIVE, "drive", "finger held", 0, 0, nullptr, false, false, "the gun slides to the finger"},
};

int find(bool (*matches)(const CCommands::SCommand&, int), int value)
{
    const auto command = std::find_if(kCommands.begin(), kCommands.end(),
                                      [&](const CCommands::SCommand& c) { return matches(c, value); });
    return command == kCommands.end() ? COMMAND_NONE : command->iId;
}
} // namespace

const std::vector<CCommands::SCommand>& CCommands::all()
{
    return kCommands;
}

int CCommands::forKey(int key)
{
    return key == 0 ? COMMAND_NONE : find([](const SCommand& c, int k) { return c.iKey == k; }, key);
}

int CCommands::forSpecialKey(int key)
{
    return key == 0 ? COMMAND_NONE : find([](const SCommand& c, int k) { return c.iSpecialKey == k; }, key);
}

int CCommands::forName(const std::string& name)
{
    for (const SCommand& command : kCommands)
        if (name == command.szName)
            return command.iId;
    return COMMAND_NONE;
}

std::string CCommands::buttonsJson()
{
    std::string json = "[";
    for (const SCommand& command : kCommands)
    {
        if (!command.szLabel)
            continue;
        if (json.size() > 1)
            json += ",";
        json += std::string("{\"name\":\"") + command.szName + "\",\"label\":\"" + command.szLabel +
                "\",\"touch\":" + (command.bTouch ? "true" : "false") + ",\"page\":" +
                (command.bPage ? "true" : "false") + ",\"help\":\"" + command.szDoes + "\"}";
    }
    return json + "]";
}
