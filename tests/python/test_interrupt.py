"""Ctrl-C stops a long call: KeyboardInterrupt while it computes, and the module works after.

The call runs in a child interpreter. SIGINT is sent once the call's worker threads exist
(the child's thread count rises), and the child's handler records the thread count when it
runs: above the count before the call means the call heard Ctrl-C while it was computing,
not after it had ended."""
import os
import signal
import subprocess
import sys
import time

import pytest

CHILD = r"""
import os, signal, sys
import numpy as np
import tulmera

def threads():
    return len(os.listdir("/proc/self/task"))

seen = []
def on_interrupt(signum, frame):
    seen.append(threads())
    raise KeyboardInterrupt

signal.signal(signal.SIGINT, on_interrupt)
calls = {
    "canopy": lambda: tulmera.canopy(lai=np.linspace(0.1, 8, 200000), threads=2),
    "leaf": lambda: tulmera.leaf(Cab=np.linspace(5, 90, 400000), threads=1),
    "lut": lambda: tulmera.lut(200000, {"LAI": (0.1, 8), "Cab": (5, 90)}, threads=1),
    "gsa": lambda: tulmera.gsa({"LAI": (0.1, 8), "Cab": (5, 90)}, 1 << 18,
                               quantity="fluxes", threads=2),
}
before = threads()
print("ready", before, flush=True)
try:
    calls[sys.argv[1]]()
    print("finished", flush=True)
except KeyboardInterrupt:
    print("interrupted", seen[0] > before, flush=True)
print("after", tulmera.canopy(lai=[1, 2]).reflectance.shape == (2, 421), flush=True)
"""


def thread_count(pid):
    try:
        return len(os.listdir(f"/proc/{pid}/task"))
    except FileNotFoundError:
        return 0


@pytest.mark.skipif(not os.path.isdir("/proc/self/task"), reason="needs /proc")
@pytest.mark.parametrize("call", ["canopy", "leaf", "lut", "gsa"])
def test_ctrl_c_stops_a_long_call(call):
    env = dict(os.environ, OPENBLAS_NUM_THREADS="1", OMP_NUM_THREADS="1")
    child = subprocess.Popen([sys.executable, "-c", CHILD, call], stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, text=True, env=env)
    try:
        ready, before = child.stdout.readline().split()
        assert ready == "ready"
        while thread_count(child.pid) <= int(before) and child.poll() is None:
            time.sleep(0.001)  # polling for the call's threads; no time is asserted
        child.send_signal(signal.SIGINT)
        out, err = child.communicate(timeout=120)  # a guard against a hang only
    finally:
        if child.poll() is None:
            child.kill()
            child.communicate()
    assert out.split("\n")[:2] == ["interrupted True", "after True"], err
