"""The figures of a paced send, from the times at which the modem received its bytes.

The program waits more than 50 ms after each character it writes. Now and then on a busy
machine a byte reaches the modem late (Wine's write or the pseudo-terminal's hand-over
waits for the processor): that byte's gap before it grows by the delay and its gap after
it shrinks by the same, while the two together keep what the sender spent on them. So
each gap is held to the rule, with one allowance:

    a gap of 50 ms or less is forgiven only when the gap just before it is over 50 ms by
    at least as much as this one falls short, i.e. the two together are over 100 ms.

A gap that lends is over 50 ms itself and lends only to the gap right after it, so two
short gaps in a row never pass. The first byte of a send comes after a quiet spell and
may be late like any other: the quiet spell lends to the send's first gap as a gap would
(it is not held itself), so only a send whose first gap alone is short can pass with it."""
import statistics

LEAST_MS = 50.0


def gaps(times):
    """The gaps between consecutive arrival times, in the same unit."""
    return [b - a for a, b in zip(times, times[1:])]


def send_gaps(times, first):
    """The gaps of the send whose first byte is TIMES[FIRST], and the quiet spell before
    it (None when the send is the first thing received)."""
    quiet = times[first] - times[first - 1] if first > 0 else None
    return gaps(times[first:]), quiet


def unpaced(gap_list, quiet=None, least=LEAST_MS):
    """The (index, gap) of every gap of a send the rule does not hold; QUIET is the spell
    before the send's first byte."""
    faults = []
    for i, gap in enumerate(gap_list):
        before = gap_list[i - 1] if i > 0 else quiet
        if gap > least or (before is not None and before + gap > 2 * least):
            continue
        faults.append((i, gap))
    return faults


def describe(gap_list, quiet=None, least=LEAST_MS):
    """One line of what a send's gaps show."""
    if not gap_list:
        return "no gaps"
    short = sum(1 for g in gap_list if g <= least)
    return (f"median gap {statistics.median(gap_list):.1f} ms, smallest {min(gap_list):.1f} ms "
            f"({short} at {least:.0f} ms or under, {len(unpaced(gap_list, quiet, least))} not forgiven), "
            f"span {sum(gap_list):.0f} ms for {len(gap_list)} gaps")


def percentile(gap_list, fraction):
    """The value below which FRACTION of the gaps lie (nearest rank, rounding down)."""
    ordered = sorted(gap_list)
    return ordered[int(fraction * (len(ordered) - 1))]


def summary(name, gap_list, spans, least=LEAST_MS):
    """The benchmark's line for NAME: the gaps of all its sends and their spans, each span
    (first to last byte, characters - 1) against the least pace."""
    span = sum(s for s, _ in spans)
    count = sum(n for _, n in spans)
    return (f"{name:<10} gaps {len(gap_list):4d}  median {statistics.median(gap_list):.2f} ms  "
            f"p99 {percentile(gap_list, 0.99):.2f} ms  max {max(gap_list):.2f} ms  "
            f"script {span / (count * least):.4f} x characters x {least:.0f} ms")
