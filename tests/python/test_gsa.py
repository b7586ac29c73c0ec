"""gsa() gives the indices of tulmera-batch gsa for the same inputs."""
import numpy as np
import pytest

import tulmera


def number_text(value):
    """A number as the batch runner's files write it (%.15G, no negative zero)."""
    text = format(value, ".15G")
    return "0" if text == "-0" else text


def test_indices_equal_the_batch_runner(batch):
    batch.run("gsa", "--samples", 64, "--range", "LAI=0.5:6", "--range", "Cab=10:80",
              "--range", "sun=10:50", "--quantity", "fluxes", "--quantity", "indices",
              "--quantity", "Landsat-TM", "--bootstrap", 40, "--seed", 9, "--N", 1.5, "--Cw", 0.01,
              "--Cm", 0.009, "--view", 0, "--azimuth", 0, "--hotspot", 0.1, "--lidf", "Esferico",
              "--soil",
              "S2:32% arena 39% limo 29% arcilla", "--visibility", 50, "--sky-mix", "physical",
              "--out", "s.csv", "--quiet", "--threads", 2)
    result = tulmera.gsa({"lai": (0.5, 6), "Cab": (10, 80), "sun": (10, 50)}, 64,
                         quantity=["fluxes", "indices", "landsat-tm"], bootstrap=40, seed=9,
                         soil="S2", visibility=50, sky_mix="physical", threads=1)
    with open(batch.path("s.csv"), encoding="utf-8") as f:
        first, header, *lines = f.read().splitlines()
    # The settings name every held value: the two ran the same analysis.
    assert first == "# tulmera sensitivity analysis 1; " + result.settings
    assert header == "quantity,parameter,S1,S1_low,S1_high,ST,ST_low,ST_high"
    assert result.parameters == ("Cab", "LAI", "sun")
    assert len(lines) == len(result.quantities) * 3
    arrays = [result.S1, result.S1_low, result.S1_high, result.ST, result.ST_low,
              result.ST_high]
    masked = 0
    for line, (q, p) in zip(lines, np.ndindex(result.S1.shape)):
        fields = line.split(",")
        assert fields[:2] == [result.quantities[q], result.parameters[p]]
        if fields[2] == "":
            assert all(a.mask[q, p] for a in arrays)  # no indices: every estimate masked
            masked += 1
            continue
        assert fields[2:] == [number_text(a[q, p]) for a in arrays], line
    assert masked < len(lines)
    # fCover does not depend on Cab, and the thread count changes no bit.
    two = tulmera.gsa({"LAI": (0.5, 6), "Cab": (10, 80), "sun": (10, 50)}, 64,
                      quantity=["fluxes", "indices", "Landsat-TM"], bootstrap=40, seed=9,
                      soil="S2", visibility=50, sky_mix="physical", threads=2)
    for mine, theirs in zip(arrays, [two.S1, two.S1_low, two.S1_high, two.ST, two.ST_low,
                                     two.ST_high]):
        assert np.array_equal(mine.mask, theirs.mask) and np.array_equal(mine.data, theirs.data)
    assert abs(result.ST[result.quantities.index("fCover"), 0]) < 1e-12


@pytest.mark.parametrize("call, message", [
    (lambda: tulmera.gsa({"LAI": (0.5, 6)}), "at least two parameters (1 given)"),
    (lambda: tulmera.gsa({"LAI": (0.5, 6), "Cab": (10, 10)}), "is empty"),
    (lambda: tulmera.gsa({"LAI": (0, 6), "Cab": (10, 80)}), "LAI range 0:6 reaches 0"),
    (lambda: tulmera.gsa({"LAI": (1, 6), "lai": (2, 3), "Cab": (1, 2)}), "names LAI twice"),
    (lambda: tulmera.gsa({"LAI": (1, 6), "Cab": (1, 2)}, 1000), "not a power of two"),
    (lambda: tulmera.gsa({"LAI": (1, 6), "Cab": (1, 2)}, quantity="colour"),
     "sensor \"colour\" is not a sensor"),
    (lambda: tulmera.gsa({"LAI": (1, 6), "Cab": (1, 2)}, quantity=["fluxes", "fluxes"]),
     "given twice"),
    (lambda: tulmera.gsa({"LAI": (1, 6), "Cab": (1, 2)}, bootstrap=0), "bootstrap must be"),
    (lambda: tulmera.gsa({"LAI": (1, 6), "Cab": (1, 2)}, 1 << 20), "2^28 outputs"),
])
def test_bad_analyses_are_refused(call, message):
    with pytest.raises(ValueError, match=None) as raised:
        call()
    assert message in str(raised.value)
