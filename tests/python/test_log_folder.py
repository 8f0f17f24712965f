"""Where a Python host's LibVestra.log goes: the binding chooses the folder of
the main script, or the working directory when there is no script of the
host's own; a folder the host sets itself wins. Catches the log landing
beside the interpreter (the system's folder), in a library's folder for
`python -m`, or the binding overriding the host."""
import os
import subprocess
import sys

import pytest

LOGS = "import vestra\ntry:\n    vestra.decrypt_file('missing.avi', 'out.avi', 'k')\nexcept vestra.VestraError:\n    pass\n"
HOST_CHOOSES = "import sys, vestra\nvestra.set_log_dir(sys.argv[1])\n" + LOGS

# How the host runs (its arguments, with {script} and {chosen} for those
# folders, and its standard input) and where the log must be.
CASES = {
    "script": (["{script}/host.py"], None, "script"),
    "-c": (["-c", LOGS], None, "cwd"),
    "stdin": (["-"], LOGS, "cwd"),
    "-m": (["-m", "host"], None, "cwd"),
    "script-sets-folder": (["{script}/chooser.py", "{chosen}"], None, "chosen"),
}


@pytest.mark.parametrize("how", CASES)
def test_log_goes_where_the_host_looks(tmp_path, how):
    args, stdin, expected = CASES[how]
    folders = {name: tmp_path / name for name in ("script", "cwd", "chosen")}
    for folder in folders.values():
        folder.mkdir()
    (folders["script"] / "host.py").write_text(LOGS)
    (folders["script"] / "chooser.py").write_text(HOST_CHOOSES)
    env = dict(os.environ, PYTHONPATH=os.pathsep.join([os.environ["PYTHONPATH"], str(folders["script"])]))
    argv = [a.format(**folders) for a in args]
    subprocess.run([sys.executable, *argv], cwd=folders["cwd"], env=env, input=stdin, text=True,
                   check=True)
    for name, folder in folders.items():
        log = folder / "LibVestra.log"
        if name == expected:
            assert "VX_FileDecrypt start" in log.read_text()
        else:
            assert not log.exists(), f"a log in the {name} folder"
