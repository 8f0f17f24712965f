// A managed host with the library's monitor and refresh threads running: the
// runtime turns null references into NullReferenceExceptions through SIGSEGV,
// so the library's crash collector must hand such faults back to the
// runtime's own handler. Catches a collector that takes them as crashes (the
// process dies, a dump is written) or that breaks the runtime's handling
// under collections. The host is this assembly's own program, run as a
// child: its executable (and so its dump folder) is in the build folder.
using System;
using System.Diagnostics;
using System.IO;
using System.Threading.Tasks;
using System.Runtime.CompilerServices;
using Xunit;

namespace Vestra.Tests
{
    internal static class ManagedHost
    {
        public const int Faults = 100_000;

        private sealed class Box
        {
            public int Value = 1;
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static int Read(Box? box) => box!.Value;

        public static int Run()
        {
            DeviceList.Start();
            DeviceList.Update();
            var caught = 0;
            for (var i = 0; i < Faults; ++i)
            {
                try
                {
                    Read(null);
                }
                catch (NullReferenceException)
                {
                    ++caught;
                }
                if (i % 10_000 == 0)
                {
                    GC.Collect();
                    GC.WaitForPendingFinalizers();
                }
            }
            Console.WriteLine($"caught {caught} of {Faults}; listed {DeviceList.Devices.Count}");
            return caught == Faults ? 0 : 1;
        }
    }

    public class ManagedHostTests
    {
        private static string[] Dumps(string folder) => Directory.GetFiles(folder, "*Crash-*.dmp");

        [Fact]
        public async Task CaughtNullReferencesWithTheMonitorRunningLeaveNoDump()
        {
            var folder = AppContext.BaseDirectory;
            var before = Dumps(folder);
            var start = new ProcessStartInfo(Path.Combine(folder, "Vestra.Tests"), "managed-host")
            {
                RedirectStandardOutput = true,
                RedirectStandardError = true,
                UseShellExecute = false,
            };
            start.Environment["VESTRA_CHILD"] = "1";
            using var child = Process.Start(start)!;
            var output = child.StandardOutput.ReadToEndAsync();
            var errors = await child.StandardError.ReadToEndAsync();
            await child.WaitForExitAsync();
            Assert.True(child.ExitCode == 0, $"exit {child.ExitCode}: {await output} {errors}");
            Assert.Equal($"caught {ManagedHost.Faults} of {ManagedHost.Faults}; listed 0", (await output).Trim());
            Assert.Equal(before, Dumps(folder));
        }
    }
}
