"""The module's numbers are the batch runner's, to the last bit, for the same inputs."""
import numpy as np
import pytest

import tulmera
from conftest import canopy_arguments, read_csv_columns

# Leaves and canopies across the models' branches: thin and thick leaves, each distribution,
# soil and visibility, hot spot on and off, the view signed, the sun high and low.
CASES = {
    "defaults": (dict(N=1.5, Cab=40, Cw=0.01, Cm=0.009),
                 dict(lai=3, sun=30, view=0, azimuth=0, hotspot=0.1, lidf="spherical",
                      soil="S1", visibility=15)),
    "thin leaf, sparse, hot spot seen": (dict(N=1, Cab=5, Cw=0.0001, Cm=0.002),
                                         dict(lai=0.1, sun=40, view=40, azimuth=0, hotspot=0.5,
                                              lidf="planophile", soil="S2", visibility=50)),
    "thick leaf, dense, backwards view": (dict(N=4, Cab=90, Cw=0.07, Cm=0.04),
                                          dict(lai=8, sun=75, view=-60, azimuth=180,
                                               hotspot=0, lidf="erectophile", soil="S3",
                                               visibility=15)),
    "plagiophile at noon": (dict(N=2.2, Cab=60, Cw=0.02, Cm=0.005),
                            dict(lai=1.5, sun=0, view=15, azimuth=90, hotspot=0.05,
                                 lidf="plagiophile", soil="S4", visibility=50)),
    "extremophile": (dict(N=1.2, Cab=25, Cw=0.005, Cm=0.012),
                     dict(lai=5, sun=60, view=30, azimuth=300, hotspot=1, lidf="extremophile",
                          soil="S1", visibility=15)),
}


def leaf_fraction_as_batch_keeps_it(value):
    """A leaf value as the canopy run holds it, divided back by 100 (the CSV's leaf columns)."""
    return 100.0 * float(format(value, ".15G")) / 100.0


@pytest.mark.parametrize("case", CASES, ids=list(CASES))
def test_leaf_and_canopy_equal_the_batch_runner(batch, case):
    leaf_args, canopy_args = CASES[case]
    batch.run("canopy", *canopy_arguments(leaf_args, canopy_args), "--csv", "spectra.csv")
    columns = read_csv_columns(batch.path("spectra.csv"))
    leaf = tulmera.leaf(**leaf_args)
    canopy = tulmera.canopy(leaf=leaf, **canopy_args)

    # "VP.dat" holds the leaf model's values at 15 digits; the module gives the full doubles.
    with open(batch.path("VP.dat"), encoding="ascii") as f:
        fields = [line.split() for line in f]
    assert [f[1] for f in fields] == [format(r, ".15G") for r in leaf.reflectance]
    assert [f[2] for f in fields] == [format(t, ".15G") for t in leaf.transmittance]
    expected_refl = [float(v) for v in columns["leaf_reflectance"]]
    assert [leaf_fraction_as_batch_keeps_it(r) for r in leaf.reflectance] == expected_refl

    # The CSV's canopy column is the shortest text that reads back as the run's doubles.
    expected = np.array([float(v) for v in columns["canopy_reflectance"]])
    assert np.array_equal(canopy.reflectance, expected), case
    with open(batch.path("VS.dat"), encoding="ascii") as f:
        vs = [line.strip().split(",")[1] for line in f]
    assert vs == [format(r, ".15G") for r in canopy.reflectance]


def test_exact_arrays_give_each_scalar_call_bit_for_bit():
    lai = np.array([0.1, 0.5, 2.0, 6.0])
    cab = np.array([[10.0], [70.0]])
    many = tulmera.canopy(leaf=dict(Cab=cab), lai=lai, sun=45, threads=2, exact=True)
    assert many.reflectance.shape == (2, 4, 421)
    for i in range(2):
        for j in range(4):
            one = tulmera.canopy(leaf=tulmera.leaf(Cab=cab[i, 0]), lai=lai[j], sun=45)
            assert np.array_equal(many.reflectance[i, j], one.reflectance)
            assert many.fapar[i, j] == one.fapar and many.albedo[i, j] == one.albedo
            assert many.fcover[i, j] == one.fcover


def test_indices_and_bands_equal_the_batch_runner(batch):
    leaf_args, canopy_args = CASES["defaults"]
    out = batch.run("indices", *canopy_arguments(leaf_args, canopy_args),
                    "--sensor", "Sentinel-2 MSI")
    expected = dict(line.split(",", 1) for line in out.splitlines()[1:])
    reflectance = tulmera.canopy(tulmera.leaf(**leaf_args), **canopy_args).reflectance
    values = tulmera.indices(reflectance, "Sentinel-2 MSI")
    assert len(values) == 18
    for name, value in values.items():
        assert expected[name] == "" if value is None else float(expected[name]) == value, name
    for band, value in tulmera.bands(reflectance, "sentinel-2 msi").items():
        assert float(expected[f"Sentinel-2 MSI band {band}"]) == value, band


def write_measured(path, values):
    """A measured file as a spectrometer writes one: wavelength, then one column a sample."""
    with open(path, "w", encoding="ascii") as f:
        f.write("wavelength," + ",".join(f"s{k}" for k in range(len(values))) + "\n")
        for i, nm in enumerate(tulmera.wavelengths()):
            f.write(f"{int(nm)}," + ",".join(repr(float(v[i])) for v in values) + "\n")


