#include "chart/PrintLayout.h"

#include "chart/Rounding.h"

#include <utility>

namespace velkor::chart {

int ProportionalMargin(int a, int b, double x, double r) {
    if (b == 0)
        return 0;
    const double share = (b - (a - a * 40 * 0.01) * x * r) * 100 / b;
    return ClampToInt(Trunc(Round(share) / 2));
}

PrintMargins ProportionalMargins(int width, int height, int pageWidth, int pageHeight,
                                 double resolutionRatio) {
    PrintMargins m;
    if (height < width) {
        const double x = static_cast<double>(height) / width;
        m.top = m.bottom = ProportionalMargin(pageWidth, pageHeight, x, resolutionRatio);
    } else if (height > 0) {
        const double x = static_cast<double>(width) / height;
        m.left = m.right = ProportionalMargin(pageHeight, pageWidth, x, resolutionRatio);
    }
    return m;
}

PlotRect PageRectangle(const PrintMargins& margins, int pageWidth, int pageHeight) {
    auto part = [](int margin, int extent) {
        return RoundToInt(static_cast<double>(margin) * extent / 100);
    };
    return {part(margins.left, pageWidth), part(margins.top, pageHeight),
            pageWidth - part(margins.right, pageWidth),
            pageHeight - part(margins.bottom, pageHeight)};
}

QSize LogicalSize(QSize screen, int resolution) {
    return {screen.width() - MulDiv(screen.width(), resolution, 100),
            screen.height() - MulDiv(screen.height(), resolution, 100)};
}

PlotRect LogicalRectangle(const PlotRect& page, QSize logical) {
    const int pw = page.Width(), ph = page.Height();
    if (pw <= 0 || ph <= 0)
        return {};
    return {MulDiv(page.left, logical.width(), pw), MulDiv(page.top, logical.height(), ph),
            MulDiv(page.right, logical.width(), pw), MulDiv(page.bottom, logical.height(), ph)};
}

PlotRect Normalized(PlotRect r) {
    if (r.right < r.left)
        std::swap(r.left, r.right);
    if (r.bottom < r.top)
        std::swap(r.top, r.bottom);
    return r;
}

} // namespace velkor::chart
