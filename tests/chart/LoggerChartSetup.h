#pragma once
// Test support: a chart configured the way the logger tool configures its chart (title,
// margins, clear back wall, bottom legend, date-time bottom axis with two-line labels, value
// axis on the left, red temperature and green humidity series), and sample data.

#include "chart/Chart.h"
#include "platform/DateTime.h"

#include <QImage>
#include <QPainter>
#include <cmath>
#include <random>

namespace velkor::chart::testing {

inline void ConfigureLoggerChart(Chart& c) {
    c.SetTitleText({QStringLiteral("Wykres temperatury")});
    c.SetView3D(false);
    c.SetMarginLeft(2);
    c.SetMarginTop(2);
    c.SetMarginRight(2);
    c.SetMarginBottom(2);
    BackWall wall = c.BackWall();
    wall.brush = {White, BrushStyle::Clear};
    c.SetBackWall(wall);
    Legend& l = c.Legend();
    l.SetAlignment(LegendAlignment::Bottom);
    l.SetLegendStyle(LegendStyle::Series);
    l.SetColorWidth(15);
    l.SetShadowSize(2);
    l.SetTopPos(0);
    l.SetVertMargin(1);
    c.TopAxis().SetVisible(false);
    c.RightAxis().SetVisible(false);
    ChartAxis& b = c.BottomAxis();
    b.SetDateTimeFormat(QStringLiteral("yyyy-mm-dd hh:mm"));
    b.SetLabelsMultiLine(true);
    b.SetLabelsSize(30);
    b.SetIncrement(1.1574074074074e-05);
    b.SetStartPosition(2);
    b.SetEndPosition(98);
    b.SetTickLength(1);
    b.SetMinorTickLength(1);
    ChartAxis& a = c.LeftAxis();
    a.SetStartPosition(10);
    a.SetEndPosition(90);
    a.SetTickLength(3);
    LineSeries& t = c.AddSeries(QStringLiteral("Series1"));
    t.SetTitle(QStringLiteral("Temperatura"));
    t.SetSeriesColor(Red);
    LineSeries& h = c.AddSeries(QStringLiteral("Series2"));
    h.SetTitle(QStringLiteral("Wilgotnosc"));
    h.SetSeriesColor(Green);
}

inline double Day(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    double d = 0;
    TryEncodeDateTime(year, month, day, hour, minute, second, 0, d);
    return d;
}

// Smooth logger-like values: a daily swing with a little noise, rounded to tenths.
inline void FillLogger(Chart& c, int samples, double start, double interval, unsigned seed = 1) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0, 0.08);
    for (int i = 0; i < samples; ++i) {
        const double x = start + i * interval;
        const double phase = 2 * M_PI * (x - std::floor(x));
        c.Series(0).AddXY(x, std::round((21 + 2.5 * std::sin(phase) + noise(rng)) * 10) / 10, {},
                          Red);
        c.Series(1).AddXY(x, std::round((43 - 1.8 * std::sin(phase) + noise(rng)) * 10) / 10, {},
                          Green);
    }
}

// Paints twice, as a window does (the first paint knows no axis length from before).
inline QImage Render(Chart& c, int width = 665, int height = 449) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int k = 0; k < 2; ++k) {
        QPainter p(&image);
        c.Paint(p, image.rect());
    }
    return image;
}

} // namespace velkor::chart::testing
