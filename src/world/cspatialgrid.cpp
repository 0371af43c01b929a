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
    m_vEntries.clear();
    m_vFreeHandles.clear();
    m_iSize = 0;
}

void CSpatialGrid::clear()
{
    for (std::vector<int>& cell : m_vCells)
        cell.clear();
    m_vFreeHandles.clear();
    for (int handle = static_cast<int>(m_vEntries.size()) - 1; handle >= 0; --handle)
    {
        m_vEntries[handle].iCell = -1;
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
        handle = static_cast<int>(m_vEntries.size());
        m_vEntries.push_back({{x, y, handle, a, b}, -1, -1});
    }
    else
    {
        handle = m_vFreeHandles.back();
        m_vFreeHandles.pop_back();
        m_vEntries[handle].item = {x, y, handle, a, b};
    }
    file(cellOf(x, y), handle);
    ++m_iSize;
    return handle;
}

void CSpatialGrid::move(int handle, double x, double y)
{
    SEntry& entry = m_vEntries[handle];
    entry.item.dX = x;
    entry.item.dY = y;
    const int cell = cellOf(x, y);
    if (entry.iCell == cell)
        return;
    unfile(handle);
    file(cell, handle);
}

void CSpatialGrid::remove(int handle)
{
    unfile(handle);
    m_vFreeHandles.push_back(handle);
    --m_iSize;
}

// Swaps the last handle of the cell into the freed slot.
void CSpatialGrid::unfile(int handle)
{
    SEntry& entry = m_vEntries[handle];
    std::vector<int>& handles = m_vCells[entry.iCell];
    handles[entry.iSlot] = handles.back();
    m_vEntries[handles[entry.iSlot]].iSlot = entry.iSlot;
    handles.pop_back();
    entry.iCell = entry.iSlot = -1;
}

void CSpatialGrid::file(int cell, int handle)
{
    std::vector<int>& handles = m_vCells[cell];
    m_vEntries[handle].iCell = cell;
    m_vEntries[handle].iSlot = static_cast<int>(handles.size());
    handles.push_back(handle);
}
