#!/usr/bin/env python3
"""Fits the leaf model to the example leaves' measured reflectance and transmittance.

Run from anywhere: python3 examples/python/leaf_fit.py (with PYTHONPATH=build/python when
the module is not installed).
"""
import os

import numpy as np

import tulmera

here = os.path.dirname(os.path.abspath(__file__))


def read_spectra(name):
    """A measured file on the 5 nm grid: the wavelength column, then one column a leaf."""
    with open(os.path.join(here, os.pardir, name), encoding="utf-8") as f:
        lines = [line for line in f if not line.startswith("#")]
    values = np.loadtxt(lines[1:], delimiter=",")
    assert np.array_equal(values[:, 0], tulmera.wavelengths())
    return lines[0].strip().split(",")[1:], values[:, 1:].T  # one row a leaf, (3, 421)


names, R = read_spectra("leaf_reflectance.csv")
_, T = read_spectra("leaf_transmittance.csv")
fits = tulmera.fit_leaf(R, T, subdomains=True)
print(f"{'leaf':8} {'N':>6} {'Cab':>7} {'Cw':>8} {'Cm':>8} {'RMSE R %':>9} {'RMSE T %':>9}")
for name, fit in zip(names, fits):
    print(f"{name:8} {fit.N:6.3f} {fit.Cab:7.2f} {fit.Cw:8.5f} {fit.Cm:8.5f} "
          f"{fit.rmse_R:9.3f} {fit.rmse_T:9.3f}")

# The fitted leaf's spectra, for a plot or a canopy.
leaf = tulmera.leaf(**fits[0].parameters)
print(f"\nFitted '{names[0]}' leaf at 800 nm: R = {leaf.reflectance[80]:.4f}, "
      f"T = {leaf.transmittance[80]:.4f}")
