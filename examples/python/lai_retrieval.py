#!/usr/bin/env python3
"""Retrieves the LAI of the example canopies from a look-up table of simulated canopies.

The canopies were measured under the main window's start geometry (sun 0, view 0, no hot
spot, planophile leaves, soil S1), so the table holds that geometry and varies the leaf and
the LAI. Run: python3 examples/python/lai_retrieval.py
"""
import os
import tempfile

import numpy as np

import tulmera

here = os.path.dirname(os.path.abspath(__file__))
path = os.path.join(here, os.pardir, "canopy_reflectance.csv")
with open(path, encoding="utf-8") as f:
    lines = [line for line in f if not line.startswith("#")]
names = lines[0].strip().split(",")[1:]
measured = np.loadtxt(lines[1:], delimiter=",")[:, 1:].T  # one row a canopy, (3, 421)

ranges = {"N": (1, 2.5), "Cab": (5, 90), "Cw": (0.001, 0.05), "Cm": (0.002, 0.02),
          "LAI": (0.1, 8)}
geometry = dict(sun=0, view=0, azimuth=0, hotspot=0, lidf="planophile", soil="S1")
with tempfile.TemporaryDirectory() as work:
    # Written as HDF5 too, to show the file route: h5py, R and tulmera-batch read it.
    table_file = os.path.join(work, "canopies.h5")
    tulmera.lut(20000, ranges, seed=1, out=table_file, **geometry)
    table = tulmera.read_table(table_file)
    fits = tulmera.fit_canopy(measured, table, best=20, exclude_water=True, refine=True)

print(f"table: {len(table)} canopies, LAI {table['LAI'].min():.2f} .. {table['LAI'].max():.2f}")
print(f"{'canopy':8} {'LAI table':>10} {'± sd':>6} {'LAI refined':>12} {'RMSE %':>7}")
for name, fit in zip(names, fits):
    print(f"{name:8} {fit.mean['LAI']:10.2f} {fit.sd['LAI']:6.2f} {fit.refined['LAI']:12.2f} "
          f"{fit.rmse_refined:7.3f}")
