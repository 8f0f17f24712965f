using System;
using System.Collections.Generic;
using System.Runtime.InteropServices;
using Vestra.Native;

namespace Vestra
{
    /// <summary>One zone of the library's catalogue.</summary>
    /// <param name="Region">Region index.</param>
    /// <param name="Country">Country slot.</param>
    /// <param name="City">Zone slot.</param>
    /// <param name="Name">"Region/Location", such as "Asia/Kolkata".</param>
    public sealed record TimeZone(int Region, int Country, int City, string Name);

    /// <summary>The library's time-zone catalogue; no device involved.</summary>
    public static class TimeZones
    {
        /// <summary>Every zone of the catalogue, in catalogue order.</summary>
        public static IReadOnlyList<TimeZone> All
        {
            get
            {
                var size = Marshal.SizeOf<TimeZoneRegion>();
                var block = Marshal.AllocHGlobal(Constants.VX_TZ_BLOCK_SIZE);
                try
                {
                    NativeMethods.GetAllTimeZone(block);
                    var zones = new List<TimeZone>();
                    for (var r = 0; r < Constants.VX_TZ_REGIONS; ++r)
                    {
                        var region = Marshal.PtrToStructure<TimeZoneRegion>(block + r * size);
                        var countries = region.countries ?? Array.Empty<TimeZoneCountry>();
                        for (var c = 0; c < countries.Length; ++c)
                        {
                            var cities = countries[c].cities ?? Array.Empty<TimeZoneCity>();
                            for (var z = 0; z < cities.Length; ++z)
                            {
                                var location = AnsiText.Decode(cities[z].location);
                                if (location.Length > 0)
                                    zones.Add(new TimeZone(r, c, z, $"{AnsiText.Decode(region.name)}/{location}"));
                            }
                        }
                    }
                    return zones;
                }
                finally
                {
                    Marshal.FreeHGlobal(block);
                }
            }
        }

        /// <summary>"code/Region/Location" of the catalogue's three indexes, such as "CN/Asia/Shanghai".</summary>
        /// <param name="region">Region index.</param>
        /// <param name="country">Country slot.</param>
        /// <param name="city">Zone slot.</param>
        /// <exception cref="ArgumentOutOfRangeException">An index is out of range.</exception>
        public static string Name(int region, int country, int city)
        {
            var text = new byte[Constants.VX_TZ_TEXT_MIN];
            if (NativeMethods.GetTimeZoneStr(region, country, city, text) == 0)
                throw new ArgumentOutOfRangeException(nameof(region), $"no time-zone slot ({region}, {country}, {city})");
            return AnsiText.Decode(text);
        }

        /// <summary>The indexes of a "Region/Location" name.</summary>
        /// <param name="name">The name, such as "America/Argentina/Buenos_Aires".</param>
        /// <returns>The zone, or null when the catalogue has no such name.</returns>
        public static TimeZone? Find(string name)
        {
            if (NativeMethods.GetTimeZoneIndex(name, out var region, out var country, out var city) == 0)
                return null;
            return new TimeZone(region, country, city, name);
        }
    }
}
