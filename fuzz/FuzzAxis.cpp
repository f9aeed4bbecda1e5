// The axis maths fed any double: placement, label step, label values, label texts, tick,
// grid and minor tick positions, in the order one paint divides an axis, plus the step and
// calendar helpers on their own, and the whole layout of a logger chart painted with axis
// properties and points of any value. Pixel edges and lengths stay within what a screen or a
// printed page can have; every double is taken as it comes.

#include "FuzzInput.h"
#include "chart/AxisScale.h"
#include "chart/AxisSteps.h"
#include "chart/LabelText.h"
#include "chart/LabelValues.h"
#include "platform/Errors.h"
#include "tests/chart/LoggerChartSetup.h"

#include <QGuiApplication>

#include <algorithm>

using namespace velkor::chart;
using velkor::fuzz::AnyDouble;

namespace {

// Texts are the slowest part; a few labels show whether they format.
constexpr std::size_t TextsPerAxis = 8;

QString SomePattern(FuzzedDataProvider& in) {
    return QString::fromLatin1(in.ConsumeRandomLengthString(24));
}

void DivideAxis(FuzzedDataProvider& in) {
    const bool horizontal = in.ConsumeBool(), inverted = in.ConsumeBool();
    const double minimum = AnyDouble(in), maximum = AnyDouble(in);
    const int edge = in.ConsumeIntegralInRange(-100000, 100000);
    const int length = in.ConsumeIntegralInRange(-100000, 100000);
    const double startPercent = AnyDouble(in), endPercent = AnyDouble(in);
    const AxisPlacement at =
        PlaceAxis(horizontal, inverted, minimum, maximum, edge, length, startPercent, endPercent);

    const int labelSize = in.ConsumeIntegralInRange(-10, 2000);
    const int separation = in.ConsumeIntegralInRange(-100, 1000);
    const double increment = AnyDouble(in);
    const bool dateTime = in.ConsumeBool(), exact = in.ConsumeBool();
    const int fit = LabelsThatFit(at.size, labelSize, separation);
    const double step = dateTime ? DateTimeLabelStep(at.range, increment, fit)
                                 : NumberLabelStep(at.range, increment, fit, separation);
    LabelValueInput v;
    v.minimum = at.minimum;
    v.maximum = at.maximum;
    v.step = step;
    v.stepIndex = DateTimeStepIndex(dateTime, exact, increment, step);
    v.dateTime = dateTime;
    v.exactDateTime = exact;
    v.roundFirstLabel = in.ConsumeBool();
    const std::vector<double> values = LabelValues(v);

    LabelFilter filter;
    filter.labelsOnAxis = in.ConsumeBool();
    filter.tickOnLabelsOnly = in.ConsumeBool();
    filter.labels = in.ConsumeBool();
    std::vector<AxisLabel> labels;
    std::vector<int> ticks;
    PlaceLabels(at, values, filter, labels, ticks);

    LabelTextSettings text;
    text.dateTime = dateTime;
    text.multiLine = in.ConsumeBool();
    if (in.ConsumeBool())
        text.dateTimeFormat = SomePattern(in);
    if (in.ConsumeBool())
        text.valuesFormat = SomePattern(in);
    for (std::size_t k = 0; k < labels.size() && k < TextsPerAxis; ++k)
        LabelLines(LabelText(labels[k].value, at.range, text));

    GridPositions(ticks, in.ConsumeBool());
    MinorTickPositions(ticks, in.ConsumeIntegralInRange(-1, 20), at.start, at.end);
    at.PositionToValue(at.ValueToPosition(AnyDouble(in)));
}

void Helpers(FuzzedDataProvider& in) {
    const double x = AnyDouble(in);
    NextDateTimeStep(x);
    Next125(x);
    const int index = in.ConsumeIntegralInRange(0, NoDateTimeStep);
    CalendarRound(x, index);
    StepDown(x, AnyDouble(in), index, in.ConsumeBool());
    FormatNumber(AnyDouble(in), SomePattern(in));

    // Major positions anywhere in the int range, as far-off labels give them.
    std::vector<int> majors(in.ConsumeIntegralInRange(0, 4));
    for (int& m : majors)
        m = in.ConsumeIntegral<int>();
    MinorTickPositions(majors, in.ConsumeIntegralInRange(-1, 20), in.ConsumeIntegral<int>(),
                       in.ConsumeIntegral<int>());
}

void SetAxis(FuzzedDataProvider& in, ChartAxis& axis) {
    try {
        switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0:
            axis.AssignRange(AnyDouble(in), AnyDouble(in));
            break;
        case 1:
            axis.SetMaximum(AnyDouble(in));
            axis.SetMinimum(AnyDouble(in));
            break;
        default:
            axis.SetAutomatic(true);
        }
        axis.SetIncrement(AnyDouble(in));
    } catch (const velkor::ChartError&) {
    }
    axis.SetStartPosition(AnyDouble(in));
    axis.SetEndPosition(AnyDouble(in));
    axis.SetPositionPercent(AnyDouble(in));
    axis.SetInverted(in.ConsumeBool());
    axis.SetExactDateTime(in.ConsumeBool());
    axis.SetRoundFirstLabel(in.ConsumeBool());
    axis.SetLabelsOnAxis(in.ConsumeBool());
    axis.SetGridCentered(in.ConsumeBool());
    axis.SetLabelsSeparation(in.ConsumeIntegralInRange(-100, 1000));
    axis.SetMinorTickCount(in.ConsumeIntegralInRange(-1, 20));
}

void PaintChart(FuzzedDataProvider& in) {
    Chart c;
    testing::ConfigureLoggerChart(c);
    const int points = in.ConsumeIntegralInRange(0, 6);
    for (int k = 0; k < points; ++k)
        c.Series(static_cast<std::size_t>(k % 2)).AddXY(AnyDouble(in), AnyDouble(in));
    SetAxis(in, c.BottomAxis());
    SetAxis(in, c.LeftAxis());
    QImage image(in.ConsumeIntegralInRange(1, 800), in.ConsumeIntegralInRange(1, 600),
                 QImage::Format_RGB32);
    for (int k = 0; k < 2; ++k) {
        QPainter p(&image);
        c.Paint(p, image.rect());
    }
}

} // namespace

// The chart measures its texts with the fonts of a GUI application.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
        Helpers(in);
        break;
    case 1:
        DivideAxis(in);
        break;
    default:
        PaintChart(in);
    }
    return 0;
}
