"""The figures of a paced send, from the times at which the modem received its bytes.

The program waits more than 50 ms after each character it writes. Now and then on a busy
machine bytes reach the modem late (Wine's write or the pseudo-terminal's hand-over waits
for the processor), sometimes a few in a row: a late byte lengthens the gap before it and
shortens the gap after it by its delay, while the gaps together keep what the sender spent
on them. So each gap is held to the rule, with one allowance:

    a gap of 50 ms or less is forgiven only when it and the one, two or three gaps just
    before it together are over 50 ms each on average, every gap before it counted at
    most 50 + MAX_LATE_MS ms.

A byte may thus be up to MAX_LATE_MS late, and a late run of bytes is told apart by the
gaps just before it; a send paced at exactly 50 ms, or with a few unpaced characters, has
nothing to borrow from and fails. The quiet spell before a send's first byte lends like a
gap (capped the same way), since that byte may be late too."""
import statistics

LEAST_MS = 50.0
MAX_LATE_MS = 25.0  # the most a byte is taken to be delivered late
WINDOW = 4  # a short gap and the gaps before it that may lend to it


def gaps(times):
    """The gaps between consecutive arrival times, in the same unit."""
    return [b - a for a, b in zip(times, times[1:])]


def send_gaps(times, first):
    """The gaps of the send whose first byte is TIMES[FIRST], and the quiet spell before
    it (None when the send is the first thing received)."""
    quiet = times[first] - times[first - 1] if first > 0 else None
    return gaps(times[first:]), quiet


def _forgiven(lenders, here, least):
    """Whether LENDERS[HERE], a short gap, and up to WINDOW - 1 gaps before it average over
    LEAST, each lender capped at LEAST + MAX_LATE_MS."""
    total = lenders[here]
    for k in range(1, min(WINDOW, here + 1)):
        total += min(lenders[here - k], least + MAX_LATE_MS)
        if total > least * (k + 1):
            return True
    return False


def unpaced(gap_list, quiet=None, least=LEAST_MS):
    """The (index, gap) of every gap of a send the rule does not hold; QUIET is the spell
    before the send's first byte."""
    lenders = ([] if quiet is None else [quiet]) + list(gap_list)
    offset = len(lenders) - len(gap_list)
    return [(i, gap) for i, gap in enumerate(gap_list)
            if gap <= least and not _forgiven(lenders, offset + i, least)]


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
