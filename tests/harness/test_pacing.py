"""The pacing rule on tables of gaps, without Wine."""
import pytest

from harness import pacing


@pytest.mark.parametrize("gaps, quiet, faults", [
    pytest.param([51.0] * 44, None, [], id="steady just over 50 ms"),
    # The quiet spell lends at most 25 ms (a late first byte): three gaps, then nothing.
    pytest.param([50.0] * 44, 3000.0, [(i, 50.0) for i in range(3, 44)], id="exactly 50 ms"),
    pytest.param([55.0] * 10 + [0.1, 0.1, 0.1] + [55.0] * 10, 3000.0, [(10, 0.1), (11, 0.1), (12, 0.1)],
                 id="a few unpaced characters"),
    pytest.param([55.0] * 10 + [0.1] + [55.0] * 10, None, [(10, 0.1)], id="one unpaced character"),
    # A late byte: the gap before it long, the gap after it short, the two over 100 ms.
    pytest.param([52.3, 58.1, 51.2, 74.0, 31.5, 53.3, 50.9, 66.0, 40.2, 52.8], None, [],
                 id="jittered good send"),
    pytest.param([58.0, 49.0, 52.0], None, [], id="a short gap after a long one"),
    # Two bytes in a row late (seen under Wine): the short gap borrows from both before it.
    pytest.param([51.0, 51.0, 53.3, 52.5, 47.3, 51.0], None, [], id="a late run of two bytes"),
    pytest.param([51.0, 51.0, 51.0, 51.0, 45.0, 51.0], None, [(4, 45.0)], id="nothing to borrow from"),
    pytest.param([60.0, 40.0, 55.0], None, [(1, 40.0)], id="the two together exactly 100 ms"),
    pytest.param([90.0, 30.0, 30.0, 55.0], None, [(2, 30.0)], id="a long gap lends at most 25 ms"),
    pytest.param([45.0, 60.0, 55.0], None, [(0, 45.0)], id="nothing before the first gap"),
    # The first byte of a send late: the quiet spell before it lends to the first gap.
    pytest.param([49.9, 51.0, 51.0], 2800.0, [], id="the first byte late"),
    pytest.param([0.3, 0.3, 51.0], 2800.0, [(0, 0.3), (1, 0.3)], id="a send that starts unpaced"),
    # A pause within a send (its answers awaited) lends like any gap, no more than 25 ms.
    pytest.param([4000.0, 0.5, 0.5, 55.0], None, [(1, 0.5), (2, 0.5)], id="a pause lends 25 ms"),
])
def test_each_gap_is_held(gaps, quiet, faults):
    assert pacing.unpaced(gaps, quiet) == faults


def test_a_send_and_the_quiet_spell_before_it():
    assert pacing.send_gaps([10.0, 3010.0, 3061.0, 3112.5], 1) == ([51.0, 51.5], 3000.0)
    assert pacing.send_gaps([3010.0, 3061.0], 0) == ([51.0], None)


def test_gaps_are_differences_of_arrival_times():
    assert pacing.gaps([100.0, 151.5, 203.0, 260.25]) == [51.5, 51.5, 57.25]


def test_summary_figures():
    line = pacing.summary("busy", [50.0, 52.0, 54.0, 100.0], [(256.0, 4)])
    assert "gaps    4" in line
    assert "median 53.00 ms" in line
    assert "p99 54.00 ms" in line
    assert "max 100.00 ms" in line
    assert "script 1.2800 x characters" in line
