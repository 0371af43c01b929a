#include "view/ctextfit.h"

std::string CTextFit::fitted(const std::string& text, const TextWidth& width, double room)
{
    if (width(text) <= room)
        return text;
    for (size_t keep = text.size(); keep-- > 0;)
    {
        const std::string cut = text.substr(0, keep) + "...";
        if (width(cut) <= room)
            return cut;
    }
    return "";
}
