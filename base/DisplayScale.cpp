#include "base/DisplayScale.h"

#include "base/Exception.h"

#include <cstdlib>

namespace tabulon {

namespace {

int ValidDpi(int dpi) {
    return dpi > 0 ? dpi : kDesignDpi;
}

} // namespace

int ScaleLength(int value, int dpi) {
    const long long product = static_cast<long long>(value) * ValidDpi(dpi);
    const long long magnitude = (std::llabs(product) + kDesignDpi / 2) / kDesignDpi;
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

int ScaleLineWidth(int width, int dpi) {
    if (width <= 0) return 0;
    const long long product = static_cast<long long>(width) * ValidDpi(dpi);
    return static_cast<int>((product + kDesignDpi - 1) / kDesignDpi);
}

int ScaleFontHeight(int height, int dpi) {
    const int scaled = ScaleLength(height, dpi);
    return height > 0 && scaled < 1 ? 1 : scaled;
}

std::vector<LayoutBox> ScaleLayoutBoxes(std::span<const LayoutBox> boxes, int dpi) {
    // Edges in form coordinates at 96 DPI, then each one rounded once: two
    // controls sharing an edge share its rounded value too.
    struct Edges {
        long long left, top;
    };
    std::vector<Edges> origin(boxes.size());
    std::vector<LayoutBox> scaled(boxes.size());
    for (size_t i = 0; i < boxes.size(); ++i) {
        const LayoutBox& b = boxes[i];
        if (b.parent >= static_cast<int>(i) || b.parent < -1)
            throw Exception(L"Layout box " + std::to_wstring(i) + L" has no earlier parent");
        const Edges parent = b.parent < 0 ? Edges{0, 0} : origin[static_cast<size_t>(b.parent)];
        const Edges own{parent.left + b.left, parent.top + b.top};
        origin[i] = own;
        auto at = [dpi](long long v) { return ScaleLength(static_cast<int>(v), dpi); };
        const int left = at(own.left), top = at(own.top);
        scaled[i] =
            LayoutBox{left - at(parent.left), top - at(parent.top), at(own.left + b.width) - left,
                      at(own.top + b.height) - top, b.parent};
    }
    return scaled;
}

int NearestScaleVariant(std::span<const int> percents, int dpi) {
    // Compared in units of 1/9600 so that no division rounds.
    const long long wanted = static_cast<long long>(ValidDpi(dpi)) * 100;
    int best = -1;
    long long bestDistance = 0;
    for (size_t i = 0; i < percents.size(); ++i) {
        const long long have = static_cast<long long>(percents[i]) * kDesignDpi;
        const long long distance = std::llabs(have - wanted);
        if (best < 0 || distance < bestDistance ||
            (distance == bestDistance && percents[i] > percents[static_cast<size_t>(best)])) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

int PageZoomPercent(int windowDpi, int systemDpi) {
    if (windowDpi <= 0 || systemDpi <= 0) return 100;
    return static_cast<int>((200LL * windowDpi + systemDpi) / (2LL * systemDpi));
}

} // namespace tabulon
