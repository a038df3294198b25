#pragma once
// The grid of changed cells of one analysed frame and the hit location that
// reads it. Private to the shot detection (and its tests).

#include <cstdint>
#include <vector>

namespace MotionDetection {

// Cells are indexed [column, row] with the column varying fastest; the grid
// has one column and one row more than GridCols x GridRows because the scan
// visits every S-th pixel from 0, which can be one more than nearest(W / S).
struct ChangeMap {
    ChangeMap(std::int32_t gridCols, std::int32_t gridRows)
        : Stride(gridCols + 1),
          Cells(static_cast<std::size_t>(gridCols + 1) * static_cast<std::size_t>(gridRows + 1)) {}

    std::uint8_t& cell(std::int32_t column, std::int32_t row) {
        return Cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(Stride) +
                     static_cast<std::size_t>(column)];
    }
    std::uint8_t cell(std::int32_t column, std::int32_t row) const {
        return Cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(Stride) +
                     static_cast<std::size_t>(column)];
    }

    std::int32_t Stride;             // GridCols + 1
    std::vector<std::uint8_t> Cells; // 1 changed, 0 unchanged or not visited
    std::int32_t Cols = 0;           // GridCols once a cell has been visited
    std::int32_t Rows = 0;           // GridRows once a cell has been visited
    bool Filled = false;             // a cell has been visited
};

// Offset of the changed cells' centroid from the grid centre, in cells;
// positive towards later columns and later rows in memory.
struct HitOffset {
    double DX = 0.0;
    double DY = 0.0;
    double Distance = 0.0;
};

// Finds the centroid of the changed cells (the extra column and row are not
// counted) and hands it to ScoreHit.
void LocateHit(const ChangeMap& map);
// Scores the hit, scales it onto the target picture and reports it through
// the hit target set with setHitTarget.
void ScoreHit(const HitOffset& offset, const ChangeMap& map);
// Sets what hitWentOut() answers until it is set again.
void setHitWentOut(bool wentOut);

} // namespace MotionDetection
