#!/usr/bin/env python3
"""NDVI and fAPAR against LAI: NDVI saturates in dense canopies sooner than fAPAR does.

Draws the two curves with matplotlib when it is installed (ndvi_fapar_lai.png in the current
directory), and prints them as a table in any case. Run: python3 examples/python/ndvi_fapar_lai.py
"""
import numpy as np

import tulmera

lai = np.linspace(0.1, 8, 80)
canopies = tulmera.canopy(leaf=tulmera.leaf(Cab=45), lai=lai, sun=30)  # one call, 80 canopies
ndvi = tulmera.indices(canopies.reflectance)["NDVI"]
fapar = canopies.fapar

for k in range(0, len(lai), 10):
    print(f"LAI {lai[k]:4.1f}: NDVI {ndvi[k]:.3f}, fAPAR {fapar[k]:.3f}, fCover "
          f"{canopies.fcover[k]:.3f}")

try:
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
except ImportError:
    print("matplotlib is not installed: no plot drawn (Debian: python3-matplotlib).")
else:
    fig, ax = plt.subplots(figsize=(6, 4))
    ax.plot(lai, ndvi, label="NDVI")
    ax.plot(lai, fapar, label="fAPAR")
    ax.plot(lai, canopies.fcover, label="fCover", linestyle="--")
    ax.set_xlabel("leaf area index")
    ax.set_ylim(0, 1)
    ax.legend()
    fig.tight_layout()
    fig.savefig("ndvi_fapar_lai.png", dpi=120)
    print("Drew ndvi_fapar_lai.png")
