#pragma once
// The chart benchmarks keep their large fixtures (charts, a chart window) from first use to the
// end of the run. They hold Qt objects, so main destroys them before the application object
// instead of leaving them to the static destructors that run after it.

namespace velkor::chart::testing {

// Points per series in the large charts.
constexpr int Points = 1000000;

// Destroys the drag benchmarks' chart window, if it was built.
void ReleaseDragFixtures();
// Destroys the hover benchmark's chart window, if it was built.
void ReleaseHoverFixtures();

} // namespace velkor::chart::testing
