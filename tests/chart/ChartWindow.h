#pragma once
// Test support: a shown chart window configured like the logger tool's chart, filled with
// three days of samples, painted so that its layout is settled.

#include "chart/ChartWidget.h"
#include "tests/chart/LoggerChartSetup.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace velkor::chart::testing {

struct ChartWindow {
    ChartWidget widget{QStringLiteral("Chart1")};

    explicit ChartWindow(QSize size = QSize(665, 449)) {
        ConfigureLoggerChart(widget.Chart());
        FillLogger(widget.Chart(), 3 * 144, Day(2024, 3, 5, 14, 30), 1.0 / 144);
        widget.resize(size);
        widget.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
        Settle();
    }

    Chart& chart() { return widget.Chart(); }
    ZoomScroll& zoom() { return widget.ZoomScroll(); }
    const PlotRect& Plot() const { return widget.Chart().LastLayout().plot; }

    // Runs pending events and paints twice, as a window does after a change (the second
    // paint knows the axis lengths of the first).
    void Settle() {
        QApplication::processEvents();
        widget.repaint();
        widget.repaint();
    }
};

// The bottom and left axes' ranges, to compare before and after.
struct Ranges {
    double bottomMin = 0, bottomMax = 0, leftMin = 0, leftMax = 0;
    explicit Ranges(const Chart& c)
        : bottomMin(c.BottomAxis().Minimum()), bottomMax(c.BottomAxis().Maximum()),
          leftMin(c.LeftAxis().Minimum()), leftMax(c.LeftAxis().Maximum()) {}
};

} // namespace velkor::chart::testing
