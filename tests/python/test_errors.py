"""Bad input is a ValueError that names the argument; nothing crashes, nothing is NaN."""
from pathlib import Path

import numpy as np
import pytest

import tulmera

# Each range end just passed, a value that is not a number, and a name that is not one.
BAD_CALLS = {
    "N below 1": (lambda: tulmera.leaf(N=0.99), "N = 0.99 is outside 1 to 100"),
    "Cab negative": (lambda: tulmera.leaf(Cab=-1), "Cab = -1 is outside 0 to 10000"),
    "Cm zero": (lambda: tulmera.leaf(Cm=0), "Cm = 0 is outside 0 (excluded) to 10"),
    "Cw NaN": (lambda: tulmera.leaf(Cw=float("nan")), "Cw = nan is outside"),
    "Cbrown above 1": (lambda: tulmera.leaf(model="prospect-d", Cbrown=1.5),
                       "Cbrown = 1.5 is outside 0 to 1"),
    "index of an array": (lambda: tulmera.leaf(Cab=[10, 20, -3]), "Cab[2] = -3"),
    "index of a 2-d array": (lambda: tulmera.canopy(lai=[[1, 2], [3, 0]]), "lai[1, 1] = 0"),
    "lai zero": (lambda: tulmera.canopy(lai=0), "lai = 0 is outside 0 (excluded) to 100"),
    "sun beyond the horizon": (lambda: tulmera.canopy(sun=90.5), "sun = 90.5 is outside 0 to 90"),
    "view beyond -90": (lambda: tulmera.canopy(view=-91), "view = -91 is outside -90 to 90"),
    "azimuth above 360": (lambda: tulmera.canopy(azimuth=361), "azimuth = 361"),
    "hotspot infinite": (lambda: tulmera.canopy(hotspot=np.inf), "hotspot = inf"),
    "leaf out of range inside canopy": (lambda: tulmera.canopy(leaf=dict(N=0)), "N = 0"),
    "visibility": (lambda: tulmera.canopy(visibility=20), "visibility = 20 is not a visibility"),
    "lidf": (lambda: tulmera.canopy(lidf="round"), "lidf \"round\""),
    "soil": (lambda: tulmera.canopy(soil="S5"), "soil \"S5\""),
    "sky mix": (lambda: tulmera.canopy(sky_mix="cloudy"), "sky_mix \"cloudy\""),
    "model": (lambda: tulmera.leaf(model="prospect-5"), "model \"prospect-5\""),
    "unknown pigment": (lambda: tulmera.leaf(Cx=1), "\"Cx\" is not a leaf parameter"),
    "pigment of another model": (lambda: tulmera.leaf(Car=8), "Car is not a parameter of the classic"),
    "Cm for PROSPECT-PRO": (lambda: tulmera.leaf(model="prospect-pro", Cm=0.01),
                            "Cm is not a parameter of the prospect-pro"),
    "text for a number": (lambda: tulmera.canopy(lai="3"), "lai must be a number"),
    "object for a number": (lambda: tulmera.leaf(N=[1, "a"]), "N must be a number"),
    "shapes that do not broadcast": (lambda: tulmera.canopy(lai=[1, 2, 3], sun=[0, 10]),
                                     "do not broadcast together: lai (3,), sun (2,)"),
    "leaf and canopy shapes": (lambda: tulmera.canopy(leaf=dict(Cab=[1, 2]), lai=[1, 2, 3]),
                               "Cab (2,), lai (3,)"),
    "leaf of another type": (lambda: tulmera.canopy(leaf=3), "leaf must be a Leaf"),
    "threads zero": (lambda: tulmera.leaf(threads=0), "threads must be None"),
    "spectrum too short": (lambda: tulmera.indices(np.zeros(420)), "421 values"),
    "spectrum with NaN": (lambda: tulmera.bands(np.full(421, np.nan), "IKONOS"),
                          "spectrum holds nan at 400 nm"),
    "sensor": (lambda: tulmera.bands(np.zeros(421), "Landsat-10"), "sensor \"Landsat-10\""),
    "fit without spectra": (lambda: tulmera.fit_leaf(), "needs R"),
    "fit with too few points": (lambda: tulmera.fit_leaf(np.r_[np.full(412, np.nan),
                                                                np.full(9, 0.3)]),
                                "9 measured wavelengths"),
    "fit with unequal shapes": (lambda: tulmera.fit_leaf(np.zeros((2, 421)), np.zeros(421)),
                                "same number of spectra"),
    "table range outside the domain": (lambda: tulmera.lut(10, {"LAI": (0, 8)}),
                                       "LAI range 0:8 reaches 0"),
    "table parameter": (lambda: tulmera.lut(10, {"height": (0, 8)}), "\"height\" is not a table"),
    "table samples": (lambda: tulmera.lut(0), "samples must be a whole number"),
    "table file type": (lambda: tulmera.lut(10, out="table.txt"), "FILE.h5 (HDF5) or FILE.csv"),
    "best beyond the rows": (lambda: tulmera.fit_canopy(tulmera.canopy().reflectance,
                                                        tulmera.lut(5), best=6),
                             "best must be a whole number from 1 to the table's rows (5)"),
}


