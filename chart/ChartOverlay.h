#pragma once
// The hover readout over a chart window: while the pointer is over the plot and no button is
// held, a thin vertical line at the nearest sample's time and a small box near the pointer with
// that sample's date and time and one line per visible series in its colour. It goes away when
// the pointer leaves the plot, when a button is pressed (a drag starts) and when a modal dialog
// (the print dialog) blocks the window. It is a ChartLayer: the chart is never painted again for
// it and it is never printed or exported.

#include "chart/ChartReadout.h"
#include "chart/ChartWidget.h"

#include <QObject>
#include <QRect>
#include <QString>
#include <map>
#include <optional>

namespace velkor::chart {

class ChartOverlay final : public QObject, public ChartLayer {
    Q_OBJECT

public:
    // Watches `widget`'s mouse and becomes its layer; a child of it.
    explicit ChartOverlay(ChartWidget& widget);
    ~ChartOverlay() override;

    // The unit written after the values of series `series` ("°C"); none by default.
    void SetUnit(std::size_t series, const QString& unit) { units_[series] = unit; }

    // Shows the readout for the pointer at `at` (widget pixels), or hides it when there is none.
    void MoveTo(QPoint at);
    void Hide();

    const std::optional<Readout>& Current() const { return readout_; }
    // The texts of the box: the date and time, then one line per visible series.
    QStringList BoxLines() const;
    // Where the box and the line were last drawn (empty while hidden).
    QRect BoxRect() const { return box_; }
    int CursorX() const { return cursorX_; }

    void PaintLayer(QPainter& painter) override;
    void LayerDetached() override { attached_ = false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The box and the line for the current readout, in widget pixels.
    void Place();
    QRect Drawn() const;

    ChartWidget& widget_;
    std::map<std::size_t, QString> units_;
    std::optional<Readout> readout_;
    QPoint pointer_;
    QRect box_;
    int cursorX_ = -1;
    bool attached_ = true;
};

} // namespace velkor::chart
