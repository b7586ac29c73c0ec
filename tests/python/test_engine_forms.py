"""The array forms run on the engine: close to the scalar forms, bit for bit with exact=True,
the same bits as the batch runner's table rows and on any thread count.

The engine agrees with the exact model within 1e-12; the scalar canopy also rounds the leaf
spectra to the leaf file's 15 digits, as tulmera-batch canopy does, and at the few
wavelengths where the canopy model is ill-conditioned that rounding moves the reflectance by
up to about 1e-8 relative (1.7e-11 in these cases). The fluxes, means over many
wavelengths, stay within 1e-12."""
import numpy as np
import pytest

import tulmera
from test_same_numbers import CASES

LEAVES = [leaf for leaf, _ in CASES.values()]
CANOPIES = [canopy for _, canopy in CASES.values()]
NUMBERS = {name: np.array([c[name] for c in CANOPIES], dtype=float)
           for name in ("lai", "sun", "view", "azimuth", "hotspot", "visibility")}
LEAF_COLUMNS = {name: np.array([leaf[name] for leaf in LEAVES]) for name in LEAVES[0]}
FLUXES = ("fapar", "fcover", "albedo", "albedo_par", "albedo_nir")


@pytest.mark.parametrize("sky_mix", ["classic", "physical"])
@pytest.mark.parametrize("lidf, soil", [("spherical", "S1"), ("planophile", "S2"),
                                        ("erectophile", "S3"), ("extremophile", "S4")])
def test_canopy_arrays_agree_with_scalar_calls(lidf, soil, sky_mix):
    # Every case's numbers in one call; its two visibilities go to two engine scenes and
    # must come back in row order.
    scene = dict(lidf=lidf, soil=soil, sky_mix=sky_mix)
    many = tulmera.canopy(leaf=LEAF_COLUMNS, **NUMBERS, **scene)
    exact = tulmera.canopy(leaf=LEAF_COLUMNS, **NUMBERS, **scene, exact=True)
    for row, leaf in enumerate(LEAVES):
        one = tulmera.canopy(leaf=leaf, **{k: v[row] for k, v in NUMBERS.items()}, **scene)
        np.testing.assert_allclose(many.reflectance[row], one.reflectance, rtol=1e-10,
                                   atol=1e-15)
        assert np.array_equal(exact.reflectance[row], one.reflectance)
        for flux in FLUXES:
            assert getattr(many, flux)[row] == pytest.approx(getattr(one, flux), rel=1e-12,
                                                             abs=1e-15)
            assert getattr(exact, flux)[row] == getattr(one, flux)


@pytest.mark.parametrize("model, pigments", [
    ("classic", {}),
    ("prospect-d", dict(Car=np.array([0, 8, 15, 3, 12]), Anth=np.array([0, 1, 6, 0, 2]),
                        Cbrown=np.array([0, 0.2, 0, 0.9, 0.5]))),
    ("prospect-pro", dict(Prot=np.array([0.001, 0.002, 0.0005, 0.003, 0.001]),
                          CBC=np.array([0.005, 0.01, 0.002, 0.02, 0.008]))),
])
def test_leaf_arrays_agree_with_scalar_calls(model, pigments):
    numbers = {k: v for k, v in LEAF_COLUMNS.items() if model != "prospect-pro" or k != "Cm"}
    many = tulmera.leaf(**numbers, model=model, **pigments)
    exact = tulmera.leaf(**numbers, model=model, **pigments, exact=True)
    for row in range(len(LEAVES)):
        one = tulmera.leaf(**{k: v[row] for k, v in {**numbers, **pigments}.items()},
                           model=model)
        for side in ("reflectance", "transmittance"):
            np.testing.assert_allclose(getattr(many, side)[row], getattr(one, side),
                                       rtol=1e-12, atol=1e-15)
            assert np.array_equal(getattr(exact, side)[row], getattr(one, side))