@pytest.mark.parametrize("case", BAD_CALLS, ids=list(BAD_CALLS))
def test_bad_input_is_a_value_error_naming_it(case):
    call, message = BAD_CALLS[case]
    with pytest.raises(ValueError) as raised:
        call()
    assert message in str(raised.value)


def test_a_model_failure_names_the_row_and_its_values():
    # A PROSPECT-PRO leaf of water alone leaves wavelengths where nothing absorbs (k = 0).
    with pytest.raises(ValueError, match=r"Row 1 \(N=1\.5, .*Prot=0, CBC=0\).*nm"):
        tulmera.leaf(model="prospect-pro", Cw=[0.01, 0.0], Prot=[0.001, 0.0], CBC=0.0)


def test_a_table_that_cannot_be_written_leaves_nothing(tmp_path):
    target = tmp_path / "missing" / "table.h5"
    with pytest.raises(OSError, match="table.h5"):
        tulmera.lut(20, {"LAI": (0.5, 4)}, out=target)
    assert not (tmp_path / "missing").exists()
    # A folder in the table's place cannot be replaced (root too is refused that).
    in_the_way = tmp_path / "old.csv"
    (in_the_way / "kept").mkdir(parents=True)
    with pytest.raises(OSError, match="old.csv"):
        tulmera.lut(20, {"LAI": (0.5, 4)}, out=in_the_way)
    assert [p.name for p in in_the_way.iterdir()] == ["kept"]
    assert sorted(p.name for p in tmp_path.iterdir()) == ["old.csv"]  # no temporary left


def test_reading_what_is_no_table_is_an_os_error(tmp_path):
    with pytest.raises(OSError, match="absent.h5"):
        tulmera.read_table(tmp_path / "absent.h5")
    damaged = tmp_path / "damaged.csv"
    damaged.write_text("# Tulmera\nN,Cab\n1,2\n")
    with pytest.raises(OSError, match="damaged.csv"):
        tulmera.read_table(damaged)


def test_a_file_the_hdf5_library_crashes_on_is_refused(tmp_path):
    # Its global heap makes the HDF5 library read beyond a buffer: the interpreter lives on.
    faults = Path(__file__).resolve().parents[2] / "fuzz" / "library_faults" / "hdf5_table_reader"
    shard = tmp_path / "shard.h5"
    shard.write_bytes((faults / "string_attribute_heap_overread").read_bytes())
    with pytest.raises(OSError, match="shard.h5"):
        tulmera.read_table(shard)


def test_messages_keep_a_decimal_point_under_a_comma_locale():
    import locale
    try:
        previous = locale.setlocale(locale.LC_ALL)
        locale.setlocale(locale.LC_ALL, "es_ES.UTF-8")
    except locale.Error:
        pytest.skip("no es_ES.UTF-8 locale here")
    try:
        with pytest.raises(ValueError, match=r"N = 0\.99 is outside 1 to 100"):
            tulmera.leaf(N=0.99)
        assert np.array_equal(tulmera.canopy().reflectance, tulmera.canopy(threads=1).reflectance)
    finally:
        locale.setlocale(locale.LC_ALL, previous)