def test_leaf_fit_equals_the_batch_runner(batch):
    leaves = tulmera.leaf(N=np.array([1.3, 2.1]), Cab=np.array([30.0, 65.0]), Cm=0.006)
    write_measured(batch.path("R.csv"), leaves.reflectance)
    write_measured(batch.path("T.csv"), leaves.transmittance)
    out = batch.run("fit-leaf", "--reflectance", "R.csv", "--transmittance", "T.csv",
                    "--fraction", "--subdomains")
    rows = [line.split(",") for line in out.splitlines()[1:]]
    fits = tulmera.fit_leaf(leaves.reflectance, leaves.transmittance, subdomains=True, threads=2)
    assert len(fits) == len(rows) == 2
    for fit, row in zip(fits, rows):
        mine = [fit.N, fit.Cab, fit.Cw, fit.Cm, fit.rmse_R, fit.rmse_T]
        assert [format(v, ".15G") for v in mine] == row[1:7]
        assert str(fit.evaluations) == row[7]


def test_table_and_canopy_fit_equal_the_batch_runner(batch):
    batch.run("lut", "--samples", 300, "--seed", 7, "--range", "LAI=0.2:6", "--range",
              "Cab=10:80", "--N", 1.5, "--Cw", 0.01, "--Cm", 0.009,
              "--sun", 30, "--hotspot", 0.1, "--lidf", "Esferico", "--out", "table.h5",
              "--quiet", "--threads", 2)
    mine = tulmera.lut(300, {"LAI": (0.2, 6), "Cab": (10, 80)}, seed=7, threads=1)
    theirs = tulmera.read_table(batch.path("table.h5"))
    assert np.array_equal(mine.parameters, theirs.parameters)
    assert np.array_equal(mine.reflectance, theirs.reflectance)
    assert theirs.ranges == {"Cab": (10.0, 80.0), "LAI": (0.2, 6.0)}

    measured = tulmera.canopy(tulmera.leaf(Cab=55), lai=2.5).reflectance
    write_measured(batch.path("measured.csv"), [measured])
    out = batch.run("fit-canopy", "--lut", "table.h5", "--reflectance", "measured.csv",
                    "--best", 5, "--fraction", "--refine")
    header, row = [line.split(",") for line in out.splitlines()]
    fit = tulmera.fit_canopy(measured, mine, best=5, refine=True)
    expected = dict(zip(header, row))
    for name in mine.names:
        assert format(fit.mean[name], ".15G") == expected[f"{name}_mean"], name
        assert format(fit.refined[name], ".15G") == expected[f"{name}_refined"], name
    assert format(fit.rmse_best, ".15G") == expected["rmse_best"]
    assert format(fit.rmse_refined, ".15G") == expected["rmse_refined"]


def test_a_table_of_another_leaf_model_reads_with_its_columns(batch):
    batch.run("lut", "--leaf-model", "prospect-pro", "--samples", 40, "--seed", 2, "--range",
              "Anth=0:30", "--range", "CBC=0.002:0.015", "--range", "LAI=0.5:5", "--out",
              "pro.csv", "--quiet", "--threads", 2)
    table = tulmera.read_table(batch.path("pro.csv"))
    assert table.leaf_model == "prospect-pro"
    assert table.names == ("N", "Cab", "Car", "Anth", "Cbrown", "Cw", "Prot", "CBC", "LAI",
                           "sun", "view", "azimuth", "hotspot")
    assert table.parameters.shape == (40, 13)
    assert not table.parameters.flags.writeable
    for at, name in enumerate(table.names):
        assert np.array_equal(table.parameters[:, at], table[name]), name
    assert set(table.ranges) == {"Anth", "CBC", "LAI"}
    assert "Cm" not in table.held
    with pytest.raises(ValueError, match="not a table parameter"):
        table["Cm"]

    measured = table.reflectance[11].astype(np.float64)
    fit = tulmera.fit_canopy(measured, table, best=1, refine=True)
    assert set(fit.mean) == set(table.names)
    assert fit.rmse_refined < 0.01
    assert fit.refined["Anth"] == pytest.approx(table["Anth"][11], abs=0.5)


def test_a_table_of_another_leaf_model_from_python_is_the_batch_runners(batch):
    held = dict(N=1.8, Cab=35, Car=9, Cbrown=0.1, Cw=0.012, Prot=0.001, sun=35, hotspot=0.1)
    options = [item for name, value in held.items() for item in ("--" + name, value)]
    batch.run("lut", "--leaf-model", "prospect-pro", "--samples", 30, "--seed", 4, "--range",
              "Anth=0:30", "--range", "CBC=0.002:0.015", "--range", "LAI=0.5:5", *options,
              "--lidf", "Esferico", "--out", "pro.h5", "--quiet")
    ranges = {"Anth": (0, 30), "CBC": (0.002, 0.015), "LAI": (0.5, 5)}
    table = tulmera.lut(30, ranges, seed=4, model="prospect-pro", lidf="spherical", soil="S1",
                        **held)
    written = tulmera.read_table(batch.path("pro.h5"))
    assert table.leaf_model == written.leaf_model == "prospect-pro"
    assert table.names == written.names
    assert np.array_equal(table.parameters, written.parameters)
    assert np.array_equal(table.reflectance, written.reflectance)
    with pytest.raises(ValueError, match="Cm is not a parameter of the prospect-pro"):
        tulmera.lut(5, model="prospect-pro", Cm=0.01)
    with pytest.raises(ValueError, match="Car must be one number"):
        tulmera.lut(5, model="prospect-d", Car=[1, 2])
