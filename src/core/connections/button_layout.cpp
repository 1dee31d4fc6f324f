#include "core/connections/button_layout.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr int kEdgeStart = 25;
constexpr int kFarEdge = 205;  // the bottom row's y, the right column's x
constexpr int kThickness = 25;
constexpr int kEdgeLength = 180;
constexpr std::size_t kPerEdge = 3;

// Button 1 of edge e (direction e + 1: down, up, left, right).
std::size_t firstButton(std::size_t edge) { return edge * kPerEdge; }

// Starts and lengths along an edge with `used` buttons (0 and 3 share the design layout).
std::array<ButtonRect, kPerEdge> edgeRects(std::size_t edge, std::size_t used) {
    std::array<ButtonRect, kPerEdge> rects{};
    const int length = used == 1 ? kEdgeLength : used == 2 ? kEdgeLength / 2 : kEdgeLength / 3;
    const int starts[kPerEdge] = {kEdgeStart, used == 2 ? kEdgeStart + length : 85, 145};
    for (std::size_t i = 0; i < kPerEdge; ++i) {
        const int along = starts[i];
        const int len = (used == 2 && i == 2) || (used == 1 && i > 0) ? kEdgeLength / 3 : length;
        switch (edge) {
            case 0:
                rects[i] = {along, kFarEdge, len, kThickness};
                break;  // bottom
            case 1:
                rects[i] = {along, 0, len, kThickness};
                break;  // top
            case 2:
                rects[i] = {0, along, kThickness, len};
                break;  // left
            default:
                rects[i] = {kFarEdge, along, kThickness, len};
                break;  // right
        }
    }
    return rects;
}

}  // namespace

ButtonLayout layoutButtons(const std::vector<Connection>& connections,
                           const std::function<bool(int bank, int map)>& exists) {
    ButtonLayout layout{};
    std::array<std::vector<std::size_t>, 4> edges;  // connection indices by edge
    for (std::size_t i = 0; i < connections.size(); ++i) {
        const std::uint32_t d = connections[i].direction;
        if (d >= 1 && d <= 4 && edges[d - 1].size() < kPerEdge) {
            edges[d - 1].push_back(i);
        } else if (d == 5) {
            layout[static_cast<std::size_t>(NeighbourButton::Dive)].connection =
                static_cast<int>(i + 1);
        } else if (d == 6) {
            layout[static_cast<std::size_t>(NeighbourButton::Emerge)].connection =
                static_cast<int>(i + 1);
        }
    }
    for (std::size_t e = 0; e < edges.size(); ++e) {
        auto& tied = edges[e];
        std::stable_sort(tied.begin(), tied.end(), [&](std::size_t a, std::size_t b) {
            return connections[a].offset < connections[b].offset;
        });
        const auto rects = edgeRects(e, tied.size());
        for (std::size_t i = 0; i < kPerEdge; ++i) {
            ButtonPlace& place = layout[firstButton(e) + i];
            place.rect = rects[i];
            place.connection = i < tied.size() ? static_cast<int>(tied[i] + 1) : 0;
            place.visible = tied.empty() || i < tied.size();
        }
    }
    layout[static_cast<std::size_t>(NeighbourButton::Emerge)].rect = {75, 60, 80, 25};
    layout[static_cast<std::size_t>(NeighbourButton::Dive)].rect = {75, 145, 80, 25};
    for (ButtonPlace& place : layout) {
        if (place.connection != 0) {
            const Connection& c = connections[static_cast<std::size_t>(place.connection - 1)];
            place.missing = !exists(c.bank, c.map);
        }
    }
    return layout;
}

}  // namespace quillon
