// The window's operations on Chart1 and the handlers of the chart view: the two check boxes
// that show and hide a series, and the print button.

#include "app/ChartView.h"
#include "app/MainWindow.h"
#include "chart/ChartPrint.h"
#include "chart/ChartWidget.h"
#include "log/Sinks.h"
#include "platform/Dialogs.h"

#include <QPrinter>

namespace velkor {

namespace {

std::size_t IndexOf(Series series) {
    return series == Series::Series1 ? 0 : 1;
}

} // namespace

chart::ChartWidget& MainWindow::Chart1() const {
    return *static_cast<chart::ChartWidget*>(Widget(Control::Chart1));
}

QString MainWindow::ChartTitle() const {
    return Chart1().Chart().Title().text.join(QLatin1Char('\n'));
}

void MainWindow::SetChartTitle(const QString& title) {
    Chart1().Chart().SetTitleText({title});
}

QString MainWindow::SeriesTitle(Series series) const {
    return Chart1().Chart().Series(IndexOf(series)).Title();
}

void MainWindow::SetSeriesTitle(Series series, const QString& title) {
    Chart1().Chart().Series(IndexOf(series)).SetTitle(title);
}

bool MainWindow::SeriesActive(Series series) const {
    return Chart1().Chart().Series(IndexOf(series)).Active();
}

void MainWindow::SetSeriesActive(Series series, bool active) {
    Chart1().Chart().Series(IndexOf(series)).SetActive(active);
}

void MainWindow::EmptySeries(Series series) {
    Chart1().Chart().Series(IndexOf(series)).Clear();
}

int MainWindow::AddPoint(Series series, double x, double y, std::uint32_t color) {
    return Chart1().Chart().Series(IndexOf(series)).AddXY(x, y, QString(), color);
}

void MainWindow::SetBottomAxisAutomatic() {
    Chart1().Chart().BottomAxis().SetAutomatic(true);
}

void MainWindow::CheckBox1Click() {
    if (ArchiveView()) {
        ShowArchiveSeries(Chart1().Chart(), TemperatureSeries, IsChecked(Control::CheckBox1));
        return;
    }
    SetSeriesActive(Series::Series1, IsChecked(Control::CheckBox1));
}

void MainWindow::CheckBox2Click() {
    if (ArchiveView()) {
        ShowArchiveSeries(Chart1().Chart(), HumiditySeries, IsChecked(Control::CheckBox2));
        return;
    }
    SetSeriesActive(Series::Series2, IsChecked(Control::CheckBox2));
}

void MainWindow::Button4Click() {
    // The printer lives as long as the window: the dialog opens with the printer, the
    // orientation and the other choices of the last print.
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!dialogs_.print(*printer_))
        return;
    // Landscape whatever the dialog chose; the chosen orientation is restored afterwards, also
    // when the job fails (the error then reaches the report).
    // A resized window prints the chart as laid out at its size in the table, so that the page
    // is the same whatever the window's size; the axes keep their present ranges.
    const ControlLayout& layout = LayoutOf(Control::Chart1);
    chart::PrintLandscape(Chart1(), *printer_, QSize(layout.width, layout.height));
}

} // namespace velkor
