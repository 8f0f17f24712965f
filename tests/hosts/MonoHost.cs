// A C# host under Mono against the virtual recorders (DllImport of
// LibVestra.so.0), with the monitor and refresh thread running and a device
// operation in a loop on a thread of its own.
//   mono MonoHost.exe work    kExceptions caught NullReferenceExceptions and
//                             forced collections; exits 0
//   mono MonoHost.exe crash   a write through a null pointer in native code
// The log and crash reports go to the working directory.
using System;
using System.Runtime.InteropServices;
using System.Text;
using System.Threading;

static class MonoHost {
    const string Lib = "LibVestra.so.0";
    [DllImport(Lib)] static extern void VX_SetLibLogDir(string dir);
    [DllImport(Lib)] static extern void VX_InitDevListPthreadEx(IntPtr callback);
    [DllImport(Lib)] static extern int VX_GetDevListSum();
    [DllImport(Lib)] static extern uint VX_InitDevList();
    [DllImport(Lib)] static extern IntPtr VX_GetDevHandleFromList(int index);
    [DllImport(Lib)] static extern uint VX_GetDevName(IntPtr dev, string pwd, byte[] name);
    [DllImport("libc.so.6")] static extern IntPtr memset(IntPtr dest, int c, UIntPtr n);

    const int kExceptions = 100000;
    static volatile bool done;
    static long namesRead;

    class Box { public int Value; }

    static void DeviceLoop() {
        for (long i = 0; !done; ++i) {
            var name = new byte[1024];
            IntPtr dev = VX_GetDevHandleFromList(0);
            if (dev != IntPtr.Zero && VX_GetDevName(dev, "888888", name) == 1)
                Interlocked.Increment(ref namesRead);
            if (i % 50 == 0) VX_InitDevList();
        }
    }

    static int Main(string[] args) {
        try {
            VX_SetLibLogDir(Environment.CurrentDirectory);
        } catch (EntryPointNotFoundException) {
            // A library from before the export: still run, to show what it does.
        }
        VX_InitDevListPthreadEx(IntPtr.Zero);
        while (VX_GetDevListSum() < 2) Thread.Sleep(10);
        var loop = new Thread(DeviceLoop);
        loop.Start();
        if (args.Length > 0 && args[0] == "crash") {
            Thread.Sleep(200);
            memset(IntPtr.Zero, 1, (UIntPtr)4);
            return 3;  // not reached
        }
        Box box = null;
        int caught = 0;
        for (int i = 0; i < kExceptions; ++i) {
            try {
                box.Value = i;  // the runtime's own SIGSEGV becomes the exception
            } catch (NullReferenceException) {
                ++caught;
            }
            if (i % 100 == 0) GC.Collect();
        }
        done = true;
        loop.Join();
        Console.WriteLine("caught {0} NullReferenceExceptions; {1} device names read", caught,
                          Interlocked.Read(ref namesRead));
        return caught == kExceptions && Interlocked.Read(ref namesRead) > 0 ? 0 : 4;
    }
}
