using System;
using System.Runtime.CompilerServices;
using Vestra.Native;

namespace Vestra.Tests
{
    internal static class Program
    {
        // The test host's executable is dotnet itself, and the library logs
        // beside its host's executable: in the test host the log is off.
        [ModuleInitializer]
        internal static void QuietLibraryLog() =>
            NativeMethods.VX_SetLibLog(Environment.GetEnvironmentVariable("VESTRA_CHILD") == null ? Constants.VX_LOG_OFF : Constants.VX_LOG_FILE);

        /// <summary>Vestra.Tests CASE: runs one case that needs a process of its own; its exit code tells.</summary>
        public static int Main(string[] args) =>
            args.Length == 1 && args[0] == "managed-host" ? ManagedHost.Run() : 2;
    }
}
