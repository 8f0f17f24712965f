"""Shared by the binding's tests. ctest runs each module in a process of its
own, with the virtual bus first on the library path and the module's scenario
(x.json for test_x.py) in VSIM_SCENARIO."""
import json
import os

import pytest

PASSWORD = "888888"  # the virtual recorders' default account


@pytest.fixture(scope="module")
def scenario():
    path = os.environ.get("VSIM_SCENARIO")
    if not path:
        pytest.fail("VSIM_SCENARIO is not set: run the module through ctest")
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def device_spec(scenario, name):
    return next(d for d in scenario["devices"] if d["name"] == name)
