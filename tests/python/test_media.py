"""Recording decryption on an ffmpeg-made AVI encrypted by the test encryptor,
and the time-zone catalogue. Catches wrong path/key marshalling, a failure
not raised, and a mis-generated catalogue layout."""
import os
import shutil
import subprocess

import pytest

import vestra

KEY = "k3y-py"


@pytest.fixture(scope="module")
def recordings(tmp_path_factory):
    if shutil.which("ffmpeg") is None:
        pytest.skip("ffmpeg is not installed (scripts/setup.sh installs it)")
    folder = tmp_path_factory.mktemp("recordings")
    plain, encrypted = folder / "plain.avi", folder / "encrypted é.avi"
    subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=25",
                    "-t", "1", "-c:v", "libx264", "-g", "10", "-pix_fmt", "yuv420p", str(plain)], check=True)
    encryptor = os.path.join(os.environ["VESTRA_TEST_BIN"], "avi_encrypt")
    subprocess.run([encryptor, str(plain), str(encrypted), KEY], check=True, stdout=subprocess.DEVNULL)
    return plain, encrypted


def test_decrypt_file_restores_the_recording_and_raises_on_a_plain_one(recordings, tmp_path):
    plain, encrypted = recordings
    out = tmp_path / "out.avi"
    before = encrypted.read_bytes()
    vestra.decrypt_file(encrypted, out, KEY)
    assert out.read_bytes() == plain.read_bytes()
    assert encrypted.read_bytes() == before
    with pytest.raises(vestra.VestraError):
        vestra.decrypt_file(plain, tmp_path / "copy.avi", KEY)


def test_time_zone_lookups_agree():
    zones = vestra.time_zones()
    assert len(zones) == 415
    for zone in zones:
        found = vestra.time_zone_index(zone.name)
        # The first match in catalogue order wins (a zone may be listed under two countries).
        assert found <= (zone.region, zone.country, zone.city)
        assert vestra.time_zone_name(*found).endswith("/" + zone.name)
    assert vestra.time_zone_name(*vestra.time_zone_index("Asia/Kolkata")) == "IN/Asia/Kolkata"
    with pytest.raises(KeyError):
        vestra.time_zone_index("Nowhere/Atlantis")
    with pytest.raises(IndexError):
        vestra.time_zone_name(99, 0, 0)
