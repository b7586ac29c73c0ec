"""What the module's tests share: the batch runner, run in a directory of its own."""
import os
import subprocess

import pytest

SOILS = {
    "S1": "S1:61% arena 24% limo 15% arcilla",
    "S2": "S2:32% arena 39% limo 29% arcilla",
    "S3": "S3:44% arena 39% limo 29% arcilla",
    "S4": "S4:61% arena 26% limo 13% arcilla",
}
LIDFS = {
    "planophile": "Planofilo",
    "erectophile": "Erectofilo",
    "plagiophile": "Plagiofilo",
    "extremophile": "Extremofilo",
    "spherical": "Esferico",
}


class Batch:
    """tulmera-batch (TULMERA_BATCH), run in `directory`."""

    def __init__(self, program, directory):
        self.program = program
        self.directory = directory

    def run(self, *arguments):
        """Runs one command line; returns its standard output, failing the test on exit != 0."""
        done = subprocess.run(
            [self.program, *[str(a) for a in arguments]],
            cwd=self.directory,
            capture_output=True,
            text=True,
        )
        assert done.returncode == 0, f"tulmera-batch {arguments}: {done.stderr}"
        return done.stdout

    def path(self, name):
        return os.path.join(self.directory, name)


@pytest.fixture
def batch(tmp_path):
    program = os.environ.get("TULMERA_BATCH")
    if not program:
        pytest.skip("TULMERA_BATCH names no batch runner")
    return Batch(program, str(tmp_path))


def read_csv_columns(path):
    """The columns of a CSV file with '#' comment lines and one header line, as text."""
    with open(path, encoding="utf-8") as f:
        lines = [line.rstrip("\n") for line in f if not line.startswith("#")]
    header = lines[0].split(",")
    rows = [line.split(",") for line in lines[1:]]
    return {name: [row[k] for row in rows] for k, name in enumerate(header)}


def canopy_arguments(leaf, canopy):
    """tulmera-batch canopy's options for leaf() and canopy() keyword arguments."""
    arguments = []
    for name in ("N", "Cab", "Cw", "Cm"):
        arguments += [f"--{name}", repr(float(leaf[name]))]
    for option, key in (("lai", "lai"), ("sun", "sun"), ("view", "view"),
                        ("azimuth", "azimuth"), ("hotspot", "hotspot")):
        arguments += [f"--{option}", repr(float(canopy[key]))]
    arguments += ["--lidf", LIDFS[canopy["lidf"]], "--soil", SOILS[canopy["soil"]],
                  "--visibility", str(canopy["visibility"])]
    return arguments
