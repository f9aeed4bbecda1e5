#include "chart/PointStore.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace velkor::chart {

std::size_t PointStore::Add(double x, double y, Color color, const QString& label, bool ordered) {
    const std::size_t count = Count();
    if (std::isnan(x) || std::isnan(y))
        hasNaN_ = true;
    if (count == 0) {
        firstColor_ = color;
        minX_ = maxX_ = x;
        minY_ = maxY_ = y;
    } else {
        UpdateExtremes(x, y);
    }
    if (color != firstColor_ && !mixedColors_) {
        mixedColors_ = true;
        UseDenseColors();
    }
    if (!label.isEmpty() && !hasLabels_) {
        hasLabels_ = true;
        UseDenseLabels();
    }

    // Smaller than every X so far, and so since the second point: a file in reverse time
    // order. The arrays take it in arrival order and are turned round in place when read,
    // which costs neither a copy nor a pending run.
    if (ordered && runs_.empty() && !x_.empty() && (descending_ || x_.size() == 1) &&
        x < x_.back()) {
        descending_ = true;
        Append(x, y, color, label);
        return 0;
    }
    if (descending_)
        Ascend();

    // Not smaller than the last X (which is always the last of the arrays): append.
    if (!ordered || x_.empty() || !(x < x_.back())) {
        if (!ordered)
            Flush();
        Append(x, y, color, label);
        return count;
    }

    const std::size_t index = CountNotAbove(x);
    std::uint32_t labelIndex = NoLabel;
    if (!label.isEmpty()) {
        labelIndex = static_cast<std::uint32_t>(pendingLabels_.size());
        pendingLabels_.push_back(label);
    }
    AddPending({x, y, color, labelIndex});
    return index;
}

void PointStore::Append(double x, double y, Color color, const QString& label) {
    x_.push_back(x);
    y_.push_back(y);
    if (mixedColors_)
        colors_.push_back(color);
    if (hasLabels_)
        labels_.push_back(label);
}

void PointStore::Ascend() const {
    descending_ = false;
    std::reverse(x_.data(), x_.data() + x_.size());
    std::reverse(y_.data(), y_.data() + y_.size());
    if (mixedColors_)
        std::reverse(colors_.data(), colors_.data() + colors_.size());
    if (hasLabels_)
        std::reverse(labels_.begin(), labels_.end());
}

void PointStore::UpdateExtremes(double x, double y) {
    // A NaN never becomes an extreme, and an extreme that is NaN gives way to any number.
    if (!std::isnan(x)) {
        if (!(x >= minX_))
            minX_ = x;
        if (!(x <= maxX_))
            maxX_ = x;
    }
    if (!std::isnan(y)) {
        if (!(y >= minY_))
            minY_ = y;
        if (!(y <= maxY_))
            maxY_ = y;
    }
}

void PointStore::Clear() {
    *this = PointStore();
}

std::size_t PointStore::CountNotAbove(double x) const {
    std::size_t n =
        static_cast<std::size_t>(std::upper_bound(x_.begin(), x_.end(), x) - x_.begin());
    for (const Run& r : runs_) {
        if (r.reversed) {
            // Stored in descending order: the points not above x are at the back.
            auto it = std::partition_point(r.items.begin(), r.items.end(),
                                           [x](const Pending& p) { return p.x > x; });
            n += static_cast<std::size_t>(r.items.end() - it);
        } else {
            auto it = std::upper_bound(r.items.begin(), r.items.end(), x,
                                       [](double v, const Pending& p) { return v < p.x; });
            n += static_cast<std::size_t>(it - r.items.begin());
        }
    }
    return n;
}

void PointStore::AddPending(const Pending& p) {
    ++pendingCount_;
    if (!ExtendLastRun(p))
        runs_.push_back(Run{{p}, false});
    // Each run is kept more than twice as long as the one after it: at most log2(n) runs to
    // search, and every point is merged only a logarithmic number of times.
    while (runs_.size() >= 2 &&
           2 * runs_.back().items.size() >= runs_[runs_.size() - 2].items.size())
        MergeLastRuns();
}

bool PointStore::ExtendLastRun(const Pending& p) {
    if (runs_.empty())
        return false;
    Run& r = runs_.back();
    if (r.items.size() == 1) {
        r.reversed = p.x < r.items.front().x;
        r.items.push_back(p);
        return true;
    }
    // A point equal to the first of a run must follow it, so a run grows at its front only
    // with strictly smaller points.
    const bool grows = r.reversed ? p.x < r.items.back().x : !(p.x < r.items.back().x);
    if (grows)
        r.items.push_back(p);
    return grows;
}

