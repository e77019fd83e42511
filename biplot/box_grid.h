// A uniform grid over a rectangle that finds the boxes near a query box.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "biplot/label_placement.h"
#include "biplot/obstacle_geometry.h"

namespace marvist {

class BoxGrid {
public:
    // cell: wished size of a cell; at most 128 cells are made along a side.
    BoxGrid(const Rect& bounds, double cell, int n_ids)
        : bounds_(bounds), stamp_(static_cast<std::size_t>(n_ids), 0) {
        const double w = std::max(bounds.width(), 1e-9), h = std::max(bounds.height(), 1e-9);
        cell = std::max({cell, w / 128.0, h / 128.0, 1e-9});
        columns_ = std::clamp(static_cast<int>(std::ceil(w / cell)), 1, 128);
        rows_ = std::clamp(static_cast<int>(std::ceil(h / cell)), 1, 128);
        cell_w_ = w / columns_;
        cell_h_ = h / rows_;
        cells_.resize(static_cast<std::size_t>(columns_) * rows_);
    }

    void clear() {
        for (auto& cell : cells_) cell.clear();
    }

    // Files id under every cell the box touches (boxes beyond the bounds
    // are filed in the edge cells).
    void insert(int id, const Rect& box) {
        const auto [c0, c1, r0, r1] = span(box);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) cells_[index(c, r)].push_back(id);
    }

    // Files id under the cells within `radius` of the segment from (ax, ay)
    // to (bx, by), found by steps of at most half a cell along it (each
    // step covering the half step on either side).
    void insert_along(int id, double ax, double ay, double bx, double by, double radius) {
        const double length = length_of(bx - ax, by - ay);
        const double step = 0.5 * std::min(cell_w_, cell_h_);
        const int steps = static_cast<int>(std::min(std::ceil(length / step), 1e6));
        for (int k = 0; k <= steps; ++k) {
            const double t = steps == 0 ? 0.0 : static_cast<double>(k) / steps;
            const double x = ax + t * (bx - ax), y = ay + t * (by - ay);
            const double reach = radius + step / 2.0;
            const auto [c0, c1, r0, r1] = span({x - reach, y - reach, x + reach, y + reach});
            for (int r = r0; r <= r1; ++r) {
                for (int c = c0; c <= c1; ++c) {
                    auto& cell = cells_[index(c, r)];
                    if (cell.empty() || cell.back() != id) cell.push_back(id);
                }
            }
        }
    }

    // Calls visit(id) once for every id filed in a cell the box touches, in
    // the order of the cells and of filing.
    template <class Visit>
    void visit(const Rect& box, Visit&& visit) {
        all_of(box, [&](int id) {
            visit(id);
            return true;
        });
    }

    // Whether test(id) holds for every id filed in a cell the box touches;
    // stops at the first that fails.
    template <class Test>
    bool all_of(const Rect& box, Test&& test) {
        ++generation_;
        const auto [c0, c1, r0, r1] = span(box);
        for (int r = r0; r <= r1; ++r) {
            for (int c = c0; c <= c1; ++c) {
                for (int id : cells_[index(c, r)]) {
                    if (stamp_[id] == generation_) continue;
                    stamp_[id] = generation_;
                    if (!test(id)) return false;
                }
            }
        }
        return true;
    }

private:
    struct Span {
        int c0, c1, r0, r1;
    };
    int clamp_column(double x) const {
        const double c = std::floor((x - bounds_.left) / cell_w_);
        return static_cast<int>(std::clamp(c, 0.0, static_cast<double>(columns_ - 1)));
    }
    int clamp_row(double y) const {
        const double r = std::floor((y - bounds_.top) / cell_h_);
        return static_cast<int>(std::clamp(r, 0.0, static_cast<double>(rows_ - 1)));
    }
    Span span(const Rect& box) const {
        return {clamp_column(box.left), clamp_column(box.right), clamp_row(box.top), clamp_row(box.bottom)};
    }
    std::size_t index(int c, int r) const { return static_cast<std::size_t>(r) * columns_ + c; }

    Rect bounds_;
    int columns_ = 1, rows_ = 1;
    double cell_w_ = 1.0, cell_h_ = 1.0;
    std::vector<std::vector<int>> cells_;
    std::vector<unsigned> stamp_;
    unsigned generation_ = 0;
};

}  // namespace marvist
