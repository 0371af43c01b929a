#include "view/cinspector.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "aliens/calien.h"
#include "brain/cbrain.h"

double CInspector::distanceToBox(SVector2D point, const SRect& box)
{
    const double dx = std::max({box.left - point.x, 0.0, point.x - box.right});
    const double dy = std::max({box.bottom - point.y, 0.0, point.y - box.top});
    return std::hypot(dx, dy);
}

CAlien* CInspector::nearestAlien(const PopulationList& populations, SVector2D point, double tolerance)
{
    CAlien* nearest = nullptr;
    double nearestDistance = std::numeric_limits<double>::infinity();
    for (const CAlien_Population* population : populations)
        for (CAlien* alien : population->getAliens())
        {
            if (!alien->isActive())
                continue;
            const double distance = distanceToBox(point, alien->getBoundingBox());
            if (distance <= tolerance && distance < nearestDistance)
            {
                nearest = alien;
                nearestDistance = distance;
            }
        }
    return nearest;
}

CAlien* CInspector::pick(const PopulationList& populations, SVector2D point, double tolerance)
{
    m_pSelected = nearestAlien(populations, point, tolerance);
    if (m_pSelected)
        m_iLastState = m_pSelected->getState();
    return m_pSelected;
}

bool CInspector::wasReborn()
{
    if (!m_pSelected)
        return false;
    const int now = m_pSelected->getState();
    const bool wasGone = m_iLastState == ALIEN_DYING || m_iLastState == ALIEN_DEAD;
    const bool isBack = now == ALIEN_BEING_BORN || now == ALIEN_ALIVE;
    m_iLastState = now;
    return wasGone && isBack;
}

std::string CInspector::name(const CAlien& alien)
{
    const char* colour = alien.getType() == TYPE_RED ? "red" : alien.getType() == TYPE_GREEN ? "green" : "blue";
    return std::string(colour) + " alien " + std::to_string(alien.getId());
}

std::string CInspector::inspectingMessage(const CAlien& alien)
{
    return "Inspecting " + name(alien);
}

std::string CInspector::rebirthMessage(const CAlien& alien)
{
    std::string text = name(alien) + " is reborn with a " + originName(alien.getBrain()->getOrigin()) + " brain";
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

std::string CInspector::stateName(int state)
{
    switch (state)
    {
    case ALIEN_BEING_BORN: return "being born";
    case ALIEN_ALIVE: return "alive";
    case ALIEN_DYING: return "dying";
    case ALIEN_DEAD: return "dead";
    default: return "state " + std::to_string(state);
    }
}

std::string CInspector::originName(int origin)
{
    switch (origin)
    {
    case BRAIN_RANDOM: return "random";
    case BRAIN_CLONED: return "cloned";
    case BRAIN_CROSSED: return "crossed";
    case BRAIN_LOADED: return "loaded";
    default: return "origin " + std::to_string(origin);
    }
}