void PointStore::MergeLastRuns() const {
    Run newer = std::move(runs_.back());
    runs_.pop_back();
    Run& older = runs_.back();
    std::vector<Pending> merged;
    merged.reserve(older.items.size() + newer.items.size());
    // The older run wins ties: equal X keep their order of arrival.
    auto later = [](const Pending& a, const Pending& b) { return a.x < b.x; };
    if (older.reversed && newer.reversed)
        std::merge(older.items.rbegin(), older.items.rend(), newer.items.rbegin(),
                   newer.items.rend(), std::back_inserter(merged), later);
    else if (older.reversed)
        std::merge(older.items.rbegin(), older.items.rend(), newer.items.begin(), newer.items.end(),
                   std::back_inserter(merged), later);
    else if (newer.reversed)
        std::merge(older.items.begin(), older.items.end(), newer.items.rbegin(), newer.items.rend(),
                   std::back_inserter(merged), later);
    else
        std::merge(older.items.begin(), older.items.end(), newer.items.begin(), newer.items.end(),
                   std::back_inserter(merged), later);
    older.items = std::move(merged);
    older.reversed = false;
}

void PointStore::Flush() const {
    if (descending_)
        Ascend();
    if (runs_.empty())
        return;
    while (runs_.size() > 1)
        MergeLastRuns();
    const Run& r = runs_.front();
    const std::size_t n = x_.size(), p = r.items.size();
    auto item = [&](std::size_t j) -> const Pending& {
        return r.reversed ? r.items[p - 1 - j] : r.items[j];
    };
    GrowBuffer<double> nx(n + p), ny(n + p);
    GrowBuffer<Color> nc(mixedColors_ ? n + p : 0);
    std::vector<QString> nl(hasLabels_ ? n + p : 0);
    std::size_t i = 0, j = 0;
    for (std::size_t k = 0; k < n + p; ++k) {
        // Points already in the arrays came first when X values are equal.
        const bool fromArrays = j == p || (i < n && !(item(j).x < x_[i]));
        if (fromArrays) {
            nx[k] = x_[i];
            ny[k] = y_[i];
            if (mixedColors_)
                nc[k] = colors_[i];
            if (hasLabels_)
                nl[k] = std::move(labels_[i]);
            ++i;
        } else {
            const Pending& q = item(j);
            nx[k] = q.x;
            ny[k] = q.y;
            if (mixedColors_)
                nc[k] = q.color;
            if (hasLabels_ && q.label != NoLabel)
                nl[k] = pendingLabels_[q.label];
            ++j;
        }
    }
    x_ = std::move(nx);
    y_ = std::move(ny);
    colors_ = std::move(nc);
    labels_ = std::move(nl);
    runs_.clear();
    pendingLabels_.clear();
    pendingCount_ = 0;
}

std::span<const double> PointStore::X() const {
    Flush();
    return x_.span();
}

std::span<const double> PointStore::Y() const {
    Flush();
    return y_.span();
}

Color PointStore::ColorAt(std::size_t i) const {
    Flush();
    if (i >= x_.size())
        throw std::out_of_range("point index out of range");
    return mixedColors_ ? colors_[i] : firstColor_;
}

QString PointStore::LabelAt(std::size_t i) const {
    Flush();
    if (i >= x_.size())
        return {};
    return hasLabels_ ? labels_[i] : QString();
}

bool PointStore::UniformColor(Color& color) const {
    if (mixedColors_ || Count() == 0)
        return false;
    color = firstColor_;
    return true;
}

void PointStore::UseDenseColors() const {
    colors_.assign(x_.size(), firstColor_);
}

void PointStore::UseDenseLabels() const {
    labels_.resize(x_.size());
}

std::size_t PointStore::MemoryBytes() const {
    std::size_t bytes = (x_.capacity() + y_.capacity()) * sizeof(double) +
                        colors_.capacity() * sizeof(Color) + labels_.capacity() * sizeof(QString) +
                        runs_.capacity() * sizeof(Run) +
                        pendingLabels_.capacity() * sizeof(QString);
    for (const Run& r : runs_)
        bytes += r.items.capacity() * sizeof(Pending);
    for (const QString& s : labels_)
        bytes += static_cast<std::size_t>(s.capacity()) * sizeof(QChar);
    return bytes;
}

} // namespace velkor::chart
