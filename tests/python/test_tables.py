"""Look-up tables: the same rows in memory, in HDF5 and in CSV, and the fits that use them."""
import numpy as np

import tulmera

RANGES = {"LAI": (0.1, 8), "Cab": (5, 90), "Cm": (0.002, 0.02)}


def test_a_table_comes_back_whole_from_its_files(tmp_path):
    table = tulmera.lut(500, RANGES, seed=11, out=tmp_path / "t.h5", threads=2)
    tulmera.lut(500, RANGES, seed=11, out=str(tmp_path / "t.csv"), threads=1)
    for name in ("t.h5", "t.csv"):
        back = tulmera.read_table(tmp_path / name)
        assert np.array_equal(back.parameters, table.parameters), name
        assert np.array_equal(back.reflectance, table.reflectance), name
        assert (back.seed, back.samples, back.sampling, len(back)) == (11, 500, "lhs", 500)
        assert back.ranges == {k: (float(lo), float(hi)) for k, (lo, hi) in RANGES.items()}
        assert back.held["sun"] == 30 and back.lidf == "Esferico" and back.visibility == 15
    assert table.reflectance.dtype == np.float32 and table.parameters.shape == (500, 9)
    assert not table.parameters.flags.writeable  # a view of the table, not a copy to edit
    lai = table["LAI"]
    assert lai.min() >= 0.1 and lai.max() <= 8 and np.all(table["N"] == 1.5)


def test_table_rows_are_the_canopy_of_their_parameters():
    table = tulmera.lut(4, {"LAI": (0.5, 6), "sun": (0, 60)}, soil="S2", lidf="planophile")
    p = table.parameters
    c = tulmera.canopy(leaf=dict(N=p[:, 0], Cab=p[:, 1], Cw=p[:, 2], Cm=p[:, 3]), lai=p[:, 4],
                       sun=p[:, 5], view=p[:, 6], azimuth=p[:, 7], hotspot=p[:, 8],
                       soil="S2", lidf="planophile", fluxes=False)
    assert np.array_equal(c.reflectance.astype(np.float32), table.reflectance)


def test_the_canopy_fit_finds_the_lai_of_a_table_row(tmp_path):
    table = tulmera.lut(2000, {"LAI": (0.1, 8), "Cab": (20, 60)}, seed=2)
    row = 123
    measured = table.reflectance[row].astype(np.float64)
    fit = tulmera.fit_canopy(measured, table, best=1)
    assert fit.best_rows == [row] and fit.rmse_best == 0
    assert fit.mean["LAI"] == table["LAI"][row] and fit.sd["LAI"] is None
    tulmera.lut(2000, {"LAI": (0.1, 8), "Cab": (20, 60)}, seed=2, out=tmp_path / "t.h5")
    several = tulmera.fit_canopy(np.stack([measured, measured]), tmp_path / "t.h5", best=1)
    assert [f.best_rows for f in several] == [[row], [row]]
