# Type hints of the module tulmera (a compiled extension); the docstrings are in the module.
import os
from typing import Any, Mapping, Optional, Sequence, Union

import numpy as np
import numpy.typing as npt

ArrayLike = npt.ArrayLike
FloatOrArray = Union[float, npt.NDArray[np.float64]]
PathLike = Union[str, os.PathLike]

__version__: str
sensors: tuple[str, ...]

def wavelengths() -> npt.NDArray[np.float64]: ...

class Leaf:
    @property
    def reflectance(self) -> npt.NDArray[np.float64]: ...
    @property
    def transmittance(self) -> npt.NDArray[np.float64]: ...
    @property
    def model(self) -> str: ...
    @property
    def parameters(self) -> dict[str, FloatOrArray]: ...

def leaf(
    N: ArrayLike = 1.5,
    Cab: ArrayLike = 40,
    Cw: ArrayLike = 0.01,
    Cm: Optional[ArrayLike] = None,  # 0.009, except for "prospect-pro"
    model: str = "classic",
    *,
    threads: Optional[int] = None,
    exact: bool = False,  # arrays row by row on the exact path (else on the engine)
    **pigments: ArrayLike,  # Car, Anth, Cbrown, Prot, CBC
) -> Leaf: ...

class Canopy:
    @property
    def reflectance(self) -> npt.NDArray[np.float64]: ...
    @property
    def fapar(self) -> Optional[FloatOrArray]: ...
    @property
    def fcover(self) -> Optional[FloatOrArray]: ...
    @property
    def albedo(self) -> Optional[FloatOrArray]: ...
    @property
    def albedo_par(self) -> Optional[FloatOrArray]: ...
    @property
    def albedo_nir(self) -> Optional[FloatOrArray]: ...

def canopy(
    leaf: Union[Leaf, Mapping[str, Any], None] = None,
    lai: ArrayLike = 3,
    sun: ArrayLike = 30,
    view: ArrayLike = 0,
    azimuth: ArrayLike = 0,
    hotspot: ArrayLike = 0.1,
    lidf: str = "spherical",
    soil: str = "S1",
    visibility: ArrayLike = 15,
    sky_mix: str = "classic",
    *,
    fluxes: bool = True,
    threads: Optional[int] = None,
    exact: bool = False,  # arrays row by row on the exact path (else on the engine)
) -> Canopy: ...

class Table:
    @property
    def parameters(self) -> npt.NDArray[np.float64]: ...
    @property
    def reflectance(self) -> npt.NDArray[np.float32]: ...
    @property
    def names(self) -> tuple[str, ...]: ...
    @property
    def leaf_model(self) -> str: ...
    def __getitem__(self, name: str) -> npt.NDArray[np.float64]: ...
    def __len__(self) -> int: ...
    @property
    def first_row(self) -> int: ...
    @property
    def samples(self) -> int: ...
    @property
    def seed(self) -> int: ...
    @property
    def sampling(self) -> str: ...
    @property
    def ranges(self) -> dict[str, tuple[float, float]]: ...
    @property
    def held(self) -> dict[str, float]: ...
    @property
    def lidf(self) -> str: ...
    @property
    def soil(self) -> str: ...
    @property
    def visibility(self) -> int: ...

def lut(
    samples: int,
    ranges: Optional[Mapping[str, tuple[float, float]]] = None,
    *,
    seed: int = 0,
    sampling: str = "lhs",
    out: Optional[PathLike] = None,
    threads: Optional[int] = None,
    N: float = 1.5,
    Cab: float = 40,
    Cw: float = 0.01,
    Cm: Optional[float] = None,
    lai: float = 3,
    sun: float = 30,
    view: float = 0,
    azimuth: float = 0,
    hotspot: float = 0.1,
    lidf: str = "spherical",
    soil: str = "S1",
    visibility: float = 15,
    model: str = "classic",
    **pigments: float,
) -> Table: ...
def read_table(path: PathLike) -> Table: ...

class LeafFit:
    N: float
    Cab: float
    Cw: float
    Cm: float
    rmse_R: Optional[float]
    rmse_T: Optional[float]
    evaluations: int
    @property
    def parameters(self) -> dict[str, float]: ...

def fit_leaf(
    R: Optional[ArrayLike] = None,
    T: Optional[ArrayLike] = None,
    *,
    subdomains: bool = False,
    threads: Optional[int] = None,
) -> Union[LeafFit, list[LeafFit]]: ...

class CanopyFit:
    mean: dict[str, float]
    sd: dict[str, Optional[float]]
    rmse_best: float
    best_rows: list[int]
    best_rmse: list[float]
    refined: Optional[dict[str, float]]
    rmse_refined: Optional[float]
    wavelengths_compared: int

def fit_canopy(
    reflectance: ArrayLike,
    table: Union[Table, PathLike],
    *,
    best: int = 20,
    exclude_water: bool = False,
    refine: bool = False,
    threads: Optional[int] = None,
) -> Union[CanopyFit, list[CanopyFit]]: ...
def bands(spectrum: ArrayLike, sensor: str) -> dict[str, Any]: ...
def indices(spectrum: ArrayLike, sensor: Optional[str] = None) -> dict[str, Any]: ...

class Sensitivity:
    @property
    def quantities(self) -> tuple[str, ...]: ...
    @property
    def parameters(self) -> tuple[str, ...]: ...
    # Each (len(quantities), len(parameters)), masked for a quantity without indices.
    @property
    def S1(self) -> np.ma.MaskedArray: ...
    @property
    def S1_low(self) -> np.ma.MaskedArray: ...
    @property
    def S1_high(self) -> np.ma.MaskedArray: ...
    @property
    def ST(self) -> np.ma.MaskedArray: ...
    @property
    def ST_low(self) -> np.ma.MaskedArray: ...
    @property
    def ST_high(self) -> np.ma.MaskedArray: ...
    @property
    def settings(self) -> str: ...

def gsa(
    ranges: Mapping[str, tuple[float, float]],
    samples: int = 1024,  # a power of two
    *,
    seed: int = 0,
    quantity: Union[str, Sequence[str]] = "spectrum",  # "indices", "fluxes", a sensor
    bootstrap: int = 200,
    threads: Optional[int] = None,
    N: float = 1.5,
    Cab: float = 40,
    Cw: float = 0.01,
    Cm: float = 0.009,
    lai: float = 3,
    sun: float = 30,
    view: float = 0,
    azimuth: float = 0,
    hotspot: float = 0.1,
    lidf: str = "spherical",
    soil: str = "S1",
    visibility: float = 15,
    sky_mix: str = "classic",
) -> Sensitivity: ...
