#!/usr/bin/env python3
"""Speed of the Python module, run by hand (not a test):

    PYTHONPATH=build/python /usr/bin/python3 bench/python_module_bench.py [--count 100000]

Prints the import time of a fresh interpreter, then the rate of leaf + canopy spectra for
scalar calls and for one call on arrays of --count random canopies (the engine), with 1 and 2
threads, with and without the fluxes, and of the same arrays row by row on the exact path
(exact=True, a tenth of them). Give the figures with the machine's load (uptime).
"""
import argparse
import os
import subprocess
import sys
import time

import numpy as np

import tulmera

PEER_SPECTRA_PER_SECOND = 1333  # the published models' Python package, one leaf + canopy


def best_of(repeats, call):
    """The best wall-clock time of `repeats` calls, and the processor time (all threads) of it."""
    times = []
    for _ in range(repeats):
        start, cpu = time.perf_counter(), time.process_time()
        call()
        times.append((time.perf_counter() - start, time.process_time() - cpu))
    return min(times)


def import_seconds():
    code = ("import time; t = time.perf_counter(); import tulmera; "
            "print(time.perf_counter() - t)")
    runs = [float(subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                                 check=True, env=os.environ).stdout) for _ in range(5)]
    return min(runs)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--count", type=int, default=100000)
    parser.add_argument("--repeats", type=int, default=3)
    args = parser.parse_args()
    n = args.count
    rng = np.random.default_rng(0)
    canopies = dict(leaf=dict(N=rng.uniform(1, 2.5, n), Cab=rng.uniform(5, 90, n),
                              Cw=rng.uniform(0.001, 0.05, n), Cm=rng.uniform(0.002, 0.02, n)),
                    lai=rng.uniform(0.1, 8, n), sun=rng.uniform(0, 60, n),
                    view=rng.uniform(-40, 40, n), azimuth=rng.uniform(0, 180, n))

    print(f"load: {os.getloadavg()[0]:.1f} {os.getloadavg()[1]:.1f} {os.getloadavg()[2]:.1f}"
          f" on {os.cpu_count()} cores")
    print(f"import tulmera (fresh interpreter, numpy included): {import_seconds() * 1000:.0f} ms")
    wall, cpu = best_of(args.repeats, lambda: [tulmera.canopy(lai=2.0, fluxes=False)
                                               for _ in range(1000)])
    scalar = wall / 1000
    print(f"one scalar canopy() call, leaf + canopy: {scalar * 1e6:.0f} us wall, "
          f"{cpu / 1000 * 1e6:.0f} us processor "
          f"({1 / scalar / PEER_SPECTRA_PER_SECOND:.1f}x the peer's {PEER_SPECTRA_PER_SECOND}/s)")
    for fluxes in (False, True):
        for threads in (1, 2):
            seconds, cpu = best_of(args.repeats, lambda: tulmera.canopy(
                **canopies, fluxes=fluxes, threads=threads))
            rate = n / seconds
            print(f"{n} canopy spectra, fluxes={fluxes}, threads={threads}: {seconds:.2f} s "
                  f"wall ({rate:,.0f}/s, {rate / PEER_SPECTRA_PER_SECOND:.0f}x the peer), "
                  f"{cpu / n * 1e6:.0f} us processor a spectrum")
    tenth = max(1, n // 10)
    few = dict(leaf={k: v[:tenth] for k, v in canopies["leaf"].items()},
               **{k: v[:tenth] for k, v in canopies.items() if k != "leaf"})
    seconds, cpu = best_of(args.repeats, lambda: tulmera.canopy(**few, fluxes=False, threads=2,
                                                                exact=True))
    print(f"{tenth} canopy spectra row by row on the exact path (exact=True), threads=2: "
          f"{seconds:.2f} s wall ({tenth / seconds:,.0f}/s), "
          f"{cpu / tenth * 1e6:.0f} us processor a spectrum")
    seconds, cpu = best_of(args.repeats, lambda: tulmera.leaf(**canopies["leaf"], threads=2))
    print(f"{n} leaf spectra, threads=2: {seconds:.2f} s ({n / seconds:,.0f}/s), "
          f"{cpu / n * 1e6:.0f} us processor a spectrum")


if __name__ == "__main__":
    main()
