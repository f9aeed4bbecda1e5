#!/usr/bin/env python3
"""A week of a vaccine fridge, built the same way as FridgeWeek() in SummaryTest.cpp, and its
summary worked out independently of the C++ code: plain loops over the readings, Python's own
math, nothing shared. Prints the expected values that SummaryTest.cpp holds. Run once by hand
when the fridge week changes."""
import datetime as dt
import math

START = dt.datetime(2026, 3, 2)
STEP = 300
N = 7 * 86400 // STEP


def at(day, hour, minute):
    return START + dt.timedelta(days=day, hours=hour, minutes=minute)


def fridge_week():
    """(time, tenths of °C, tenths of %RH) in time order, the duplicate last."""
    gap_from, gap_to = at(3, 10, 5), at(3, 13, 0)
    doors = [(8, 0), (12, 30), (18, 0)]
    samples = []
    for i in range(N):
        t = START + dt.timedelta(seconds=i * STEP)
        if gap_from <= t <= gap_to:
            continue
        c = 45 + (i * 7) % 11 - 5
        h = 550 + (i * 13) % 41 - 20
        minutes = t.hour * 60 + t.minute
        for hour, minute in doors:
            k = (minutes - (hour * 60 + minute)) // 5
            if 0 <= k < 3:
                c += (38, 28, 12)[k]
                if k == 0:
                    h += 150
        day = (t - START).days
        if day == 2 and 120 <= minutes < 155:  # defrost 02:00-02:30
            c = (60, 85, 100, 104, 95, 80, 60)[(minutes - 120) // 5]
        night = (t - at(5, 22, 0)).total_seconds() / STEP
        if 0 <= night < 72:  # freezing night, 22:00 to 04:00
            k = int(night)
            c = max(-8, 15 - k) if k < 60 else -8 + (k - 59) * 2
        special = {at(1, 15, 0): 80, at(1, 15, 5): 80, at(1, 15, 10): 20, at(1, 15, 15): 81,
                   at(6, 9, 0): 20, at(6, 9, 5): 19, at(6, 9, 10): 20,
                   at(3, 9, 55): 85, at(3, 10, 0): 85, at(3, 13, 5): 90, at(3, 13, 10): 85}
        c = special.get(t, c)
        samples.append((t, c, h))
    return samples


def stats(values):
    n = len(values)
    lo = min(values, key=lambda v: v[1])
    hi = max(values, key=lambda v: v[1])
    # min()/max() return the first of equal values: the first time it occurs.
    mean = sum(v[1] for v in values) / n
    sd = math.sqrt(sum((v[1] - mean) ** 2 for v in values) / (n - 1))
    return lo[1], lo[0], hi[1], hi[0], mean, sd


def fmt(t):
    return t.strftime("%Y-%m-%d %H:%M:%S")


def main():
    data = fridge_week()
    readings = [(t, c / 10, h / 10) for t, c, h in data]
    spacings = sorted(int((b[0] - a[0]).total_seconds()) for a, b in zip(readings, readings[1:]))
    interval = spacings[(len(spacings) - 1) // 2]
    print("samples", len(readings), "interval", interval)
    for a, b in zip(readings, readings[1:]):
        s = (b[0] - a[0]).total_seconds()
        if s > 1.5 * interval:
            print("gap", fmt(a[0]), fmt(b[0]), int(s - interval))
    temps = [(t, c) for t, c, h in readings]
    print("temperature %.12f %s %.12f %s %.12f %.12f" % tuple(
        x if isinstance(x, float) else fmt(x) for x in stats(temps)))
    mkt = 10000 / -math.log(sum(math.exp(-10000 / (c + 273.15)) for _, c in temps) / len(temps))
    print("mkt %.12f" % (mkt - 273.15))
    hums = [(t, h) for t, c, h in readings]
    print("humidity %.12f %s %.12f %s %.12f %.12f" % tuple(
        x if isinstance(x, float) else fmt(x) for x in stats(hums)))
    dews = []
    for t, c, h in readings:
        g = math.log(h / 100) + 17.62 * c / (243.12 + c)
        dews.append((t, 243.12 * g / (17.62 - g)))
    print("dew %.12f %s %.12f %s %.12f %.12f" % tuple(
        x if isinstance(x, float) else fmt(x) for x in stats(dews)))

    def limits(values, low, high, name):
        below = sum(1 for _, v in values if v < low) * interval
        above = sum(1 for _, v in values if v > high) * interval
        print(name, low, high, below, above)
        run = None
        prev = None
        for t, v in values:
            side = "below" if v < low else "above" if v > high else None
            gap = prev is not None and (t - prev).total_seconds() > 1.5 * interval
            if run and (side != run[0] or gap):
                print("  excursion", run[0], fmt(run[1]), fmt(run[2]), run[3] * interval, run[4])
                run = None
            if side:
                if run is None:
                    run = [side, t, t, 0, v]
                run[2] = t
                run[3] += 1
                run[4] = max(run[4], v) if side == "above" else min(run[4], v)
            prev = t
        if run:
            print("  excursion", run[0], fmt(run[1]), fmt(run[2]), run[3] * interval, run[4])

    limits(temps, 2, 8, "limits")
    limits(hums, 40, 70, "humidity_limits")

    rules = [("above", 8, 600, "single"), ("above", 8, 2700, "cumulative"),
             ("below", 2, 3600, "single"), ("below", 0, 0, "single"),
             ("above", 10, 900, "single")]
    for side, threshold, delay, mode in rules:
        stretch = total = 0
        fired = None
        prev = None
        for t, c in temps:
            beyond = c >= threshold if side == "above" else c <= threshold
            gap = prev is not None and (t - prev).total_seconds() > 1.5 * interval
            prev = t
            if not beyond or gap:
                stretch = 0
            if not beyond:
                continue
            stretch += interval
            total += interval
            if fired is None and (stretch if mode == "single" else total) >= delay:
                fired = t
        print("alarm", side, threshold, delay, mode, fired and fmt(fired), total)

    days = {}
    for t, c, h in readings:
        days.setdefault(t.date(), []).append((t, c))
    for day, values in sorted(days.items()):
        lo, _, hi, _, mean, _ = stats(values)
        below = sum(1 for _, v in values if v < 2) * interval
        above = sum(1 for _, v in values if v > 8) * interval
        print("day", day, len(values), lo, hi, "%.12f" % mean, below, above)


main()
