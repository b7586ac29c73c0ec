"""Arrays broadcast together, threads change nothing, results keep their shapes."""
import numpy as np
import pytest

import tulmera


def test_scalars_give_one_spectrum_and_floats():
    c = tulmera.canopy()
    assert c.reflectance.shape == (421,) and c.reflectance.dtype == np.float64
    assert all(isinstance(v, float) for v in (c.fapar, c.fcover, c.albedo, c.albedo_par,
                                              c.albedo_nir))
    assert tulmera.wavelengths()[[0, 80, 420]].tolist() == [400.0, 800.0, 2500.0]


@pytest.mark.parametrize("arguments, shape", [
    (dict(lai=[1, 2, 3]), (3,)),
    (dict(lai=[[1], [2]], sun=[0, 30, 60]), (2, 3)),
    (dict(leaf=dict(Cab=[10, 20, 30, 40]), lai=2), (4,)),
    (dict(leaf=dict(N=[[1.2], [2.0]]), view=[-30, 30]), (2, 2)),
    (dict(visibility=[15, 50], lai=[[1], [4], [7]]), (3, 2)),
    (dict(lai=np.empty(0)), (0,)),
])
def test_arguments_broadcast_together(arguments, shape):
    c = tulmera.canopy(**arguments)
    assert c.reflectance.shape == shape + (421,)
    assert np.shape(c.fapar) == shape and np.shape(c.fcover) == shape


def test_a_leaf_of_arrays_reaches_the_canopy_row_by_row():
    leaves = tulmera.leaf(Cab=np.array([10.0, 80.0]))
    assert leaves.reflectance.shape == (2, 421)
    assert leaves.parameters["Cab"].tolist() == [10.0, 80.0] and leaves.parameters["N"] == 1.5
    both = tulmera.canopy(leaf=leaves, lai=np.array([[1.0], [5.0]]))
    assert both.reflectance.shape == (2, 2, 421)
    single = tulmera.canopy(leaf=tulmera.leaf(Cab=80.0), lai=1.0)
    np.testing.assert_allclose(both.reflectance[0, 1], single.reflectance, rtol=1e-12)


def test_one_and_two_threads_give_the_same_bits():
    rng = np.random.default_rng(3)
    n = 200
    arguments = dict(leaf=dict(N=rng.uniform(1, 3, n), Cab=rng.uniform(5, 90, n)),
                     lai=rng.uniform(0.1, 8, n), sun=rng.uniform(0, 70, n),
                     view=rng.uniform(-60, 60, n), azimuth=rng.uniform(0, 360, n))
    one = tulmera.canopy(**arguments, threads=1)
    two = tulmera.canopy(**arguments, threads=2)
    assert np.array_equal(one.reflectance, two.reflectance)
    assert np.array_equal(one.fapar, two.fapar) and np.array_equal(one.albedo, two.albedo)
    leaves1 = tulmera.leaf(Cw=rng.uniform(0, 0.05, n), threads=1)
    assert np.array_equal(leaves1.transmittance,
                          tulmera.leaf(Cw=leaves1.parameters["Cw"], threads=2).transmittance)


def test_fluxes_are_physical_and_optional():
    c = tulmera.canopy(lai=np.array([0.1, 1, 8]), sun=np.array([0, 45, 80]))
    for values in (c.fapar, c.fcover, c.albedo, c.albedo_par, c.albedo_nir):
        assert np.all((values >= 0) & (values <= 1))
    assert np.all(np.diff(c.fcover) > 0)  # more leaves cover more ground
    without = tulmera.canopy(lai=[0.1, 1, 8], sun=[0, 45, 80], fluxes=False)
    assert without.fapar is None and without.albedo is None
    assert np.array_equal(without.reflectance, c.reflectance)


def test_english_and_spanish_names_are_the_same_choices():
    english = tulmera.canopy(lidf="erectophile", soil="s3")
    spanish = tulmera.canopy(lidf="Erectofilo", soil="S3:44% arena 39% limo 29% arcilla")
    assert np.array_equal(english.reflectance, spanish.reflectance)
    assert not np.array_equal(english.reflectance, tulmera.canopy(lidf="planophile").reflectance)


def test_leaf_models_read_their_own_pigments():
    classic = tulmera.leaf()
    with_car = tulmera.leaf(model="prospect-d", Car=10, Anth=np.array([0.0, 5.0]))
    assert with_car.model == "prospect-d" and with_car.reflectance.shape == (2, 421)
    assert set(with_car.parameters) == {"N", "Cab", "Car", "Anth", "Cbrown", "Cw", "Cm"}
    pro = tulmera.leaf(model="prospect-pro", Prot=0.001, CBC=0.005)
    assert "Cm" not in pro.parameters and pro.parameters["Prot"] == 0.001
    for leaf in (classic, with_car, pro):
        total = leaf.reflectance + leaf.transmittance
        assert np.all(leaf.reflectance >= 0) and np.all(total <= 1)
    # A PROSPECT-PRO leaf reaches the canopy with its constituents, as a Leaf or as a dict.
    c = tulmera.canopy(leaf=pro)
    assert np.array_equal(c.reflectance, tulmera.canopy(leaf=dict(pro.parameters,
                                                                   model="prospect-pro")).reflectance)


def test_bands_and_indices_of_arrays_mask_what_is_undefined():
    spectra = np.stack([tulmera.canopy().reflectance, np.zeros(421)])
    values = tulmera.indices(spectra)
    assert isinstance(values["NDVI"], np.ma.MaskedArray)
    assert values["NDVI"].mask.tolist() == [False, True]  # 0/0 for a black spectrum
    assert not np.isnan(values["NDVI"].data).any()
    assert tulmera.indices(np.zeros(421))["NDVI"] is None
    bands = tulmera.bands(spectra, "Landsat-TM")
    assert list(bands) == ["1", "2", "3", "4", "5", "7"] and bands["4"].shape == (2,)


def test_the_view_sign_and_the_sky_mix_act_as_the_canopy_run_says():
    # The model sees |view|: a negative angle gives the same spectrum, fluxes included.
    minus, plus = tulmera.canopy(view=-30), tulmera.canopy(view=30)
    assert np.array_equal(minus.reflectance, plus.reflectance) and minus.fapar == plus.fapar
    # The physical mix weights the diffuse part far less than the classic one (S / 100).
    physical = tulmera.canopy(sky_mix="physical", view=30)
    assert not np.array_equal(physical.reflectance, plus.reflectance)
    assert 0 < physical.fapar < 1 and physical.fcover == plus.fcover
