#include "chart/LineSeries.h"

#include <limits>
#include <stdexcept>

namespace velkor::chart {

double ValueList::Value(std::size_t i) const {
    const std::span<const double> v = Values();
    if (i >= v.size())
        throw std::out_of_range("value index out of range");
    return v[i];
}

void ValueList::SetName(const QString& v) {
    if (name_ != v) {
        name_ = v;
        Changed();
    }
}

void ValueList::SetDateTime(bool v) {
    if (dateTime_ != v) {
        dateTime_ = v;
        Changed();
    }
}

void ValueList::SetOrder(ValueOrder v) {
    if (order_ != v) {
        order_ = v;
        Changed();
    }
}

void ValueList::SetMultiplier(double v) {
    if (multiplier_ != v) {
        multiplier_ = v;
        Changed();
    }
}

void ValueList::SetOffset(double v) {
    if (offset_ != v) {
        offset_ = v;
        Changed();
    }
}

LineSeries::LineSeries(const QString& name) : name_(name) {
    x_.SetName(QStringLiteral("X"));
    x_.SetDateTime(true);
    x_.SetOrder(ValueOrder::Ascending);
    y_.SetName(QStringLiteral("Y"));
}

int LineSeries::AddXY(double x, double y, const QString& label, Color color) {
    const std::size_t index =
        store_.Add(x * x_.Multiplier() + x_.Offset(), y * y_.Multiplier() + y_.Offset(), color,
                   label, x_.Order() == ValueOrder::Ascending);
    if (active_)
        Changed();
    return index > static_cast<std::size_t>(std::numeric_limits<int>::max())
               ? std::numeric_limits<int>::max()
               : static_cast<int>(index);
}

void LineSeries::Clear() {
    if (store_.Count() == 0)
        return;
    store_.Clear();
    if (active_)
        Changed();
}

void LineSeries::SetActive(bool v) {
    Update(active_, v);
}
void LineSeries::SetTitle(const QString& v) {
    Update(title_, v);
}
void LineSeries::SetSeriesColor(Color v) {
    Update(seriesColor_, v);
}
void LineSeries::SetPointerVisible(bool v) {
    Update(pointerVisible_, v);
}
void LineSeries::SetMarksVisible(bool v) {
    Update(marksVisible_, v);
}

} // namespace velkor::chart
