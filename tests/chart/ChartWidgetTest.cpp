// The chart window: its name, repaints scheduled by changes, mouse events handed on.

#include "chart/ChartWidget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace velkor::chart;

namespace {

class Recorder : public ChartInteraction {
public:
    std::vector<QString> calls;
    void MousePress(ChartWidget& w, QMouseEvent& e) override {
        calls.push_back(w.objectName() + " press " + QString::number(e.position().x()));
    }
    void MouseMove(ChartWidget&, QMouseEvent&) override { calls.push_back("move"); }
    void MouseRelease(ChartWidget&, QMouseEvent&) override { calls.push_back("release"); }
    void Wheel(ChartWidget&, QWheelEvent&) override { calls.push_back("wheel"); }
};

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

TEST(ChartWidget, ChangesScheduleOneRepaint) {
    ChartWidget w("Chart1");
    EXPECT_EQ(w.objectName(), "Chart1");
    EXPECT_EQ(w.Chart().Name(), "Chart1");
    w.resize(665, 449);
    PaintCounter counter;
    w.installEventFilter(&counter);
    w.show();
    QApplication::processEvents();
    const int first = counter.paints;
    EXPECT_GE(first, 1);
    LineSeries& s = w.Chart().AddSeries("Series1");
    for (int i = 0; i < 1000; ++i)
        s.AddXY(45000 + i, i);
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, first + 1);
    s.SetActive(true); // no change
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, first + 1);
    EXPECT_EQ(w.Chart().LastLayout().chartRect, QRect(0, 0, 665, 449));
}

TEST(ChartWidget, MouseAndWheelGoToTheInteraction) {
    ChartWidget w("Chart1");
    w.resize(300, 200);
    Recorder r;
    w.SetInteraction(&r);
    const QPointF at(40, 50);
    QMouseEvent press(QEvent::MouseButtonPress, at, w.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, at, w.mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w.mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QWheelEvent wheel(at, w.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &press);
    QApplication::sendEvent(&w, &move);
    QApplication::sendEvent(&w, &release);
    QApplication::sendEvent(&w, &wheel);
    EXPECT_EQ(r.calls, (std::vector<QString>{"Chart1 press 40", "move", "release", "wheel"}));
    w.SetInteraction(nullptr);
    QApplication::sendEvent(&w, &press);
    EXPECT_EQ(r.calls.size(), 4u);
}