def test_canopy_arrays_are_the_batch_runners_table_rows(batch):
    batch.run("lut", "--samples", 200, "--seed", 5, "--range", "LAI=0.1:8", "--range",
              "Cab=5:90", "--range", "sun=0:70", "--range", "view=-60:60", "--range",
              "azimuth=0:360", "--lidf", "Erectofilo", "--soil",
              "S3:44% arena 39% limo 29% arcilla", "--visibility", 50, "--out", "t.h5",
              "--quiet", "--threads", 2)
    table = tulmera.read_table(batch.path("t.h5"))
    p = table.parameters
    c = tulmera.canopy(leaf=dict(N=p[:, 0], Cab=p[:, 1], Cw=p[:, 2], Cm=p[:, 3]), lai=p[:, 4],
                       sun=p[:, 5], view=p[:, 6], azimuth=p[:, 7], hotspot=p[:, 8],
                       lidf="erectophile", soil="S3", visibility=50, threads=1)
    assert np.array_equal(c.reflectance.astype(np.float32), table.reflectance)


def test_threads_and_visibility_groups_change_no_bit():
    rng = np.random.default_rng(8)
    n = 3000  # several chunks per thread and more than one block of fluxes
    arguments = dict(leaf=dict(N=rng.uniform(1, 3, n), Cab=rng.uniform(5, 90, n)),
                     lai=rng.uniform(0.1, 8, n), sun=rng.uniform(0, 70, n),
                     visibility=rng.choice([15.0, 50.0], n))
    one, two = (tulmera.canopy(**arguments, threads=t) for t in (1, 2))
    assert np.array_equal(one.reflectance, two.reflectance)
    for flux in FLUXES:
        assert np.array_equal(getattr(one, flux), getattr(two, flux)), flux
    # A row computed among rows of the other visibility is the row computed alone.
    for row in (0, 1234, n - 1):
        alone = tulmera.canopy(leaf=dict(N=arguments["leaf"]["N"][row:row + 1],
                                         Cab=arguments["leaf"]["Cab"][row]),
                               lai=arguments["lai"][row], sun=arguments["sun"][row],
                               visibility=arguments["visibility"][row])
        assert np.array_equal(alone.reflectance[0], one.reflectance[row])
        assert alone.fapar[0] == one.fapar[row]


def test_an_array_outlives_its_result_object():
    reflectance = tulmera.canopy(lai=[1.0, 2.0]).reflectance  # the Canopy object is gone
    tulmera.leaf(Cab=np.linspace(5, 90, 500))  # memory freed and taken again
    assert np.array_equal(reflectance, tulmera.canopy(lai=[1.0, 2.0]).reflectance)
    reflectance[0, 0] = 5.0  # writable, and its own
    assert tulmera.canopy(lai=[1.0, 2.0]).reflectance[0, 0] != 5.0


def test_a_failing_row_is_named_whatever_the_threads():
    # A canopy the model refuses (its reflectance above 1 at 725 nm under the physical sky
    # mix), at rows 2 and 4 of an array: the lowest is reported, on any thread count.
    bad = dict(N=2.91873271864816, Cab=20.308208063579, Cw=0.00512313812663441,
               Cm=0.0116523224387435, lai=6.63211340175657, sun=82.9116474346657,
               view=75.8289672464412, azimuth=310.710194405765, hotspot=0.915507212180299)
    good = dict(N=1.5, Cab=40, Cw=0.01, Cm=0.009, lai=3, sun=30, view=0, azimuth=0, hotspot=0.1)
    rows = [good, good, bad, good, bad, good]
    column = {k: np.array([r[k] for r in rows]) for k in bad}
    leaf = {k: column.pop(k) for k in ("N", "Cab", "Cw", "Cm")}
    for threads in (1, 2):
        with pytest.raises(ValueError) as raised:
            tulmera.canopy(leaf=leaf, **column, sky_mix="physical", threads=threads)
        assert str(raised.value).startswith("Row 2 (N=2.91873271864816, Cab=20.308208063579")
        assert "Canopy model at 725 nm: the reflectance" in str(raised.value)
    with pytest.raises(ValueError, match="^Canopy model at 725 nm"):
        tulmera.canopy(leaf={k: bad[k] for k in leaf}, **{k: bad[k] for k in column},
                       sky_mix="physical")
