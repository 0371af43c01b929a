#include "app/ccommands.h"

#include <algorithm>

namespace
{
constexpr int kEscape = 27;

const std::vector<CCommands::SCommand> kCommands = {
    {COMMAND_LEFT, "left", "Left", 0, SPECIAL_KEY_LEFT, nullptr, false, false},
    {COMMAND_RIGHT, "right", "Right", 0, SPECIAL_KEY_RIGHT, nullptr, false, false},
    {COMMAND_FIRE, "fire", "Space", ' ', 0, "Fire", true, false},
    {COMMAND_AUTO, "auto", "a", 'a', 0, "Auto", true, false},
    {COMMAND_PAUSE, "pause", "p", 'p', 0, "Pause", true, false},
    {COMMAND_FAST, "fast", "f", 'f', 0, "Fast", true, false},
    {COMMAND_HUD, "hud", "h", 'h', 0, nullptr, false, false},
    {COMMAND_STATS, "stats", "d", 'd', 0, nullptr, false, false},
    {COMMAND_GRAPH, "graph", "g", 'g', 0, "Graph", true, false},
    {COMMAND_WATCH, "watch", "w", 'w', 0, "Watch evolution", true, true},
    {COMMAND_EVOLVED, "evolved", "e", 'e', 0, "Meet evolved aliens", false, true},
    {COMMAND_BLANK, "blank", "` (grave)", '`', 0, nullptr, false, false},
    {COMMAND_SAVE, "save", "s", 's', 0, nullptr, false, false},
    {COMMAND_LOAD, "load", "l", 'l', 0, nullptr, false, false},
    {COMMAND_CAPTURE, "capture", "C (capital)", 'C', 0, nullptr, false, false},
    {COMMAND_HELP, "help", "F1", 0, SPECIAL_KEY_F1, "Help", true, false},
    {COMMAND_QUIT, "quit", "q", 'q', 0, nullptr, false, false},
    {COMMAND_ESCAPE, "escape", "Escape", kEscape, 0, nullptr, false, false},
    {COMMAND_INSPECT, "inspect", "left click", 0, 0, nullptr, false, false},
    {COMMAND_UNINSPECT, "uninspect", "right click", 0, 0, nullptr, false, false},
    {COMMAND_DRIVE, "drive", "finger held", 0, 0, nullptr, false, false},
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
                (command.bPage ? "true" : "false") + "}";
    }
    return json + "]";
}
