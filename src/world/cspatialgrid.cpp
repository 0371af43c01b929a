#include "world/cspatialgrid.h"

#include <cmath>

namespace
{
// The cell a coordinate falls in, clamped to [0, count - 1]; NaN counts as the first. Scaled
// by the inverse of the cell size, a multiplication rather than a division: placing and
// looking both go through here, and the scaling never reorders coordinates.
int clampedCell(double coordinate, double perCell, int count)
{
    const double q = coordinate * perCell;
    if (!(q >= 1.0))
        return 0;
    if (q >= count)
        return count - 1;
    return static_cast<int>(q);
}

int cellsFor(double extent, double cellSize)
{
    const double n = std::ceil(extent / cellSize);
    return n >= 1 ? static_cast<int>(n) : 1;
}
} // namespace

void CSpatialGrid::reset(double width, double height, double cellSize)
{
    if (width == m_dWidth && height == m_dHeight && cellSize == m_dCellSize && !m_vCells.empty())
    {
        clear();
        return;
    }
    m_dWidth = width;
    m_dHeight = height;
    m_dCellSize = cellSize;
    m_dPerCell = 1.0 / cellSize;
    m_iColumns = cellsFor(width, cellSize);
    m_iRows = cellsFor(height, cellSize);
    m_vCells.assign(static_cast<size_t>(m_iColumns) * m_iRows, {});
    m_vPlaces.clear();
    m_vFreeHandles.clear();
    m_iSize = 0;
}

void CSpatialGrid::clear()
{
    for (std::vector<SItem>& cell : m_vCells)
        cell.clear();
    m_vFreeHandles.clear();
    for (int handle = static_cast<int>(m_vPlaces.size()) - 1; handle >= 0; --handle)
    {
        m_vPlaces[handle].iCell = -1;
        m_vFreeHandles.push_back(handle);
    }
    m_iSize = 0;
}

int CSpatialGrid::column(double x) const
{
    return clampedCell(x, m_dPerCell, m_iColumns);
}

int CSpatialGrid::row(double y) const
{
    return clampedCell(y, m_dPerCell, m_iRows);
}

int CSpatialGrid::insert(double x, double y, int a, int b)
{
    int handle;
    if (m_vFreeHandles.empty())
    {
        handle = static_cast<int>(m_vPlaces.size());
        m_vPlaces.push_back({-1, -1});
    }
    else
    {
        handle = m_vFreeHandles.back();
        m_vFreeHandles.pop_back();
    }
    file(cellOf(x, y), {x, y, handle, a, b});
    ++m_iSize;
    return handle;
}

void CSpatialGrid::move(int handle, double x, double y)
{
    const int cell = cellOf(x, y);
    const SPlace place = m_vPlaces[handle];
    SItem& item = m_vCells[place.iCell][place.iSlot];
    item.dX = x;
    item.dY = y;
    if (place.iCell == cell)
        return;
    const SItem moved = item;
    unfile(handle);
    file(cell, moved);
}

void CSpatialGrid::remove(int handle)
{
    unfile(handle);
    m_vFreeHandles.push_back(handle);
    --m_iSize;
}

// Swaps the last item of the cell into the freed slot.
void CSpatialGrid::unfile(int handle)
{
    SPlace& place = m_vPlaces[handle];
    std::vector<SItem>& items = m_vCells[place.iCell];
    items[place.iSlot] = items.back();
    m_vPlaces[items[place.iSlot].iHandle].iSlot = place.iSlot;
    items.pop_back();
    place = {-1, -1};
}

void CSpatialGrid::file(int cell, const SItem& item)
{
    std::vector<SItem>& items = m_vCells[cell];
    m_vPlaces[item.iHandle] = {cell, static_cast<int>(items.size())};
    items.push_back(item);
}
