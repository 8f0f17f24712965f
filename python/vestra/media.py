"""Recording decryption and the time-zone catalogue (no device involved)."""
import ctypes
import os
from collections import namedtuple

from . import _capi
from ._library import VestraError, decode, encode, lib

TimeZone = namedtuple("TimeZone", "region country city name")


def decrypt_file(in_path, out_path, key):
    """Writes the decrypted copy of the encrypted AVI recording in_path to
    out_path. Raises VestraError when no frame could be decrypted (an input
    that is not encrypted leaves a plain copy; see the library's log)."""
    if not lib.VX_FileDecrypt(os.fsencode(in_path), os.fsencode(out_path), encode(key)):
        raise VestraError(_capi.VX_STATUS_FAILED, f"no frame of {os.fspath(in_path)} was decrypted",
                          operation="decrypt_file")


def decrypt_frame(frame, key):
    """One encrypted key frame (the chunk data, without its header), decrypted."""
    frame = bytes(frame)
    out = ctypes.create_string_buffer(len(frame))
    if not lib.VX_FrameDecrypt(frame, len(frame), ctypes.cast(out, ctypes.POINTER(ctypes.c_uint8)),
                               encode(key)):
        raise VestraError(_capi.VX_STATUS_FAILED, "not an encrypted key frame", operation="decrypt_frame")
    return out.raw


def time_zone_name(region, country, city):
    """"code/Region/Location" for the catalogue's three indexes."""
    out = ctypes.create_string_buffer(_capi.VX_TZ_TEXT_MIN)
    if not lib.GetTimeZoneStr(region, country, city, out):
        raise IndexError(f"no time-zone slot ({region}, {country}, {city})")
    return decode(out.raw)


def time_zone_index(name):
    """The (region, country, city) indexes of a "Region/Location" name."""
    r, c, z = ctypes.c_int32(), ctypes.c_int32(), ctypes.c_int32()
    if not lib.GetTimeZoneIndex(encode(name), r, c, z):
        raise KeyError(name)
    return r.value, c.value, z.value


def time_zones():
    """Every time zone of the catalogue, in catalogue order."""
    block = (_capi.TimeZoneRegion * _capi.VX_TZ_REGIONS)()
    lib.GetAllTimeZone(block)
    zones = []
    for r, region in enumerate(block):
        for c, country in enumerate(region.countries):
            for z, city in enumerate(country.cities):
                if city.location:
                    zones.append(TimeZone(r, c, z, f"{decode(region.name)}/{decode(city.location)}"))
    return zones
