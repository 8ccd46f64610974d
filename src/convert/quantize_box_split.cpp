// The box split of the accurate method: boxes of the colour histogram are cut where the summed
// squared error of the two halves is smallest, the box that gains most first.
#include <algorithm>
#include <array>

#include "convert/quantize_accurate.h"

namespace ts {

namespace {

struct Point {
    uint8_t c[3];  // red, green, blue
    uint32_t weight;
};

struct Box {
    int begin = 0, end = 0;  // range of the point list
    uint64_t weight = 0;
    uint64_t sum[3] = {0, 0, 0};
    // The best cut: points whose component `axis` is at most `cut` go left. gain <= 0: none.
    int axis = 0;
    int cut = 0;
    double gain = 0;
};

double spread(const uint64_t s[3], uint64_t w) {  // |sum|^2 / weight
    if (w == 0) return 0;
    const double a = double(s[0]), b = double(s[1]), c = double(s[2]);
    return (a * a + b * b + c * c) / double(w);
}

// The squared error of a box is Q - |S|^2 / W (Q the weighted sum of squares); a cut into two
// halves leaves Q - |S_L|^2 / W_L - |S_R|^2 / W_R, so the best cut maximises the last two terms.
void planCut(const std::vector<Point>& points, Box& box) {
    box.gain = 0;
    if (box.end - box.begin < 2) return;
    const double whole = spread(box.sum, box.weight);
    double bestScore = whole;
    for (int axis = 0; axis < 3; ++axis) {
        int lo = 255, hi = 0;
        for (int i = box.begin; i < box.end; ++i) {
            lo = std::min<int>(lo, points[size_t(i)].c[axis]);
            hi = std::max<int>(hi, points[size_t(i)].c[axis]);
        }
        if (lo == hi) continue;
        std::array<uint64_t, 256> w{};
        std::array<std::array<uint64_t, 3>, 256> s{};
        for (int i = box.begin; i < box.end; ++i) {
            const Point& p = points[size_t(i)];
            const int v = p.c[axis];
            w[size_t(v)] += p.weight;
            for (int k = 0; k < 3; ++k) s[size_t(v)][size_t(k)] += uint64_t(p.c[k]) * p.weight;
        }
        uint64_t leftWeight = 0, left[3] = {0, 0, 0};
        for (int v = lo; v < hi; ++v) {
            leftWeight += w[size_t(v)];
            for (int k = 0; k < 3; ++k) left[k] += s[size_t(v)][size_t(k)];
            if (w[size_t(v)] == 0 || leftWeight == 0 || leftWeight == box.weight) continue;
            const uint64_t right[3] = {box.sum[0] - left[0], box.sum[1] - left[1], box.sum[2] - left[2]};
            const double score = spread(left, leftWeight) + spread(right, box.weight - leftWeight);
            if (score > bestScore) {
                bestScore = score;
                box.axis = axis;
                box.cut = v;
            }
        }
    }
    box.gain = bestScore - whole;
}

void measure(const std::vector<Point>& points, Box& box) {
    box.weight = 0;
    box.sum[0] = box.sum[1] = box.sum[2] = 0;
    for (int i = box.begin; i < box.end; ++i) {
        const Point& p = points[size_t(i)];
        box.weight += p.weight;
        for (int k = 0; k < 3; ++k) box.sum[k] += uint64_t(p.c[k]) * p.weight;
    }
    planCut(points, box);
}

uint32_t meanColour(const Box& box) {
    if (box.weight == 0) return 0xFF000000u;
    uint32_t c[3];
    for (int k = 0; k < 3; ++k) c[k] = uint32_t((box.sum[k] + box.weight / 2) / box.weight);
    return 0xFF000000u | c[0] << 16 | c[1] << 8 | c[2];
}

}  // namespace

std::vector<uint32_t> splitIntoBoxes(const WeightedColours& histogram, int boxCount) {
    std::vector<Point> points;
    points.reserve(histogram.colours.size());
    for (size_t i = 0; i < histogram.colours.size(); ++i) {
        const uint32_t c = histogram.colours[i];
        if (histogram.counts[i] == 0) continue;
        points.push_back({{uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)}, histogram.counts[i]});
    }
    std::vector<uint32_t> out;
    if (points.empty() || boxCount < 1) return out;
    std::vector<Box> boxes(1);
    boxes[0].end = int(points.size());
    measure(points, boxes[0]);
    while (int(boxes.size()) < boxCount) {
        int pick = -1;
        for (int b = 0; b < int(boxes.size()); ++b)
            if (boxes[size_t(b)].gain > 0 && (pick < 0 || boxes[size_t(b)].gain > boxes[size_t(pick)].gain)) pick = b;
        if (pick < 0) break;
        Box& box = boxes[size_t(pick)];
        const int axis = box.axis, cut = box.cut;
        const auto middle = std::stable_partition(points.begin() + box.begin, points.begin() + box.end,
                                                  [&](const Point& p) { return p.c[axis] <= cut; });
        Box right;
        right.begin = int(middle - points.begin());
        right.end = box.end;
        box.end = right.begin;
        measure(points, box);
        measure(points, right);
        boxes.push_back(right);
    }
    for (const Box& box : boxes) out.push_back(meanColour(box));
    return out;
}

}  // namespace ts
