#pragma once

#include <vector>

// A uniform grid of square cells over a rectangle, filing points (the centres of objects)
// so that the points near a box are found without looking at the others.
//
// Guarantees:
// - forEachIn(box) visits every filed point that lies inside the box, edges included, and
//   possibly others near it (the rest of the cells the box touches); the caller makes the
//   exact test with the point's coordinates, which the item carries as last filed. Each
//   point is visited at most once per call, in no particular order.
// - Points outside the rectangle (or not finite) are filed in the nearest edge cell, and a
//   box reaching outside is clamped the same way, so they are still found.
// - Once every cell has held as many points as it ever will, filing, moving and removing
//   allocate nothing: cells keep their capacity, and freed handles are reused.
// Each point carries two ints chosen by the caller (who owns what it stands for); a point
// is known by the handle insert returned until it is removed.
class CSpatialGrid
{
public:
    struct SItem
    {
        double dX; // where the point was last filed or moved to
        double dY;
        int iHandle;
        int iA; // the caller's two numbers
        int iB;
    };

    // Empties the grid and lays it over [0, width] x [0, height] in cells of cellSize; the
    // cells keep their capacity when the layout is the one the grid already has.
    void reset(double width, double height, double cellSize);

    int insert(double x, double y, int a, int b);
    void move(int handle, double x, double y);
    void remove(int handle);
    int size() const { return m_iSize; }

    template <typename TVisit> void forEachIn(double left, double bottom, double right, double top,
                                              TVisit&& visit) const
    {
        const int c0 = column(left), c1 = column(right);
        const int r0 = row(bottom), r1 = row(top);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                for (const int handle : m_vCells[r * m_iColumns + c])
                    visit(m_vEntries[handle].item);
    }

private:
    // A point by its handle: moving it touches this entry alone while it stays in its cell,
    // which for things that move every step (bullets) is nearly always.
    struct SEntry
    {
        SItem item;
        int iCell; // -1 while the handle is free
        int iSlot; // where in its cell the handle stands
    };

    int column(double x) const;
    int row(double y) const;
    int cellOf(double x, double y) const { return row(y) * m_iColumns + column(x); }
    void unfile(int handle);
    void file(int cell, int handle);

    void clear();

    double m_dWidth = 0.0;
    double m_dHeight = 0.0;
    double m_dCellSize = 1.0;
    double m_dPerCell = 1.0; // the inverse of the cell size
    int m_iColumns = 1;
    int m_iRows = 1;
    int m_iSize = 0;
    std::vector<std::vector<int>> m_vCells; // the handles in each cell, row by row, bottom row first
    std::vector<SEntry> m_vEntries;         // by handle
    std::vector<int> m_vFreeHandles;
};
